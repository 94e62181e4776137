#include "ui/variant.h"

#include <gtest/gtest.h>

#include "base/convert.h"

namespace quill {
namespace {

TEST(Variant, EmptyTextByDefault) {
    Variant v;
    EXPECT_EQ(v.type(), Variant::Type::Text);
    EXPECT_EQ(v.AsText(), u"");
    EXPECT_THROW(v.AsInteger(), VariantError);
    EXPECT_THROW(v.AsBoolean(), VariantError);
}

TEST(Variant, Conversions) {
    struct Case {
        Variant v;
        bool b;
        int32_t n;
        std::u16string text;
    };
    const Case cases[] = {
        {true, true, -1, u"True"},
        {false, false, 0, u"False"},
        {int32_t{7}, true, 7, u"7"},
        {int32_t{0}, false, 0, u"0"},
        {int32_t{-2147483647 - 1}, true, -2147483647 - 1, u"-2147483648"},
        {u"42", true, 42, u"42"},
        {u"  -3", true, -3, u"  -3"},
        {u"$10", true, 16, u"$10"},
        {u"0", false, 0, u"0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.v.AsText()));
        EXPECT_EQ(c.v.AsBoolean(), c.b);
        EXPECT_EQ(c.v.AsInteger(), c.n);
        EXPECT_EQ(c.v.AsText(), c.text);
    }
    for (const char16_t* t : {u"true", u"TRUE", u"True"}) EXPECT_TRUE(Variant(t).AsBoolean());
    for (const char16_t* t : {u"false", u"FaLsE"}) EXPECT_FALSE(Variant(t).AsBoolean());
}

TEST(Variant, TextThatIsNoNumberRaisesAClearError) {
    for (const char16_t* t : {u"abc", u"12abc", u"1.5", u"2147483648", u"true", u" "}) {
        try {
            Variant(t).AsInteger();
            ADD_FAILURE() << Utf16ToUtf8(t);
        } catch (const VariantError& e) {
            EXPECT_EQ(e.text(), u"Could not convert the text \"" + std::u16string(t) + u"\" into an integer");
        }
    }
    EXPECT_THROW(Variant(u"yes").AsBoolean(), VariantError);
    EXPECT_THROW(Variant(u"truee").AsBoolean(), VariantError);
}

}  // namespace
}  // namespace quill
