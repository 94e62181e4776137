#pragma once
// Readable test fixtures for the text transforms: · a space, → a tab, ¶ CR LF,
// ␍ a lone CR, ␊ a lone LF; and texts shown in failure messages.
#include <cstdio>
#include <string>
#include <string_view>

namespace quill::commands::fixtures {

inline std::u16string T(std::u16string_view s) {
    std::u16string out;
    for (char16_t c : s) {
        switch (c) {
            case u'·': out += u' '; break;
            case u'→': out += u'\t'; break;
            case u'¶': out += u"\r\n"; break;
            case u'␍': out += u'\r'; break;
            case u'␊': out += u'\n'; break;
            default: out += c;
        }
    }
    return out;
}

// Printable ASCII as it is, everything else escaped.
inline std::string Show(std::u16string_view s) {
    std::string out;
    for (char16_t c : s) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
            out += buffer;
        }
    }
    return out;
}

}  // namespace quill::commands::fixtures
