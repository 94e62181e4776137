#pragma once
// How the settings file's values read and write as text: integers in decimal
// (or hexadecimal after "0x" or "$"), booleans as the integers 1 and 0.
#include <cstdint>
#include <string>
#include <string_view>

namespace quill {

// The value as a 32-bit integer, or def when it is none (empty, "12abc", "true").
int32_t IniInteger(std::u16string_view text, int32_t def) noexcept;
// Any integer but 0 is true, 0 is false; text that is no integer gives def.
bool IniBool(std::u16string_view text, bool def) noexcept;

std::u16string IniIntegerText(int32_t value);  // "-5"
std::u16string IniBoolText(bool value);        // "1" or "0"

}  // namespace quill
