// A platform conversion that fails is an error, never an empty text.
#include "base/convert.h"

#include <gtest/gtest.h>

#include <string>

namespace quill {
namespace {

TEST(ConvertText, FailuresAreErrorsNotEmptyTexts) {
    // measure, then convert: what each call answers.
    struct Case {
        const char* what;
        int measured, converted;
    } cases[] = {{"measuring fails", 0, 3}, {"converting fails", 3, 0}, {"converting falls short", 3, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            ConvertText<std::u16string>(3, [&](char16_t* out, int size) { (void)size; return out ? c.converted : c.measured; });
            ADD_FAILURE();
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), kConversionFailedText);
        }
    }
    // An empty text needs no conversion; a good one gives what was converted.
    EXPECT_EQ(ConvertText<std::string>(0, [](char*, int) { return 0; }), "");
    EXPECT_EQ(ConvertText<std::string>(2, [](char* out, int size) {
                  if (out) std::copy_n("ab", size, out);
                  return 2;
              }),
              "ab");
}

}  // namespace
}  // namespace quill
