// Fuzzes the settings file's values: any text reads without a crash, booleans
// read as integers do, and every integer reads back from the text written for
// it and from the other ways of writing it (spaces, sign, leading zeros,
// hexadecimal), while what lies outside the 32-bit range gives the default.
// The first eight input bytes give a value and a default, the next two how the
// value is written; all bytes are also read as text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

#include "settings/inivalues.h"

namespace {

using quill::IniBool;
using quill::IniBoolText;
using quill::IniInteger;
using quill::IniIntegerText;

std::u16string Decimal(uint64_t magnitude) {
    std::u16string s;
    do {
        s.insert(s.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude);
    return s;
}

std::u16string Hex(uint64_t magnitude, bool upper) {
    std::u16string s;
    do {
        const auto d = static_cast<unsigned>(magnitude & 15);
        s.insert(s.begin(), static_cast<char16_t>(d < 10 ? u'0' + d : (upper ? u'A' : u'a') + d - 10));
        magnitude >>= 4;
    } while (magnitude);
    return s;
}

// A value written some other way than IniIntegerText does: leading spaces, an
// explicit sign, leading zeros, decimal or hexadecimal with any of its prefixes.
std::u16string Written(bool negative, uint64_t magnitude, unsigned form) {
    static constexpr std::u16string_view kPrefixes[] = {u"0x", u"0X", u"x", u"X", u"$"};
    std::u16string s(form & 3, u' ');
    if (negative) s += u'-';
    else if (form & 4) s += u'+';
    const bool hex = form & 8;
    if (hex) s += kPrefixes[(form >> 4) % 5];
    s.append((form >> 7) & 3, u'0');
    s += hex ? Hex(magnitude, form & 0x200) : Decimal(magnitude);
    return s;
}

// The text written for a value: plain decimal, nothing more, and it reads back.
void CheckWritten(int32_t value, int32_t def, unsigned form) {
    const std::u16string text = IniIntegerText(value);
    const bool negative = value < 0;
    const auto magnitude = static_cast<uint64_t>(negative ? -int64_t{value} : int64_t{value});
    if (text != (negative ? u"-" : u"") + Decimal(magnitude)) std::abort();
    if (IniInteger(text, def) != value) std::abort();
    if (IniBool(text, value == 0) != (value != 0)) std::abort();

    const std::u16string other = Written(negative, magnitude, form);
    if (IniInteger(other, def) != value) std::abort();
    // Nothing may follow the digits, not even a space.
    static constexpr char16_t kTrailing[] = {u' ', u'g', u'.', u'\0', u'\u0661'};
    const std::u16string bad = other + kTrailing[(form >> 10) % std::size(kTrailing)];
    if (IniInteger(bad, def) != def) std::abort();
    if (IniInteger(text + u'a', def) != def) std::abort();  // 'a' is no decimal digit
}

// Just past either end of the 32-bit range, and anywhere beyond: the default.
void CheckOutOfRange(uint64_t raw, int32_t def, unsigned form) {
    const uint64_t above = uint64_t{INT32_MAX} + 1 + (raw & 0xFFFF);
    const uint64_t below = uint64_t{0x80000000} + 1 + (raw & 0xFFFF);  // as a magnitude
    const uint64_t far = raw >> (form & 31);
    for (const uint64_t m : {above, far}) {
        if (m <= uint64_t{INT32_MAX}) continue;
        if (IniInteger(Written(false, m, form), def) != def) std::abort();
        if (IniBool(Written(false, m, form), true) != true || IniBool(Written(false, m, form), false)) std::abort();
    }
    for (const uint64_t m : {below, far}) {
        if (m <= uint64_t{0x80000000}) continue;
        if (IniInteger(Written(true, m, form), def) != def) std::abort();
    }
}

// Any text: IniInteger gives either the text's integer or the default passed,
// IniBool is that integer's being non-zero, and leading spaces never matter.
void CheckText(const std::u16string& text, int32_t def) {
    const int32_t a = IniInteger(text, 0), b = IniInteger(text, 1);
    const bool isInteger = a == b;  // no integer gives each default back
    if (IniInteger(text, def) != (isInteger ? a : def)) std::abort();
    for (const bool d : {false, true})
        if (IniBool(text, d) != (isInteger ? a != 0 : d)) std::abort();
    if (IniInteger(u" " + text, def) != IniInteger(text, def)) std::abort();
    // Rewritten the way the plug-in writes it, the value stays.
    if (isInteger && IniInteger(IniIntegerText(a), ~a) != a) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint64_t raw = 0;
    std::memcpy(&raw, data, std::min<size_t>(size, sizeof raw));
    const auto value = static_cast<int32_t>(static_cast<uint32_t>(raw));
    const auto def = static_cast<int32_t>(static_cast<uint32_t>(raw >> 32));
    const unsigned form = (size > 8 ? data[8] : 0u) | (size > 9 ? unsigned{data[9]} << 8 : 0u);
    CheckWritten(value, def, form);
    CheckOutOfRange(raw, def, form);

    for (const bool v : {false, true}) {
        if (IniBoolText(v) != IniIntegerText(v ? 1 : 0)) std::abort();
        if (IniBool(IniBoolText(v), !v) != v) std::abort();
    }

    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    const std::u16string bytes(data, data + size);
    CheckText(text, def);
    CheckText(bytes, def);
    return 0;
}
