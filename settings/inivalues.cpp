#include "settings/inivalues.h"

#include "base/numbers.h"

namespace quill {

int32_t IniInteger(std::u16string_view text, int32_t def) noexcept { return ParseInt32(text).value_or(def); }

bool IniBool(std::u16string_view text, bool def) noexcept {
    const auto value = ParseInt32(text);
    return value ? *value != 0 : def;
}

std::u16string IniIntegerText(int32_t value) {
    const std::string s = std::to_string(value);
    return std::u16string(s.begin(), s.end());
}

std::u16string IniBoolText(bool value) { return value ? u"1" : u"0"; }

}  // namespace quill
