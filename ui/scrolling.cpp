#include "ui/scrolling.h"

#include <algorithm>

namespace quill {

int ClampScrollPosition(int64_t position, int range, int clientHeight) noexcept {
    const int64_t top = static_cast<int64_t>(range) - clientHeight;
    return static_cast<int>(std::max<int64_t>(0, std::min(position, top)));
}

}  // namespace quill
