#include "base/numbers.h"

#include <gtest/gtest.h>

#include "base/convert.h"
#include "base/error.h"

namespace {

using quill::ParseInt32;

TEST(ParseInt32, AcceptedForms) {
    const std::pair<std::u16string, int32_t> cases[] = {
        {u"4", 4},          {u"  4", 4},        {u"+4", 4},         {u"-4", -4},       {u"007", 7},
        {u"$10", 16},       {u"x10", 16},       {u"X1f", 31},       {u"0x10", 16},     {u"0XfF", 255},
        {u"-$10", -16},     {u" -0x10", -16},   {u"2147483647", 2147483647},
        {u"-2147483648", INT32_MIN},            {u"$7FFFFFFF", INT32_MAX},             {u"-$80000000", INT32_MIN},
        {u"0", 0},          {u"-0", 0},
    };
    for (const auto& [text, value] : cases) {
        auto parsed = ParseInt32(text);
        ASSERT_TRUE(parsed.has_value()) << quill::Utf16ToUtf8(text);
        EXPECT_EQ(*parsed, value) << quill::Utf16ToUtf8(text);
    }
}

TEST(ParseInt32, RefusedForms) {
    for (const char16_t* text : {u"", u" ", u"-", u"+", u"$", u"0x", u"x", u"4 ", u"4a", u"12abc", u"true",
                                 u"--4", u"+-4", u"2147483648", u"-2147483649", u"$80000000", u"99999999999999999999",
                                 u"\t4", u"４", u"0x-5", u"1e3", u"$ 10"})
        EXPECT_FALSE(ParseInt32(text).has_value()) << quill::Utf16ToUtf8(text);
}

TEST(StrToInt, ErrorNamesTheValue) {
    try {
        quill::StrToInt(u"four");
        FAIL();
    } catch (const quill::Error& e) {
        EXPECT_EQ(e.text(), u"'four' is not a valid integer value");
    }
    EXPECT_EQ(quill::InvalidIntegerText(u""), u"'' is not a valid integer value");
}

}  // namespace
