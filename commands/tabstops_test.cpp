// Tabs to tab stops against hand-made columns and against the plain reference.
#include "commands/tabstops.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <random>
#include <string>

#include "commands/fixtures_for_tests.h"
#include "commands/tabstops_reference_for_tests.h"
#include "commands/transforms.h"

namespace quill::commands {
namespace {

using fixtures::Show;
using fixtures::T;

struct Result {
    std::u16string text;
    bool changed;
};
Result Stops(std::u16string_view text, int width, bool keep) {
    std::u16string out = u"left alone";
    const bool changed = ExpandTabsToStops(text, width, out, keep);
    if (!changed) EXPECT_EQ(out, u"left alone");
    return {changed ? out : std::u16string(text), changed};
}

TEST(TabStops, ColumnsLiteralsAndLineEnds) {
    const struct {
        int width;
        bool keep;  // KeepStringLiterals
        const char16_t *in, *out;
    } cases[] = {
        // columns
        {4, false, u"→x", u"····x"},
        {4, false, u"a→b", u"a···b"},
        {4, false, u"abc→→x", u"abc·····x"},
        {4, false, u"abcd→x", u"abcd····x"},
        {4, false, u"l_id→→number;¶l_name→→varchar2(30);", u"l_id········number;¶l_name······varchar2(30);"},
        {3, false, u"a→→b→", u"a·····b··"},
        {1, false, u"a→→b", u"a··b"},
        {8, false, u"1234567→12345678→", u"1234567·12345678········"},
        {4, false, u"é日→x", u"é日··x"},
        {4, false, u"a··→", u"a···"},
        // a surrogate pair is one column; a lone half, or halves the wrong way round, one each
        {4, false, u"\U0001F600→x", u"\U0001F600···x"},
        {4, false, u"\U0001F600\U0001F600\U0001F600\U0001F600→", u"\U0001F600\U0001F600\U0001F600\U0001F600····"},
        {4, false, u"\xD800→", u"\xD800···"},
        {4, false, u"\xDC00→", u"\xDC00···"},
        {4, false, u"\xDC00\xD800→", u"\xDC00\xD800··"},
        {4, false, u"\xD800\xD800\xDC00→", u"\xD800\xD800\xDC00··"},
        // only CR LF starts a line
        {4, false, u"ab¶→x", u"ab¶····x"},
        {4, false, u"ab␊→x", u"ab␊·x"},
        {4, false, u"ab␍→x", u"ab␍·x"},
        {4, false, u"a␊␍→", u"a␊␍·"},
        {4, false, u"a␍¶→", u"a␍¶····"},
        {4, false, u"→¶→¶¶a→", u"····¶····¶¶a···"},
        // zero or less: the tabs go; no tab: nothing changes
        {0, false, u"a→b¶→", u"ab¶"},
        {-4, true, u"a→'→'", u"a'→'"},
        {4, false, u"a··b¶", u"a··b¶"},
        {4, false, u"", u""},
        // keeping literals: a tab in one stays a tab, its column goes to the next stop
        {4, true, u"s·:=·'a→b';→--x", u"s·:=·'a→b';·--x"},
        {4, true, u"x→'→'→y", u"x···'→'···y"},
        {4, false, u"x→'→'→y", u"x···'···'···y"},
        {4, true, u"'a¶→b'→c", u"'a¶→b'··c"},
        {4, true, u"\"a→\"→", u"\"a→\"···"},
        {4, true, u"q'[→]'→", u"q'[→]'··"},
        {4, true, u"--·it's→x¶'→'", u"--·it's·x¶'→'"},
        {4, true, u"'→'", u"'→'"},
        {4, true, u"'→→", u"'→→"},
    };
    for (const auto& c : cases) {
        const std::u16string in = T(c.in), out = T(c.out);
        SCOPED_TRACE(Show(in));
        const Result r = Stops(in, c.width, c.keep);
        EXPECT_EQ(Show(r.text), Show(out));
        EXPECT_EQ(r.changed, in != out);
        EXPECT_EQ(Show(reference::ExpandTabsToStops(in, c.width, c.keep)), Show(out));
    }
}

TEST(TabStops, ResultsTooLongAreAnErrorAndFarLongerBoundsAreCountedFirst) {
    std::u16string out = u"kept";
    EXPECT_THROW(ExpandTabsToStops(u"a\t\t", 0x7FFFFFFF, out), std::bad_alloc);
    EXPECT_THROW(ExpandTabsToStops(u"a'\t'\t", 0x7FFFFFFF, out, true), std::bad_alloc);
    EXPECT_EQ(out, u"kept");
    // Sizes past twice the text are counted before anything is written: a
    // hundred tabs of 1,000 each; and 5,000 tabs in a literal that stay.
    EXPECT_EQ(Stops(std::u16string(100, u'\t'), 1000, false).text, std::u16string(100000, u' '));
    const std::u16string literal = u"x'" + std::u16string(5000, u'\t') + u"'\t";
    EXPECT_EQ(Stops(literal, 1000, true).text, reference::ExpandTabsToStops(literal, 1000, true));
}

// Every way Replace tab by spaces has, with a limit: the result's length is
// counted exactly in 64 bits before anything is built, so a length past 2^32
// (which a 32-bit size_t would wrap, 2^32 itself to 0) is refused as it is.
TEST(TabStops, AResultOverTheLimitIsCountedExactlyAndRefusedBeforeAnythingIsBuilt) {
    enum Way { Fixed, FixedKeep, Stops, StopsKeep };
    const auto expand = [](Way way, std::u16string_view text, int32_t width, std::u16string& out, size_t limit) {
        switch (way) {
            case Fixed: return ExpandTabs(text, width, out, MaxLength(limit));
            case FixedKeep: return ExpandTabs(text, width, out, TextContext{}, MaxLength(limit));
            case Stops: return ExpandTabsToStops(text, width, out, false, MaxLength(limit));
            case StopsKeep: return ExpandTabsToStops(text, width, out, true, MaxLength(limit));
        }
        return false;
    };
    constexpr int32_t kGi = 0x40000000, kMax = 0x7FFFFFFF;
    const struct {
        Way way;
        const char16_t* text;
        int32_t width;
        size_t limit;
        uint64_t length;  // of the result, counted by hand
    } cases[] = {
        // Just at the limit and one over, where the bound is cheap and where it is counted.
        {Fixed, u"ab\tc", 4, 7, 7},
        {Fixed, u"ab\tc", 4, 6, 7},
        {FixedKeep, u"'\t'\tc", 4, 7, 8},
        {FixedKeep, u"'\t'\tc", 4, 8, 8},
        {Stops, u"ab\tc", 4, 4, 5},
        {Stops, u"ab\tc", 4, 5, 5},
        {StopsKeep, u"'\t'\tc", 4, 6, 7},  // the kept tab takes ' to column 4, the other three spaces
        {StopsKeep, u"'\t'\tc", 4, 7, 7},
        // Past 2^31 and 2^32.
        {Fixed, u"a\t\t", kGi, kMaxTextLength, 2 * uint64_t{kGi} + 1},
        {Fixed, u"\t\t\t\t", kGi, kMaxTextLength, uint64_t{1} << 32},
        {Fixed, u"\t\t\t\t\t", kMax, kMaxTextLength, 5 * uint64_t{kMax}},
        {FixedKeep, u"'\t'\t\t\t\t", kGi, kMaxTextLength, 3 + (uint64_t{1} << 32)},
        {Stops, u"\t\t\t\t", kGi, kMaxTextLength, uint64_t{1} << 32},
        {Stops, u"a\t\t\t\t\t", kMax, kMaxTextLength, 5 * uint64_t{kMax}},
        {StopsKeep, u"'\t'\t\t\t\t", kGi, kMaxTextLength, 2 + (uint64_t{1} << 32)},
        // The bound the command keeps to, 256 Mi: TabPosition 2^30 on a→b.
        {Fixed, u"a\tb", kGi, size_t{1} << 28, uint64_t{kGi} + 2},
        {Stops, u"a\tb", kGi, size_t{1} << 28, uint64_t{kGi} + 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Show(c.text) + " width " + std::to_string(c.width) + " limit " + std::to_string(c.limit) +
                     " way " + std::to_string(c.way));
        std::u16string out = u"left alone";
        if (c.length <= c.limit) {
            EXPECT_TRUE(expand(c.way, c.text, c.width, out, c.limit));
            EXPECT_EQ(out.size(), c.length);
            continue;
        }
        try {
            expand(c.way, c.text, c.width, out, c.limit);
            ADD_FAILURE() << "not refused";
        } catch (const ResultTooLong& e) {
            EXPECT_EQ(e.length, c.length);
        }
        EXPECT_EQ(out, u"left alone");
    }
}

// Random texts of what counts: tabs, line ends, surrogates, literal openers and
// stretches long enough for the blocks of sixteen.
std::u16string RandomText(std::mt19937& rng, size_t maxPieces) {
    static const std::u16string_view pieces[] = {
        u"\t", u"\t", u"\t\t", u"\r\n", u"\r\n", u"\r", u"\n", u"\n\r", u" ", u"  ", u"a", u"bc", u"\u00e9",
        u"\U0001F600", u"\xD800", u"\xDC00", u"'", u"'", u"\"", u"q'[", u"]'", u"--", u"/*", u"*/", u"REM ",
        u"BEGIN NULL; END; 0123456789 abcdefghijklmnopqrstuvwxyz",
    };
    return fixtures::RandomPieces(rng, pieces, maxPieces);
}

TEST(TabStops, MatchTheReferenceOnRandomTexts) {
    std::mt19937 rng(20261213);
    for (int i = 0; i < 20000; ++i) {
        const std::u16string text = RandomText(rng, i % 100 == 0 ? 1500 : i % 10 == 0 ? 150 : 25);
        const int width = static_cast<int>(rng() % 11) - 2;
        for (const bool keep : {false, true}) {
            const std::u16string expected = reference::ExpandTabsToStops(text, width, keep);
            const Result r = Stops(text, width, keep);
            ASSERT_EQ(Show(r.text), Show(expected)) << Show(text) << " width " << width << " keep " << keep;
            ASSERT_EQ(r.changed, expected != text) << Show(text);
        }
    }
}

}  // namespace
}  // namespace quill::commands
