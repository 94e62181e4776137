#include "ui/variant.h"

#include "base/numbers.h"

namespace quill {

namespace {

bool SameLetters(std::u16string_view text, std::u16string_view lower) {
    if (text.size() != lower.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != lower[i]) return false;
    }
    return true;
}

[[noreturn]] void CannotConvert(const std::u16string& text, std::u16string_view into) {
    throw VariantError(u"Could not convert the text \"" + text + u"\" into " + std::u16string(into));
}

}  // namespace

bool Variant::AsBoolean() const {
    if (const bool* b = std::get_if<bool>(&value_)) return *b;
    if (const int32_t* n = std::get_if<int32_t>(&value_)) return *n != 0;
    const std::u16string& text = std::get<std::u16string>(value_);
    if (SameLetters(text, u"true")) return true;
    if (SameLetters(text, u"false")) return false;
    if (auto n = ParseInt32(text)) return *n != 0;
    CannotConvert(text, u"a Boolean");
}

int32_t Variant::AsInteger() const {
    if (const bool* b = std::get_if<bool>(&value_)) return *b ? -1 : 0;
    if (const int32_t* n = std::get_if<int32_t>(&value_)) return *n;
    const std::u16string& text = std::get<std::u16string>(value_);
    if (auto n = ParseInt32(text)) return *n;
    CannotConvert(text, u"an integer");
}

std::u16string Variant::AsText() const {
    if (const bool* b = std::get_if<bool>(&value_)) return *b ? u"True" : u"False";
    if (const int32_t* n = std::get_if<int32_t>(&value_)) {
        const std::string digits = std::to_string(*n);
        return std::u16string(digits.begin(), digits.end());
    }
    return std::get<std::u16string>(value_);
}

}  // namespace quill
