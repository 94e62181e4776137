// The linear transforms against the repeated replacement they stand for.
#include "commands/transforms.h"

#include <gtest/gtest.h>

#include <new>
#include <random>

#include "commands/fixtures_for_tests.h"
#include "commands/pairs.h"
#include "commands/reference_for_tests.h"
#include "base/convert.h"

namespace quill::commands {
namespace {

namespace ref = reference;

// The transforms as functions of their text, with whether they said it changed.
struct Out {
    std::u16string text;
    bool changed;
};
Out Trim(std::u16string text) {
    const bool changed = TrimTrailingSpaces(text);
    return {text, changed};
}
Out Squeeze(std::u16string text) {
    const bool changed = SqueezeBlankLines(text);
    return {text, changed};
}
Out Tabs(std::u16string_view text, int width) {
    std::u16string out = u"left alone";
    const bool changed = ExpandTabs(text, width, out);
    return {changed ? out : std::u16string(text), changed};
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
        EXPECT_EQ(Trim(in).text, T(c.trimmed)) << Utf16ToUtf8(c.in);
        EXPECT_EQ(Squeeze(in).text, T(c.squeezed)) << Utf16ToUtf8(c.in);
        // "Changed" is what decides whether anything is written.
        EXPECT_EQ(Trim(in).changed, in != T(c.trimmed));
        EXPECT_EQ(Squeeze(in).changed, in != T(c.squeezed));
    }
}

TEST(Transforms, TabsBecomeWidthSpacesWithoutTabStops) {
    EXPECT_EQ(Tabs(T(u"a>b>>x"), 4).text, T(u"a....b........x"));
    EXPECT_EQ(Tabs(T(u">"), 1).text, T(u"."));
    EXPECT_EQ(Tabs(T(u"a>b>"), 0).text, T(u"ab"));
    EXPECT_EQ(Tabs(T(u">>"), -3).text, T(u""));
    EXPECT_TRUE(Tabs(T(u">>"), -3).changed);
    EXPECT_FALSE(Tabs(T(u"a..b|"), 8).changed);
    EXPECT_FALSE(Tabs(u"", 4).changed);
}

TEST(Transforms, TabsThatCannotFitAreAnErrorNotAHugeAllocation) {
    std::u16string out;
    EXPECT_THROW(ExpandTabs(u"a\t", 0x7FFFFFFF, out), std::bad_alloc);
    EXPECT_THROW(ExpandTabs(u"a\t\t", 0x40000000, out), std::bad_alloc);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(Tabs(u"\t", 100000).text.size(), 100000u);
}

TEST(Transforms, LongRunsAreHandledInOnePass) {
    // What the repeated replacement takes a million passes for.
    const std::u16string spaces = u"x" + std::u16string(1000000, u' ') + u"\r\ny";
    EXPECT_EQ(Trim(spaces).text, u"x\r\ny");
    std::u16string breaks = u"x";
    for (int i = 0; i < 1000000; ++i) breaks += u"\r\n";
    EXPECT_EQ(Squeeze(breaks + u"y").text, u"x\r\ny");
}

// Random texts made of the characters that matter, often in runs.
std::u16string RandomText(std::mt19937& rng, size_t maxLength) {
    static const std::u16string_view pieces[] = {u" ", u" ", u" ", u"  ", u"\t", u"\r\n", u"\r\n", u"\r\n\r\n",
                                                 u"\r",  u"\n", u"a",  u"b",  u"é", u"日", u"\U0001F600", u"\r \n",
                                                 u"                    ", u"\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n",
                                                 // long stretches that are only copied, a block and more at a time
                                                 u"BEGIN NULL; END; -- 0123456789 abcdefghijklmnopqrstuvwxyz"};
    return fixtures::RandomPieces(rng, pieces, maxLength);
}

TEST(Transforms, MatchTheRepeatedReplacementOnRandomTexts) {
    std::mt19937 rng(20261209);
    for (int i = 0; i < 20000; ++i) {
        const std::u16string text = RandomText(rng, i % 100 == 0 ? 5000 : i % 10 == 0 ? 400 : 40);
        const int width = static_cast<int>(rng() % 7) - 2;
        const std::u16string trimmed = ref::TrimTrailingSpaces(text), squeezed = ref::SqueezeBlankLines(text),
                             expanded = ref::ExpandTabs(text, width);
        const Out trim = Trim(text), squeeze = Squeeze(text), tabs = Tabs(text, width);
        ASSERT_EQ(trim.text, trimmed) << i;
        ASSERT_EQ(squeeze.text, squeezed) << i;
        ASSERT_EQ(tabs.text, expanded) << i;
        ASSERT_EQ(trim.changed, text != trimmed) << i;
        ASSERT_EQ(squeeze.changed, text != squeezed) << i;
        ASSERT_EQ(tabs.changed, text.find(u'\t') != std::u16string::npos) << i;
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
