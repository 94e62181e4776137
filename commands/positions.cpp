#include "commands/positions.h"

namespace quill::commands {
namespace {

bool IsHigh(char16_t c) noexcept { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) noexcept { return c >= 0xDC00 && c <= 0xDFFF; }

size_t CountLineBreaks(std::u16string_view text) noexcept {
    size_t n = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == u'\r' && text[i + 1] == u'\n') ++n, ++i;
    return n;
}

bool UnitCountingFits(std::u16string_view window, int64_t end) noexcept {
    const auto length = static_cast<int64_t>(window.size());
    // One more than the length only where no CR LF makes the two countings differ.
    return end == length || (end == length + 1 && CountLineBreaks(window) == 0);
}

bool LineBreakCountingFits(std::u16string_view window, int64_t end) noexcept {
    const auto positions = static_cast<int64_t>(window.size() - CountLineBreaks(window));
    return end == positions || end == positions + 1;
}

}  // namespace

bool SelectsAll(std::u16string_view window, int64_t end) noexcept {
    if (!window.empty() && end <= 0) return false;
    return UnitCountingFits(window, end) || LineBreakCountingFits(window, end);
}

bool IsSurrogatePairAt(std::u16string_view text, size_t at) noexcept {
    return at + 1 < text.size() && IsHigh(text[at]) && IsLow(text[at + 1]);
}

bool ToWholeCharacters(std::u16string_view text, size_t& start, size_t& end) noexcept {
    bool moved = false;
    if (start > 0 && start < text.size() && IsLow(text[start]) && IsHigh(text[start - 1])) --start, moved = true;
    if (end > 0 && end < text.size() && IsHigh(text[end - 1]) && IsLow(text[end])) ++end, moved = true;
    return moved;
}

}  // namespace quill::commands
