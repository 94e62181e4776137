#include "base/numbers.h"

#include "base/error.h"

namespace quill {

std::optional<int32_t> ParseInt32(std::u16string_view text) noexcept {
    size_t i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    unsigned base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i < text.size() && (text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return std::nullopt;
    const uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        unsigned digit;
        if (c >= u'0' && c <= u'9') digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
        else return std::nullopt;
        value = value * base + digit;
        if (value > limit) return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value));
}

std::u16string InvalidIntegerText(std::u16string_view text) {
    return u"'" + std::u16string(text) + u"' is not a valid integer value";
}

int32_t StrToInt(std::u16string_view text) {
    if (auto value = ParseInt32(text)) return *value;
    throw Error(InvalidIntegerText(text));
}

}  // namespace quill
