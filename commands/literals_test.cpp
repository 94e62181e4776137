// The literal scanner against hand-made cases and against the plain reference
// scanner; the transforms that keep literals against the reference, on whole
// texts and on parts of them.
#include "commands/literals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <new>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "commands/fixtures_for_tests.h"
#include "commands/reference_for_tests.h"
#include "commands/transforms.h"

namespace quill::commands {
namespace {

namespace ref = reference;

using fixtures::Show;
using fixtures::T;

// The spans from the scan.
std::vector<std::pair<size_t, size_t>> ScanAll(std::u16string_view part, const TextContext& context) {
    std::vector<std::pair<size_t, size_t>> spans;
    LiteralScanner scanner(part, context);
    for (Span s; scanner.Next(s);) spans.emplace_back(s.begin, s.end);
    return spans;
}

std::vector<std::pair<size_t, size_t>> ReferenceSpans(std::u16string_view whole) {
    std::vector<std::pair<size_t, size_t>> spans;
    for (const ref::ProtectedSpan& s : ref::ProtectedSpans(whole)) spans.emplace_back(s.begin, s.end);
    return spans;
}

// The scanner hands out spans that meet as one.
std::vector<std::pair<size_t, size_t>> Merged(std::vector<std::pair<size_t, size_t>> spans) {
    std::vector<std::pair<size_t, size_t>> merged;
    for (const auto& s : spans) {
        if (!merged.empty() && merged.back().second == s.first)
            merged.back().second = s.second;
        else
            merged.push_back(s);
    }
    return merged;
}

// « and » mark the protected spans of a case; they are not part of its text.
TEST(Literals, ScannerRules) {
    const char16_t* cases[] = {
        // literals, doubled quotes, unclosed ones
        u"v := «'a b'»;", u"x «'it''s'» y", u"«''''»", u"«'a'''»", u"«''»·«'b'»", u"x «'abc¶def»",
        u"n«'abc'»", u"«'a'»«q'[b]'»", u"«'a¶REM b'» «'c'»", u"«'--'» «'/*'» «'x'»",
        // quoted identifiers
        u"«\"a'b\"» «'c'»", u"«\"x¶y»", u"«\"\"»«''»",
        // q-quoted literals and their delimiters
        u"«q'[it's]'» x", u"«q'{a}'»", u"«q'(a)'»", u"«q'<a>'»", u"«Q'!a!'»", u"«q'#a'#'»", u"«q'[a]]'»",
        u"«q'[a]'»b]«'»", u"«q'aa'»", u"«q'a'»", u"«q''a''»", u"«q'''»", u"«q'[]'»«'»", u"«q'[»",
        u"«q'\U0001F600a\U0001F600'»·«'b'»", u"«q'\U0001F600a\xDE00'b\U0001F600'»", u"«q'\xD800x\xD800'»",
        u"«q'\xDE00x\xDE00'»",
        // where a q starts a word, and the n before it
        u"«nq'[a]'»", u"«Nq'[a]'»", u"x·«nq'[a]'»", u"(«nq'[a]'»", u"xnq«'[a]'»", u"xq«'[a]'»", u"anq«'[a]'»",
        u"éq«'[a]'»", u"_q«'[a]'»", u"$q«'[a]'»", u"#q«'[a]'»", u"1q«'[a]'»", u".«q'[a]'»", u"-«q'[a]'»",
        u"n«'x'»", u"é«'x'»", u"«'a'»«nq'(b)'»",
        // no delimiter, or a blank one: an ordinary literal
        u"q«'·a'»", u"q«'→a'»", u"q«'¶a'»", u"q«'␍a'»", u"q«'␊a'»", u"q«'»",
        // comments: nothing starts inside them
        u"-- don't¶«'x'»", u"a - «'b'»", u"a -«'b'»", u"--'a'␍«'b'»", u"--'a'␊«'b'»", u"/* 'a */«'b'»",
        u"/*/ 'x' */ «'y'»", u"/**/«'y'»", u"/* 'a", u"a / «'b'»", u"*/ «'a'»", u"/-*«'a'»*/",
        // SQL*Plus remarks and prompts at the start of a line
        u"REM don't¶«'x'»", u"··→rem it's¶", u"PROMPT Don't forget", u"pro 'a'", u"REMA 'a'", u"remar→'a'",
        u"Prom 'a'", u"PrOmP 'a'", u"REM", u"REM¶«'a'»", u"REM␍«'a'»", u"x␍REM 'a'", u"x␊rem 'a'",
        u"x¶··REM 'a'¶«'b'»", u"REMARK«'s'»", u"PROMPTS «'a'»", u"REMX «'a'»", u"RE «'a'»", u"PR «'a'»",
        u"x REM «'a'»", u"(REM «'a'»", u"«'a'»·REM «'b'»", u"/* ¶ */REM «'a'»", u"REM;«'a'»", u"REMé «'a'»",
        u"¶¶··¶→REM 'a'¶«'b'»", u"-- x¶REM 'a'¶«'b'»",
        // line starts that reach over sixteen characters, or come right at them
        u"x¶····················REM 'a'¶«'b'»", u"12345678901234¶REM 'a'¶«'b'»", u"123456789012345¶REM 'a'",
    };
    for (const char16_t* c : cases) {
        std::u16string text;
        std::vector<std::pair<size_t, size_t>> expected;
        for (char16_t ch : T(c)) {
            if (ch == u'«')
                expected.emplace_back(text.size(), 0);
            else if (ch == u'»')
                expected.back().second = text.size();
            else
                text += ch;
        }
        EXPECT_EQ(ScanAll(text, {}), Merged(expected)) << Show(text);
        EXPECT_EQ(ReferenceSpans(text), expected) << Show(text);
    }
}

// The examples of the commands, on whole texts and on parts.
TEST(Literals, CommandExamples) {
    enum Command { kTrim, kTabs, kSqueeze };
    struct Example {
        Command command;
        const char16_t* whole;
        size_t offset, length;  // the part; SIZE_MAX: all of it
        const char16_t* result;
    } examples[] = {
        {kTrim, u"v := 'a··¶b';··¶", 0, SIZE_MAX, u"v := 'a··¶b';¶"},
        {kSqueeze, u"x¶¶¶s := q'[¶¶it's]';¶¶", 0, SIZE_MAX, u"x¶s := q'[¶¶it's]';¶"},
        {kTabs, u"s := 'a→b';", 0, SIZE_MAX, u"s := 'a→b';"},
        {kTrim, u"-- don't··¶y··¶", 0, SIZE_MAX, u"-- don't¶y¶"},
        {kTrim, u"s := 'a··¶b··¶c';", 11, 5, u"b··¶"},  // inside the literal
        {kTrim, u"'a··¶b'··¶c··¶", 2, 15, u"··¶b'¶c¶"},  // from inside it on
        {kTrim, u"x'a··¶b'·¶c··¶", 7, 10, u"b'¶c¶"},
        {kTrim, u"x··¶'a··¶b'", 0, 11, u"x¶'a··¶"},      // into it
        {kTrim, u"--·'··¶x··¶'", 3, 11, u"'¶x¶'"},       // the first quote is in a comment
        {kTabs, u"s := 'a→b'→'→'", 7, 7, u"→b'····'→'"},  // tabs of width 4
        {kSqueeze, u"a¶¶'b¶¶c'¶¶¶d", 7, 13, u"¶¶c'¶d"},
        {kTrim, u"x··¶q'[··¶]'··¶", 0, SIZE_MAX, u"x¶q'[··¶]'¶"},
        {kTrim, u"PROMPT it's··¶'a··¶'", 0, SIZE_MAX, u"PROMPT it's¶'a··¶'"},
    };
    for (const Example& e : examples) {
        const std::u16string whole = T(e.whole);
        const size_t length = e.length == SIZE_MAX ? whole.size() : e.length;
        const std::u16string part = whole.substr(e.offset, length);
        const TextContext context = e.length == SIZE_MAX ? TextContext{} : TextContext{whole, e.offset};
        std::u16string text = part;
        bool changed = false;
        if (e.command == kTrim) changed = TrimTrailingSpaces(text, context);
        if (e.command == kSqueeze) changed = SqueezeBlankLines(text, context);
        if (e.command == kTabs) {
            std::u16string out = u"left alone";
            changed = ExpandTabs(part, 4, out, context);
            text = changed ? out : part;
            if (!changed) EXPECT_EQ(out, u"left alone");
        }
        EXPECT_EQ(Show(text), Show(T(e.result))) << Show(whole);
        EXPECT_EQ(changed, text != part) << Show(whole);
    }
}

TEST(Literals, PartMustLieInItsWhole) {
    std::u16string text = u"ab";
    EXPECT_THROW(TrimTrailingSpaces(text, {u"xab", 2}), std::out_of_range);
    EXPECT_THROW(LiteralScanner(u"", {u"xab", 4}), std::out_of_range);
    EXPECT_NO_THROW(LiteralScanner(u"", {u"xab", 3}));
    EXPECT_FALSE(TrimTrailingSpaces(text, {u"xab", 1}));
}

// Random texts of the pieces that matter to the scanner and to the commands.
std::u16string RandomText(std::mt19937& rng, size_t maxPieces) {
    static const std::u16string_view pieces[] = {
        u" ", u"  ", u"      ", u"\t", u"\r\n", u"\r\n", u"\r\n\r\n", u"\r", u"\n", u"'", u"'", u"''", u"\"",
        u"q'", u"Q'", u"nq'", u"Nq'", u"xq'", u"q", u"n", u"[", u"]", u"{", u"}", u"(", u")", u"<", u">", u"!",
        u"]'", u"}'", u")'", u">'", u"!'", u"\U0001F600", u"\U0001F600'", u"\xDE00'", u"--", u"/*", u"*/", u"/",
        u"*", u"-", u"REM ", u"rem", u"Remark\t", u"PROMPT", u"pro", u"REMARKS ", u"a", u"x", u"\u00e9", u"_",
        u"BEGIN NULL; END; 0123456789 abcdefghijklmnopqrstuvwxyz",
    };
    return fixtures::RandomPieces(rng, pieces, maxPieces);
}

TEST(Literals, TransformsMatchTheReferenceOnRandomTextsAndParts) {
    std::mt19937 rng(20261211);
    for (int i = 0; i < 20000; ++i) {
        const std::u16string whole = RandomText(rng, i % 1000 == 0 ? 3000 : i % 100 == 0 ? 1500 : i % 10 == 0 ? 120 : 25);
        ASSERT_EQ(ScanAll(whole, {}), Merged(ReferenceSpans(whole))) << Show(whole);
        // The whole text, and a part of it.
        const size_t offset = rng() % (whole.size() + 1);
        const size_t length = rng() % (whole.size() - offset + 1);
        for (const bool isPart : {false, true}) {
            const std::u16string part = isPart ? whole.substr(offset, length) : whole;
            const TextContext context = isPart ? TextContext{whole, offset} : TextContext{};
            const std::u16string_view refWhole = isPart ? std::u16string_view(whole) : std::u16string_view();
            const size_t refOffset = isPart ? offset : 0;
            const int width = static_cast<int>(rng() % 6) - 1;
            std::u16string trimmed = part, squeezed = part, expanded = u"left alone";
            const bool trim = TrimTrailingSpaces(trimmed, context);
            const bool squeeze = SqueezeBlankLines(squeezed, context);
            const bool tabs = ExpandTabs(part, width, expanded, context);
            const std::u16string wantTrimmed = ref::TrimKeepingLiterals(part, refWhole, refOffset);
            const std::u16string wantSqueezed = ref::SqueezeKeepingLiterals(part, refWhole, refOffset);
            const std::u16string wantExpanded = ref::ExpandTabsKeepingLiterals(part, width, refWhole, refOffset);
            ASSERT_EQ(trimmed, wantTrimmed) << Show(whole) << " " << offset << "+" << length << " " << isPart;
            ASSERT_EQ(squeezed, wantSqueezed) << Show(whole) << " " << offset << "+" << length << " " << isPart;
            ASSERT_EQ(tabs ? expanded : part, wantExpanded) << Show(whole) << " " << offset << "+" << length;
            ASSERT_EQ(trim, part != wantTrimmed);
            ASSERT_EQ(squeeze, part != wantSqueezed);
            // A tab kept in a literal is no change; any other is, even with width 1.
            ASSERT_EQ(tabs, ref::ExpandTabsKeepingLiterals(part, 2, refWhole, refOffset) != part);
            if (!tabs) ASSERT_EQ(expanded, u"left alone");
        }
    }
}

// Tabs in literals count for nothing: many of them with a wide tab make the
// size found before writing; none outside literals writes nothing; too long
// a result is an error before anything is written.
TEST(Literals, TabsKeptInLiterals) {
    const std::u16string many = u"x\t'" + std::u16string(40000, u'\t') + u"'\ty";
    std::u16string out = u"left alone";
    ASSERT_TRUE(ExpandTabs(many, 8, out, {}));
    EXPECT_TRUE(out == ref::ExpandTabsKeepingLiterals(many, 8, {}, 0));
    EXPECT_EQ(out.size(), many.size() + 14);
    // Counted as if outside, they would make the result too long to be.
    ASSERT_TRUE(ExpandTabs(many, 0x10000, out, {}));
    EXPECT_TRUE(out == ref::ExpandTabsKeepingLiterals(many, 0x10000, {}, 0));
    const std::u16string kept = u"'\t' \"\t\" -- \t";
    EXPECT_TRUE(ExpandTabs(kept, 8, out, {}));
    EXPECT_EQ(out, u"'\t' \"\t\" -- " + std::u16string(8, u' '));
    out = u"left alone";
    EXPECT_FALSE(ExpandTabs(kept.substr(0, 8), 8, out, {kept, 0}));
    EXPECT_EQ(out, u"left alone");
    EXPECT_THROW(ExpandTabs(u"'\t'\t\t", 0x40000000, out, {}), std::bad_alloc);
    EXPECT_EQ(out, u"left alone");
}

// More literals than the transforms take from the scanner at a time, each
// with what the commands would change.
TEST(Literals, ManyLiteralsWithWhitespaceInside) {
    std::u16string whole;
    for (int i = 0; i < 400; ++i)
        whole += i % 3 ? u"x  \r\n\r\n'a  \r\n\r\n\tb'\t" : u"\"  \r\n\r\n\t\" q'[  \r\n\r\n\t]'  \r\n";
    for (const size_t offset : {size_t{0}, size_t{5}, whole.size() / 3}) {
        const std::u16string part = whole.substr(offset);
        const TextContext context = offset ? TextContext{whole, offset} : TextContext{};
        const std::u16string_view refWhole = offset ? std::u16string_view(whole) : std::u16string_view();
        std::u16string trimmed = part, squeezed = part, expanded;
        EXPECT_TRUE(TrimTrailingSpaces(trimmed, context));
        EXPECT_TRUE(SqueezeBlankLines(squeezed, context));
        EXPECT_TRUE(ExpandTabs(part, 3, expanded, context));
        EXPECT_TRUE(trimmed == ref::TrimKeepingLiterals(part, refWhole, offset)) << offset;
        EXPECT_TRUE(squeezed == ref::SqueezeKeepingLiterals(part, refWhole, offset)) << offset;
        EXPECT_TRUE(expanded == ref::ExpandTabsKeepingLiterals(part, 3, refWhole, offset)) << offset;
    }
}

// When a text is its own whole and is changed in place, all before the end of
// the last span handed out may have been overwritten. Here it is, with word
// characters: a scanner that looked back there would see the q of q'[..]'
// after a literal as inside a word.
TEST(Literals, ScannerNeverReadsWhatWasHandedOut) {
    std::mt19937 rng(7);
    const std::u16string fixed[] = {u"'a'q'[b]'", u"\"a\"nq'[b]'", u"''q'{ }'", u"'a'Q'!b!' 'c'"};
    for (int i = 0; i < 20000; ++i) {
        // Some texts reach over several of the scanner's windows, of 2,048 positions.
        std::u16string text = i < 4 ? fixed[i] : RandomText(rng, i % 200 == 0 ? 3000 : 40);
        const auto expected = Merged(ReferenceSpans(text));
        std::vector<std::pair<size_t, size_t>> spans;
        LiteralScanner scanner(text, {});
        for (Span s; scanner.Next(s);) {
            spans.emplace_back(s.begin, s.end);
            std::fill(text.begin(), text.begin() + static_cast<ptrdiff_t>(s.end), u'x');
        }
        ASSERT_EQ(spans, expected) << i;
    }
}

// The positions the transforms ask about, window by window, on texts over
// several windows and on parts of them that start anywhere: each as the
// reference has it, also when all before Decided() is overwritten after each
// window (as the in-place transforms may do).
TEST(Literals, ProtectedPositionsWindowByWindow) {
    std::mt19937 rng(2048);
    for (int i = 0; i < 400; ++i) {
        const std::u16string whole = RandomText(rng, 2500);
        std::vector<bool> expected(whole.size());
        for (const auto& [begin, end] : ReferenceSpans(whole))
            for (size_t k = begin; k < end; ++k) expected[k] = true;
        const bool own = i % 3 == 0;
        const size_t offset = own ? 0 : rng() % (whole.size() + 1);
        const size_t length = own ? whole.size() : rng() % (whole.size() - offset + 1);
        std::u16string text = whole;  // overwritten when the part is its own whole
        const std::u16string part = own ? std::u16string() : whole.substr(offset, length);
        LiteralScanner scanner(own ? std::u16string_view(text) : std::u16string_view(part),
                               own ? TextContext{} : TextContext{whole, offset});
        size_t decided = 0;
        while (scanner.More()) {
            ASSERT_GE(scanner.Decided(), decided) << i;  // still 0 before the part
            for (size_t k = decided; k < scanner.Decided(); ++k)
                ASSERT_EQ(scanner.Protected(k), expected[offset + k]) << i << " at " << k << Show(whole);
            decided = scanner.Decided();
            if (own) std::fill(text.begin(), text.begin() + static_cast<ptrdiff_t>(decided), u'q');
        }
        ASSERT_EQ(decided, length) << i;
    }
}

// The scan reads the text in blocks: everything that opens, closes or starts a
// line, placed on every position around the first two block edges, after
// fillers that are words, blanks, line breaks or neither.
TEST(Literals, ScannerAcrossBlockEdges) {
    const std::u16string_view pieces[] = {
        u"'a''b'c", u"''''x'", u"q'[x]'y", u"nq'{x}'", u"xq'<x>'", u"\"a'b\"'c'", u"--'x'\r\n'y'",
        u"/*'*/'z'", u"/'a'", u"-'a'", u"\r\n  REM 'a'\r\n'b'", u"\r\n\t\tprompt x'\r\n'c'", u"\nrem\r'a'",
        u"'open", u"q'\U0001F600a\U0001F600'b'",
    };
    const char16_t fillers[] = {u'x', u' ', u'\n', u'.', u'q'};
    for (const char16_t filler : fillers) {
        for (size_t k = 40; k < 140; ++k) {
            for (const std::u16string_view piece : pieces) {
                const std::u16string text = std::u16string(k, filler) + std::u16string(piece) + u"'  '\r\nREM '";
                ASSERT_EQ(ScanAll(text, {}), Merged(ReferenceSpans(text))) << Show(text);
            }
        }
    }
}

// What a repeated search would make quadratic: each text is a few million
// characters, done in a blink when every character is looked at a bounded
// number of times.
TEST(Literals, AdversarialTextsStayLinear) {
    const size_t n = 2000000;
    auto repeat = [&](std::u16string_view piece) {
        std::u16string text;
        while (text.size() < n) text += piece;
        return text;
    };
    const std::u16string texts[] = {
        repeat(u"'"),   repeat(u"''"), repeat(u"q'["),     repeat(u"q'[]"), repeat(u"--"),   repeat(u"/*"),
        repeat(u"-/"),  repeat(u" "),  repeat(u"\r\n"),    repeat(u"\"'"),  repeat(u"REM "), repeat(u"\r\nREM"),
        u"q'\U0001F600" + repeat(u"\xDE00'"), u"'" + repeat(u" \r\n") + u"'" + repeat(u" "),
    };
    for (const std::u16string& text : texts) {
        std::u16string trimmed = text, squeezed = text, expanded;
        TrimTrailingSpaces(trimmed, {});
        SqueezeBlankLines(squeezed, {});
        ExpandTabs(text, 4, expanded, {});
        const size_t half = text.size() / 2;
        std::u16string part = text.substr(half, 1000);
        TrimTrailingSpaces(part, {text, half});
    }
    // Runs of spaces and line breaks outside literals go in one pass.
    std::u16string spaces = u"'a'" + std::u16string(n, u' ') + u"\r\n'b'";
    EXPECT_TRUE(TrimTrailingSpaces(spaces, {}));
    EXPECT_EQ(spaces, u"'a'\r\n'b'");
    std::u16string breaks = u"'a'" + repeat(u"\r\n") + u"'b'";
    EXPECT_TRUE(SqueezeBlankLines(breaks, {}));
    EXPECT_EQ(breaks, u"'a'\r\n'b'");
}

}  // namespace
}  // namespace quill::commands
