// The linear transforms against the repeated replacement they stand for.
#include "commands/transforms.h"

#include <gtest/gtest.h>

#include <new>
#include <random>

#include "commands/pairs.h"
#include "commands/reference_for_tests.h"
#include "host/error.h"

namespace quill::commands {
namespace {

namespace ref = reference;

std::u16string Apply(const std::optional<std::u16string>& result, std::u16string_view text) {
    return result ? *result : std::u16string(text);
}

// Readable fixtures: '.' a space, '>' a tab, '|' CR LF, '~' a lone LF, '<' a lone CR.
std::u16string T(std::u16string_view s) {
    std::u16string out;
    for (char16_t c : s) {
        switch (c) {
            case u'.': out += u' '; break;
            case u'>': out += u'\t'; break;
            case u'|': out += u"\r\n"; break;
            case u'~': out += u'\n'; break;
            case u'<': out += u'\r'; break;
            default: out += c;
        }
    }
    return out;
}

struct Case {
    const char16_t* in;
    const char16_t* trimmed;
    const char16_t* squeezed;
};

TEST(Transforms, WhitespaceCases) {
    const Case cases[] = {
        {u"", u"", u""},
        {u"a..|b...|", u"a|b|", u"a..|b...|"},
        {u"abc...", u"abc...", u"abc..."},
        {u"a.>|", u"a.>|", u"a.>|"},
        {u"a>..|", u"a>|", u"a>..|"},
        {u"x|...|y", u"x||y", u"x|...|y"},
        {u"x||y", u"x||y", u"x|y"},
        {u"a||||b", u"a||||b", u"a|b"},
        {u"||x", u"||x", u"|x"},
        {u"|x", u"|x", u"|x"},
        {u"x||", u"x||", u"x|"},
        {u"a.~", u"a.~", u"a.~"},
        {u"a~~~b", u"a~~~b", u"a~~~b"},
        {u"a.~<", u"a.~<", u"a.~<"},         // LF CR is no line break
        {u"a..<|", u"a..<|", u"a..<|"},       // spaces before a lone CR stay
        {u"~<~<||~", u"~<~<||~", u"~<~<|~"},
        {u"|.|.|", u"|||", u"|.|.|"},
        {u"...|", u"|", u"...|"},
        {u"é日..|..|", u"é日||", u"é日..|..|"},
    };
    for (const Case& c : cases) {
        const std::u16string in = T(c.in);
        EXPECT_EQ(Apply(TrimTrailingSpaces(in), in), T(c.trimmed)) << Utf16ToUtf8(c.in);
        EXPECT_EQ(Apply(SqueezeBlankLines(in), in), T(c.squeezed)) << Utf16ToUtf8(c.in);
        // Nothing to change gives nothing back, so nothing is written.
        EXPECT_EQ(TrimTrailingSpaces(in).has_value(), in != T(c.trimmed));
        EXPECT_EQ(SqueezeBlankLines(in).has_value(), in != T(c.squeezed));
    }
}

TEST(Transforms, TabsBecomeWidthSpacesWithoutTabStops) {
    EXPECT_EQ(*ExpandTabs(T(u"a>b>>x"), 4), T(u"a....b........x"));
    EXPECT_EQ(*ExpandTabs(T(u">"), 1), T(u"."));
    EXPECT_EQ(*ExpandTabs(T(u"a>b>"), 0), T(u"ab"));
    EXPECT_EQ(*ExpandTabs(T(u">>"), -3), T(u""));
    EXPECT_FALSE(ExpandTabs(T(u"a..b|"), 8).has_value());
    EXPECT_FALSE(ExpandTabs(u"", 4).has_value());
}

TEST(Transforms, TabsThatCannotFitAreAnErrorNotAHugeAllocation) {
    EXPECT_THROW(ExpandTabs(u"a\t", 0x7FFFFFFF).value(), std::bad_alloc);
    EXPECT_THROW(ExpandTabs(u"a\t\t", 0x40000000).value(), std::bad_alloc);
    EXPECT_EQ(ExpandTabs(u"\t", 100000)->size(), 100000u);
}

TEST(Transforms, LongRunsAreHandledInOnePass) {
    // What the repeated replacement takes a million passes for.
    const std::u16string spaces = u"x" + std::u16string(1000000, u' ') + u"\r\ny";
    EXPECT_EQ(*TrimTrailingSpaces(spaces), u"x\r\ny");
    std::u16string breaks = u"x";
    for (int i = 0; i < 1000000; ++i) breaks += u"\r\n";
    EXPECT_EQ(*SqueezeBlankLines(breaks + u"y"), u"x\r\ny");
}

// Random texts made of the characters that matter, often in runs.
std::u16string RandomText(std::mt19937& rng, size_t maxLength) {
    static const std::u16string_view pieces[] = {u" ", u" ", u" ", u"  ", u"\t", u"\r\n", u"\r\n", u"\r\n\r\n",
                                                 u"\r",  u"\n", u"a",  u"b",  u"é", u"日", u"\U0001F600", u"\r \n"};
    std::uniform_int_distribution<size_t> length(0, maxLength), piece(0, std::size(pieces) - 1);
    std::u16string text;
    for (size_t n = length(rng); n > 0; --n) text += pieces[piece(rng)];
    return text;
}

TEST(Transforms, MatchTheRepeatedReplacementOnRandomTexts) {
    std::mt19937 rng(20261209);
    for (int i = 0; i < 20000; ++i) {
        const std::u16string text = RandomText(rng, i % 10 == 0 ? 400 : 40);
        const int width = static_cast<int>(rng() % 7) - 2;
        ASSERT_EQ(Apply(TrimTrailingSpaces(text), text), ref::TrimTrailingSpaces(text)) << i;
        ASSERT_EQ(Apply(SqueezeBlankLines(text), text), ref::SqueezeBlankLines(text)) << i;
        ASSERT_EQ(Apply(ExpandTabs(text, width), text), ref::ExpandTabs(text, width)) << i;
        ASSERT_EQ(TrimTrailingSpaces(text).has_value(), text != ref::TrimTrailingSpaces(text)) << i;
        ASSERT_EQ(SqueezeBlankLines(text).has_value(), text != ref::SqueezeBlankLines(text)) << i;
    }
}

TEST(Pairs, IsEnclosed) {
    struct {
        const char16_t* text;
        int kind;
        bool enclosed;
    } cases[] = {
        {u"(a)", 0, true},  {u"()", 0, true},   {u"(", 0, false},   {u")", 0, false}, {u"", 0, false},
        {u"(a]", 0, false}, {u"[a]", 1, true},  {u"{}", 2, true},   {u"'", 3, true},  {u"\"", 4, true},
        {u"''", 3, true},   {u"'a\"", 3, false}, {u"((a))", 0, true}, {u"", 3, false},  {u"(a)", 1, false},
        {u"(a)", 5, false}, {u"(a)", -1, false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsEnclosed(c.text, c.kind), c.enclosed) << c.kind;
}

}  // namespace
}  // namespace quill::commands
