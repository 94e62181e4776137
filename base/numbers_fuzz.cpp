// Fuzzes integer reading against a plain reference: any text, never a crash,
// and the same answer as reading by hand with 64-bit arithmetic.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/numbers.h"

namespace {

std::optional<int32_t> Reference(const std::u16string& t) {
    size_t i = t.find_first_not_of(u' ');
    if (i == std::u16string::npos) return std::nullopt;
    int sign = 1;
    if (t[i] == u'-' || t[i] == u'+') sign = t[i++] == u'-' ? -1 : 1;
    int base = 10;
    if (t.compare(i, 1, u"$") == 0 || t.compare(i, 1, u"x") == 0 || t.compare(i, 1, u"X") == 0) {
        base = 16;
        i += 1;
    } else if (t.compare(i, 2, u"0x") == 0 || t.compare(i, 2, u"0X") == 0) {
        base = 16;
        i += 2;
    }
    if (i >= t.size()) return std::nullopt;
    __int128 v = 0;
    bool huge = false;
    for (; i < t.size(); ++i) {
        int d = -1;
        char16_t c = t[i];
        if (c >= u'0' && c <= u'9') d = c - u'0';
        if (base == 16 && c >= u'a' && c <= u'f') d = c - u'a' + 10;
        if (base == 16 && c >= u'A' && c <= u'F') d = c - u'A' + 10;
        if (d < 0) return std::nullopt;
        v = v * base + d;
        if (v > (__int128{1} << 40)) {
            huge = true;
            v = 0;
        }
    }
    if (huge) return std::nullopt;
    v *= sign;
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    // Mostly ASCII digits and prefixes make interesting inputs; take the bytes as they are too.
    std::u16string ascii(data, data + size);
    for (const auto& t : {text, ascii}) {
        if (quill::ParseInt32(t) != Reference(t)) std::abort();
    }
    return 0;
}
