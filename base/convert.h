#pragma once
// The text conversions: UTF-8 and UTF-16 both ways, and running a platform
// conversion (MultiByteToWideChar, WideCharToMultiByte) the safe way: first
// measure, then convert. A platform conversion of a non-empty text that gives
// nothing, or less than it measured, has failed: that is an error
// (kConversionFailedText), never an empty text that a command would then
// write over the user's text.
#include <cstddef>
#include <limits>
#include <new>
#include <string>
#include <string_view>

#include "base/error.h"

namespace quill {

// UTF-8 to UTF-16 and back, for texts written in the source (messages,
// numbers) and for test output. A byte that starts no UTF-8 sequence, and a
// lone surrogate, become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(std::u16string_view s);

inline constexpr char16_t kConversionFailedText[] =
    u"Quillmendex could not convert the text between Unicode and the system code page. The command was not "
    u"completed; the editor keeps its text.";

// convert(nullptr, 0) measures; convert(buffer, size) converts and returns the
// units written. Both return 0 on failure.
template <class Out, class Convert>
Out ConvertText(size_t inputSize, Convert&& convert) {
    Out out;
    if (inputSize == 0) return out;
    if (inputSize > static_cast<size_t>(std::numeric_limits<int>::max())) throw std::bad_alloc();
    const int need = convert(static_cast<typename Out::value_type*>(nullptr), 0);
    if (need <= 0) throw Error(kConversionFailedText);
    out.resize(static_cast<size_t>(need));
    const int done = convert(out.data(), need);
    if (done != need) throw Error(kConversionFailedText);
    return out;
}

}  // namespace quill
