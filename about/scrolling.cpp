#include "about/scrolling.h"

#include <algorithm>
#include <limits>

namespace quill {

int TextBoxHeight(int64_t lineCount) noexcept {
    if (lineCount <= 0) return 0;
    constexpr int64_t kMax = std::numeric_limits<int>::max();
    const int64_t perLine = (lineCount / 50) * 2 + 14;
    if (lineCount > kMax / perLine) return static_cast<int>(kMax);
    return static_cast<int>(lineCount * perLine);
}

int NextScrollPosition(int position, int range, int clientHeight, int outerHeight) noexcept {
    const int next = ClampScrollPosition(static_cast<int64_t>(position) + 1, range, clientHeight);
    return next >= static_cast<int64_t>(range) - outerHeight ? 0 : next;
}

}  // namespace quill
