#pragma once
// Test reference only, never used by the plug-in: the whitespace commands'
// replacement done the slow, obvious way. While the pattern occurs, replace
// every occurrence, left to right without overlaps, and look again. A run of n
// spaces before a line break takes n passes, so this is quadratic.
#include <string>
#include <string_view>

namespace quill::commands::reference {

inline std::u16string ReplaceUntilAbsent(std::u16string text, std::u16string_view pattern,
                                         std::u16string_view replacement) {
    while (text.find(pattern) != std::u16string::npos) {
        std::u16string next;
        size_t from = 0;
        for (size_t at = text.find(pattern); at != std::u16string::npos; at = text.find(pattern, from)) {
            next.append(text, from, at - from);
            next.append(replacement);
            from = at + pattern.size();
        }
        next.append(text, from);
        text = std::move(next);
    }
    return text;
}

inline std::u16string TrimTrailingSpaces(std::u16string_view text) {
    return ReplaceUntilAbsent(std::u16string(text), u" \r\n", u"\r\n");
}

inline std::u16string ExpandTabs(std::u16string_view text, int width) {
    return ReplaceUntilAbsent(std::u16string(text), u"\t", std::u16string(width > 0 ? width : 0, u' '));
}

inline std::u16string SqueezeBlankLines(std::u16string_view text) {
    return ReplaceUntilAbsent(std::u16string(text), u"\r\n\r\n", u"\r\n");
}

}  // namespace quill::commands::reference
