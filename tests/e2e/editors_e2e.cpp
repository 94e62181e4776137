// The plug-in against editors that count their positions otherwise than EDIT,
// through the real DLL in the stand-in (--editor, --positions) under code pages
// 1252 and 932: every command gives either exactly its result on the true
// (UTF-16) text or exactly what the IDE's own way gives, and never shows a
// message. The IDE's way is computed here: the ANSI image of the text (made by
// the stand-in's conversions, as the IDE makes it), the command on the
// selection's image, written back. The texts repeat the selected characters
// where a misread position would land, have emoji and line breaks before the
// selection, and some selections are made right to left. Editors that count as
// EDIT give the true-text result everywhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/convert.h"
#include "base/error.h"
#include "commands/pairs.h"
#include "commands/positions.h"
#include "commands/reference_for_tests.h"
#include "harness.h"
#include "true_text.h"

namespace {

using quill::Utf16ToUtf8;
using quill::Utf8ToUtf16;
using quilltest::HostRun;
using quilltest::json;
using quilltest::Result;
using quilltest::TrueTextResult;
namespace ref = quill::commands::reference;

// An editor the stand-in plays, and how it counts: what a position is, and
// whether a CR LF is one. Wine's rich edit control takes --select in its own
// positions and gives its selection to the IDE with a lone CR for a CR LF;
// the stand-in's own classes take --select in UTF-16 units.
enum class Unit { Utf16, CodePoints, Utf8, Ansi };
struct Editor {
    const char* name;
    std::vector<std::string> args;
    Unit unit = Unit::Utf16;
    bool lineBreakAsOne = false;
    bool rich = false, loneCr = false;
    bool countsAsEdit = false;  // must give the true-text result everywhere
};

const Editor kEditors[] = {
    {"edit", {"--editor", "edit"}, Unit::Utf16, false, false, false, true},
    {"richedit", {"--editor", "richedit"}, Unit::Utf16, true, true, true},
    {"richedit, selection in CR LF", {"--editor", "richedit", "--selected-text", "crlf"}, Unit::Utf16, true, true},
    {"plain", {"--editor", "plain"}},
    {"unicode", {"--editor", "unicode"}, Unit::Utf16, false, false, false, true},
    {"richlike", {"--editor", "richlike"}, Unit::Utf16, false, false, false, true},
    {"richlike, anchor-caret", {"--editor", "richlike", "--positions", "units,anchor-caret"}, Unit::Utf16, false,
     false, false, true},
    {"unicode, units, crlf-one", {"--editor", "unicode", "--positions", "units,crlf-one"}, Unit::Utf16, true},
    {"unicode, codepoints, final-mark", {"--editor", "unicode", "--positions", "codepoints,final-mark"},
     Unit::CodePoints},
    {"unicode, codepoints, crlf-one, anchor-caret",
     {"--editor", "unicode", "--positions", "codepoints,crlf-one,anchor-caret"}, Unit::CodePoints, true},
    {"unicode, utf8, crlf-one", {"--editor", "unicode", "--positions", "utf8,crlf-one"}, Unit::Utf8, true},
    {"unicode, utf8, final-mark, anchor-caret", {"--editor", "unicode", "--positions", "utf8,final-mark,anchor-caret"},
     Unit::Utf8},
    {"unicode, ansi", {"--editor", "unicode", "--positions", "ansi"}, Unit::Ansi},
    {"unicode, ansi, crlf-one, final-mark", {"--editor", "unicode", "--positions", "ansi,crlf-one,final-mark"},
     Unit::Ansi, true},
    {"plain, codepoints, crlf-one", {"--editor", "plain", "--positions", "codepoints,crlf-one"}, Unit::CodePoints,
     true},
};

// A selection in UTF-16 units; right to left: made from its end to its start.
struct Selection {
    size_t s, e;
    bool rightToLeft = false;
};
struct Text {
    const char* what;
    std::u16string text;
    std::vector<Selection> selections;
};

const Text kTexts[] = {
    {"safe", u"ab  \r\n\r\n\r\n(x)\t'y'  \r\nq'[z  ]'", {{0, 0}, {11, 14}, {2, 10, true}, {21, 29}}},
    {"emoji, Hangul, a with macron", u"\U0001F600  \r\n\r\n\r\n(\uD55C)\t'\u0101'  \r\n[\U0001F600]",
     {{0, 0}, {11, 14, true}, {2, 12}, {21, 25}, {1, 2}, {22, 23}}},
    {"Cyrillic", u"\u0416\u0414  \r\n\r\n\u0416\u0414 (\u0416)\t\"\u0414\"", {{9, 10}, {1, 8}, {14, 17, true}}},
    // Counted in code points (with a final mark) or with a CR LF as one, the
    // second copy's positions are the first copy's units.
    {"copies two emoji apart", u"\U0001F600\U0001F600\u0416\u0414\u0416\u0414", {{6, 8}, {6, 8, true}, {7, 8}}},
    {"copies two line breaks apart", u"\r\n\r\n\u0416\u0414\u0416\u0414", {{6, 8}, {5, 7, true}}},
    {"emoji, quote, Zhe, De", u"\U0001F600'\u0416\u0414", {{4, 5}, {3, 4, true}}},
    {"De, emoji, Zhe", u"\u0414\U0001F600\u0416", {{3, 4}}},
    // In UTF-8 bytes with a CR LF as one, the selection's positions are those
    // of the De and line break after it.
    {"e acute, Zhe, line breaks", u"\u00e9\u00e9\u00e9\u0416\r\n\u0414\r\n\r\n\r\n\r\n", {{3, 6}, {6, 9, true}}},
    {"pairs inside a selection made right to left", u"s := 'a';\r\nq (a) q", {{6, 9, true}, {12, 17, true}}},
};

bool IsPair(const std::u16string& t, size_t i) {
    return i + 1 < t.size() && t[i] >= 0xD800 && t[i] <= 0xDBFF && t[i + 1] >= 0xDC00 && t[i + 1] <= 0xDFFF;
}

// The editor's counting of a text: positions to units and back, as a control
// that counts so does (a position inside a character stands for its start).
class Counting {
public:
    Counting(const Editor& ed, const std::u16string& t, const std::u16string& image, bool cp932)
        : t_(t) {
        for (size_t i = 0; i < t.size();) {
            size_t units = IsPair(t, i) ? 2 : 1, width = units;
            if (ed.lineBreakAsOne && t.compare(i, 2, u"\r\n") == 0) {
                units = 2;
                width = 1;
            } else if (ed.unit == Unit::Utf16) {
                units = width = 1;  // half a surrogate pair too
            } else if (ed.unit == Unit::CodePoints) {
                width = 1;
            } else if (ed.unit == Unit::Utf8) {
                width = units == 2 ? 4 : t[i] < 0x80 ? 1 : t[i] < 0x800 ? 2 : 3;
            } else if (ed.unit == Unit::Ansi) {
                width = 0;  // the ANSI bytes of the image: double-byte under 932 but for ASCII and half-width kana
                for (size_t k = i; k < i + units; ++k)
                    width += cp932 && image[k] >= 0x80 && !(image[k] >= 0xFF61 && image[k] <= 0xFF9F) ? 2 : 1;
            }
            starts_.push_back({i, at_});
            i += units;
            at_ += width;
        }
        starts_.push_back({t.size(), at_});
    }
    size_t Position(size_t unit) const {
        size_t p = 0;
        for (auto [u, pos] : starts_)
            if (u <= unit) p = pos;
        return p;
    }
    size_t UnitOf(size_t position) const {
        size_t u = 0;
        for (auto [unit, pos] : starts_)
            if (pos <= position) u = unit;
        return u;
    }
    // Remove's widening: one position out on each side, as the control takes it.
    std::optional<std::pair<size_t, size_t>> Widen(size_t s, size_t e) const {
        const size_t ps = Position(s);
        if (ps == 0) return std::nullopt;
        return std::make_pair(UnitOf(ps - 1), UnitOf(Position(e) + 1));
    }

private:
    const std::u16string& t_;
    std::vector<std::pair<size_t, size_t>> starts_;  // each character's unit and position
    size_t at_ = 0;
};

// The ANSI images of the texts in UTF-16, as the IDE makes them: the stand-in
// writes all of them, one after the other, in ANSI (--out) and reads that back
// (--in). One unit for each of a text's, or the test could not say which
// characters the image of a selection holds.
std::vector<std::u16string> Images(const std::string& lang) {
    std::u16string all;
    for (const Text& t : kTexts) all += t.text;
    HostRun to;
    const Result ansi = to.lang(lang).inputUtf8(Utf16ToUtf8(all)).args({"--sequence", "IdentifyPlugIn:1"}).go();
    HostRun back;
    const std::u16string image =
        Utf8ToUtf16(back.lang(lang).input(ansi.out).args({"--sequence", "IdentifyPlugIn:1"}).go().outUtf8);
    EXPECT_EQ(image.size(), all.size());
    std::vector<std::u16string> images;
    size_t at = 0;
    for (const Text& t : kTexts) {
        images.push_back(image.substr(std::min(at, image.size()), t.text.size()));
        at += t.text.size();
    }
    return images;
}

std::u16string Replaced(const std::u16string& all, std::u16string_view with) {
    std::u16string out;
    for (size_t i = 0; i < all.size(); ++i) {
        if (all.compare(i, 2, u"\r\n") == 0) out += with, ++i;
        else out += all[i];
    }
    return out;
}

// What the IDE's own way gives: the command on the image of the selection (or
// of the whole text), written back only when it changed it.
std::u16string IdesWay(const Editor& ed, const Counting& counting, const std::u16string& t,
                       const std::u16string& image, size_t s, size_t e, int index) {
    // A rich edit control gives a CR LF as a lone CR and makes any CR a CR LF.
    auto sel = [&](size_t a, size_t b) {
        const std::u16string part = image.substr(a, b - a);
        return ed.loneCr ? Replaced(part, u"\r") : part;
    };
    auto back = [&](size_t a, size_t b, const std::u16string& x) {
        std::u16string in;
        for (char16_t c : ed.rich ? Replaced(x, u"\r") : x)
            in += ed.rich && (c == u'\r' || c == u'\n') ? u"\r\n" : std::u16string(1, c);
        return t.substr(0, a) + in + t.substr(b);
    };
    auto whole = [&](const std::u16string& r) { return r == image ? t : r; };
    const std::u16string selected = sel(s, e);
    auto onSelection = [&](const std::u16string& r) { return r == selected ? t : back(s, e, r); };
    switch (index) {
        case 1: return s < e ? onSelection(ref::TrimTrailingSpaces(selected)) : whole(ref::TrimTrailingSpaces(image));
        case 2: return whole(ref::ExpandTabs(image, 4));
        case 3: return s < e ? onSelection(ref::SqueezeBlankLines(selected)) : whole(ref::SqueezeBlankLines(image));
        default: break;
    }
    if (index >= 5 && index <= 9) {
        const auto* pair = quill::commands::PairOf(index - 5);
        return back(s, e, pair->open + selected + pair->close);
    }
    if (index < 10 || index > 14) return t;
    auto inner = [](const std::u16string& x) { return x.size() > 2 ? x.substr(1, x.size() - 2) : u""; };
    if (quill::commands::IsEnclosed(selected, index - 10)) return back(s, e, inner(selected));
    const auto w = counting.Widen(s, e);
    if (!w) return t;
    const std::u16string widened = sel(w->first, w->second);
    return quill::commands::IsEnclosed(widened, index - 10) ? back(w->first, w->second, inner(widened)) : t;
}

void Prepare(HostRun& run, const Editor& ed, const Counting& counting, const std::string& lang,
             const std::u16string& text, const Selection& sel) {
    run.lang(lang).inputUtf8(Utf16ToUtf8(text)).pref("TabPosition", "4").args(ed.args);
    if (sel.s < sel.e) {
        size_t a = sel.s, b = sel.e;
        if (ed.rich) a = counting.Position(a), b = counting.Position(b);
        if (sel.rightToLeft) std::swap(a, b);
        run.select(static_cast<int>(a), static_cast<int>(b));
    }
}

class Editors : public testing::TestWithParam<size_t> {};

TEST_P(Editors, EveryCommandGivesTheTrueTextResultOrTheIdesWaySilently) {
    const Editor& ed = kEditors[GetParam()];
    int ideWay = 0, total = 0;
    for (const char* lang : {"en_US.UTF-8", "ja_JP.UTF-8"}) {
        const std::vector<std::u16string> images = Images(lang);
        ASSERT_EQ(images.size(), std::size(kTexts));
        for (size_t n = 0; n < std::size(kTexts); ++n) {
            const Text& t = kTexts[n];
            const std::u16string& image = images[n];
            const Counting counting(ed, t.text, image, lang[0] == 'j');
            for (const Selection& sel : t.selections) {
                SCOPED_TRACE(testing::Message() << ed.name << ", " << lang << ", " << t.what << ", " << sel.s << ":"
                                                << sel.e << (sel.rightToLeft ? " right to left" : ""));
                HostRun run;
                Prepare(run, ed, counting, lang, t.text, sel);
                const Result r = run.args({"--sequence", "IdentifyPlugIn:1,RegisterAll,CreateMenuItems,Each:1:14"})
                                     .go();
                ASSERT_EQ(r.exit, 0) << r.stderrText;
                const auto& snaps = r.report["snapshots"];
                ASSERT_EQ(snaps.size(), 14u);
                // What the editor selects: whole characters of its counting.
                const size_t s = counting.UnitOf(counting.Position(sel.s)), e = counting.UnitOf(counting.Position(sel.e));
                size_t ws = s, we = e;  // half an emoji selected: the whole emoji
                quill::commands::ToWholeCharacters(t.text, ws, we);
                for (const auto& snap : snaps) {
                    const int index = snap["index"];
                    ++total;
                    EXPECT_TRUE(snap["messages"].empty()) << "index " << index;
                    const std::string got = snap["text"];
                    const auto widen = [&](size_t a, size_t b) { return counting.Widen(a, b); };
                    if (got == Utf16ToUtf8(TrueTextResult(t.text, ws, we, index, widen))) continue;
                    EXPECT_FALSE(ed.countsAsEdit) << "index " << index << ": " << got;
                    EXPECT_EQ(got, Utf16ToUtf8(IdesWay(ed, counting, t.text, image, s, e, index)))
                        << "index " << index;
                    ++ideWay;
                }
            }
        }
    }
    // What each editor gave, for the README and the closing note.
    std::printf("[ editors ] %s: %d of %d clicks with the true-text result, %d the IDE's way\n", ed.name,
                total - ideWay, total, ideWay);
}

// KeepStringLiterals on a selection: its context is the one at its true place,
// or, where that is not known, the selection is scanned from its own start and
// the log says so; never the context of a copy elsewhere. In the first text the
// selection stands after the literal and a copy inside it; in the second the
// other way round; in both the copy is where a count of a CR LF as one lands.
// In the third the copy after the selection is where a count of code page
// 932's bytes lands (each Zhe two).
TEST_P(Editors, KeepStringLiteralsTakesTheContextAtTheTruePlace) {
    const Editor& ed = kEditors[GetParam()];
    const struct {
        std::u16string text;
        Selection sel;
        const char* lang = "en_US.UTF-8";
    } cases[] = {{u"\r\n\r\n\r\n\r\n\r\n'x  \r\n'x  \r\n", {17, 22}},
                 {u"\r\n\r\n\r\n\r\n\r\nx  \r\n'x  \r\n'", {16, 21}},
                 {u"\r\n\r\n\r\n\r\n\r\nx  \r\n'x  \r\n'", {16, 21, true}},
                 {u"\u0416\u0416\u0416\u0416\u0416\u0416'x  \r\n'x  \r\n", {7, 12}, "ja_JP.UTF-8"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << ed.name << ", " << c.lang << ", " << Utf16ToUtf8(c.text));
        const Counting counting(ed, c.text, c.text, c.lang[0] == 'j');
        HostRun run;
        Prepare(run, ed, counting, c.lang, c.text, c.sel);
        quilltest::WriteFile(run.pluginDir() + "/Quillmendex.ini", "[Settings]\r\nKeepStringLiterals=1\r\nLogging=1\r\n");
        const Result r = run.click(1).go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_TRUE(r.Messages().empty());
        const std::u16string part = c.text.substr(c.sel.s, c.sel.e - c.sel.s);
        const std::u16string atItsPlace = c.text.substr(0, c.sel.s) + ref::TrimKeepingLiterals(part, c.text, c.sel.s) +
                                          c.text.substr(c.sel.e);
        // Scanned from its own start: the selection as the IDE gives it.
        const std::u16string given = ed.loneCr ? Replaced(part, u"\r") : part;
        const std::u16string trimmed = ref::TrimKeepingLiterals(given, given, 0);
        const std::u16string alone =
            trimmed == given ? c.text : c.text.substr(0, c.sel.s) + trimmed + c.text.substr(c.sel.e);
        const std::string log = quilltest::ReadFile(run.pluginDir() + "/Quillmendex.dbg");
        const bool ownStart = log.find("scanned from its own start") != std::string::npos;
        EXPECT_EQ(r.outUtf8, Utf16ToUtf8(ownStart ? alone : atItsPlace)) << log;
        EXPECT_FALSE(ed.countsAsEdit && ownStart) << log;
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, Editors, testing::Range(size_t{0}, std::size(kEditors)), [](const auto& info) {
    std::string name;
    for (const char* c = kEditors[info.param].name; *c; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
    return name;
});

TEST(EditorOption, UnknownKindsAndPositionsAreUsageErrors) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--editor", "scintilla"}, "--editor wants edit, richedit, plain, unicode or richlike"},
        {{"--positions", "bytes"}, "--positions wants units, codepoints, utf8 or ansi"},
        {{"--positions", "utf8,crlf-two"}, "--positions wants units, codepoints, utf8 or ansi"},
        {{"--editor", "edit", "--positions", "utf8"}, "--positions is for the stand-in's own editors"},
        {{"--selected-text", "lf"}, "--selected-text wants crlf"},
    };
    for (const auto& [args, error] : cases) {
        HostRun run;
        const Result r = run.input("x").args(args).click(1).go();
        EXPECT_EQ(r.exit, 2);
        EXPECT_NE(r.stderrText.find(error), std::string::npos) << r.stderrText;
    }
}

}  // namespace
