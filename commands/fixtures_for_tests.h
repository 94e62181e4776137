#pragma once
// Readable test fixtures for the text transforms: · a space, → a tab, ¶ CR LF,
// ␍ a lone CR, ␊ a lone LF; and texts shown in failure messages.
#include <cstdio>
#include <random>
#include <span>
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

// A random text of up to maxPieces pieces, each drawn from pieces.
inline std::u16string RandomPieces(std::mt19937& rng, std::span<const std::u16string_view> pieces, size_t maxPieces) {
    std::uniform_int_distribution<size_t> count(0, maxPieces), piece(0, pieces.size() - 1);
    std::u16string text;
    for (size_t n = count(rng); n > 0; --n) text += pieces[piece(rng)];
    return text;
}

}  // namespace quill::commands::fixtures
