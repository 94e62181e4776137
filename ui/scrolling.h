#pragma once
// The arithmetic of a scroll box: where a scroll position may go.
#include <cstdint>

namespace quill {

// A scroll position kept between 0 and range minus the client height.
int ClampScrollPosition(int64_t position, int range, int clientHeight) noexcept;

}  // namespace quill
