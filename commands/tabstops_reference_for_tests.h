#pragma once
// Test reference only, never used by the plug-in: tabs to tab stops written
// plainly, one character at a time, with the column counted as the editor
// shows it.
#include <string>
#include <string_view>
#include <vector>

#include "commands/reference_for_tests.h"

namespace quill::commands::reference {

// A width of 0 or less: the tabs go, as in ExpandTabs (and, keeping literals,
// as in ExpandTabsKeepingLiterals on the whole text).
inline std::u16string ExpandTabsToStops(std::u16string_view text, int width, bool keepLiterals = false) {
    if (width <= 0) return keepLiterals ? ExpandTabsKeepingLiterals(text, width, {}, 0) : ExpandTabs(text, width);
    std::vector<bool> inLiteral(text.size(), false);
    if (keepLiterals)
        for (const ProtectedSpan& s : ProtectedSpans(text))
            for (size_t i = s.begin; i < s.end; ++i) inLiteral[i] = true;
    std::u16string out;
    long long column = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const char16_t before = i > 0 ? text[i - 1] : u'\0';
        if (c == u'\t') {
            const long long next = (column / width + 1) * width;
            if (inLiteral[i])
                out += u'\t';
            else
                out.append(static_cast<size_t>(next - column), u' ');
            column = next;
        } else if (c == u'\n' && before == u'\r') {
            out += c;
            column = 0;  // a new line
        } else if (c >= 0xDC00 && c <= 0xDFFF && before >= 0xD800 && before <= 0xDBFF) {
            out += c;  // the second half of a pair: the first took the column
        } else {
            out += c;
            ++column;
        }
    }
    return out;
}

}  // namespace quill::commands::reference
