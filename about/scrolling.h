#pragma once
// The arithmetic of the About window's rising text: how high the text box is
// for a number of lines, and where the scroll position goes on each tick.
#include <cstdint>

#include "ui/scrolling.h"

namespace quill {

// N x ((N div 50) x 2 + 14) pixels at 96 dpi: 16 per line for 50 to 99 lines.
// Saturates at the largest int instead of overflowing.
int TextBoxHeight(int64_t lineCount) noexcept;

// One tick: one pixel further (clamped as above), and back to 0 once the
// position reaches range minus the scroll box's outer height.
int NextScrollPosition(int position, int range, int clientHeight, int outerHeight) noexcept;

}  // namespace quill
