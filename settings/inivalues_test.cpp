#include "settings/inivalues.h"

#include <gtest/gtest.h>

#include "base/convert.h"

namespace {

TEST(IniInteger, NumbersOrTheDefault) {
    const std::tuple<std::u16string, int32_t, int32_t> cases[] = {
        {u"100", 0, 100},   {u"-5", 0, -5},      {u"0x10", 0, 16},   {u"0X10", 0, 16},
        {u"$10", 0, 16},    {u"12abc", 0, 0},    {u"true", 7, 7},    {u"", 3, 3},
        {u"2147483648", 9, 9},                   {u"-2147483648", 0, INT32_MIN},
    };
    for (const auto& [text, def, value] : cases)
        EXPECT_EQ(quill::IniInteger(text, def), value) << quill::Utf16ToUtf8(text);
}

TEST(IniBool, AnyIntegerButZeroIsTrue) {
    const std::tuple<std::u16string, bool, bool> cases[] = {
        {u"1", false, true},  {u"-1", false, true},  {u"2", false, true}, {u"0x10", false, true},
        {u"0", true, false},  {u"$0", true, false},  {u"true", false, false}, {u"true", true, true},
        {u"", true, true},    {u"yes", false, false},
    };
    for (const auto& [text, def, value] : cases)
        EXPECT_EQ(quill::IniBool(text, def), value) << quill::Utf16ToUtf8(text);
}

TEST(IniText, DecimalAndOneOrZero) {
    EXPECT_EQ(quill::IniIntegerText(-5), u"-5");
    EXPECT_EQ(quill::IniIntegerText(INT32_MIN), u"-2147483648");
    EXPECT_EQ(quill::IniIntegerText(16), u"16");
    EXPECT_EQ(quill::IniBoolText(true), u"1");
    EXPECT_EQ(quill::IniBoolText(false), u"0");
}

}  // namespace
