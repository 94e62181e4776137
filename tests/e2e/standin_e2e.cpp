// The stand-in's own options, through the real stand-in under Wine: the editor
// text from and to UTF-8, the control's text limit, the plug-in's questions to
// the editor window with their answers spoilt on purpose, and what the About
// export returned. The window's answers are asked by the probe plug-in
// (tests/e2e/testplugin/probe_plugin.c), which shows what it got in a message box.
#include <gtest/gtest.h>

#include "harness.h"

namespace {

using quilltest::HostRun;
using quilltest::json;
using quilltest::Result;

// Cyrillic, Greek, an emoji (a surrogate pair in UTF-16) and CJK: none in code
// page 1252, only some in 932.
const std::string kMixed = "Привет, Ωμέγα \xF0\x9F\x98\x80 漢字\r\n\tword end";

size_t Utf16Length(const std::string& utf8) {
    size_t n = 0;
    for (unsigned char c : utf8) n += (c & 0xC0) != 0x80 ? 1 : 0;  // a character: one lead byte
    for (unsigned char c : utf8) n += c >= 0xF0 ? 1 : 0;           // beyond U+FFFF: two units
    return n;
}

TEST(StandinUtf8, TextRoundTripsUnchangedInCodePages1252And932) {
    for (auto [lang, codePage] : {std::pair{"en_US.UTF-8", 1252}, {"ja_JP.UTF-8", 932}}) {
        SCOPED_TRACE(lang);
        HostRun run;
        const Result r = run.lang(lang).inputUtf8(kMixed).select(0, -1).go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.report["ansi_code_page"], codePage);
        EXPECT_EQ(r.outUtf8, kMixed);
        EXPECT_EQ(r.report["selection"], json::array({0, Utf16Length(kMixed)}));
        if (codePage == 1252) EXPECT_EQ(r.out.substr(0, 7), "??????,");  // --out stays ANSI
    }
}

TEST(StandinUtf8, AByteOrderMarkIsSkippedOnlyAtTheStart) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::pair<std::string, std::string> cases[] = {
        {bom + "abc", "abc"}, {bom, ""}, {bom + bom + "x", bom + "x"}, {"x" + bom, "x" + bom}, {"", ""},
        // The last characters before and after the surrogates, U+FFFF and U+10FFFF.
        {"\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF", "\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF"},
    };
    for (const auto& [in, text] : cases) {
        SCOPED_TRACE(testing::PrintToString(in));
        HostRun run;
        const Result r = run.inputUtf8(in).go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.outUtf8, text);
    }
}

TEST(StandinUtf8, WhatIsNotUtf8OrHoldsANulIsAUsageError) {
    const std::pair<const char*, std::string> cases[] = {
        {"overlong, 2 bytes", "a\xC0\xAF"},
        {"overlong, 3 bytes", "a\xE0\x80\xAF"},
        {"overlong, 4 bytes", "a\xF0\x80\x80\xAF"},
        {"high surrogate", "a\xED\xA0\x80"},
        {"low surrogate", "a\xED\xB0\x80"},
        {"surrogate pair encoded one by one", "\xED\xA0\xBD\xED\xB8\x80"},
        {"cut off at the end", "a\xE2\x82"},
        {"cut off before an ASCII byte", "a\xF0\x9F\x98x"},
        {"stray continuation byte", "a\x80"},
        {"continuation byte too many", "\xC3\xA9\xA9"},
        {"above U+10FFFF", "\xF4\x90\x80\x80"},
        {"bytes UTF-8 never has", "\xFE\xFF"},
        {"invalid after a byte-order mark", "\xEF\xBB\xBF\xC0\x80"},
        {"NUL", std::string("a\0b", 3)},
        {"NUL after a byte-order mark", std::string("\xEF\xBB\xBF\0", 4)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        HostRun run;
        const Result r = run.inputUtf8(bytes).click(1).go();
        EXPECT_EQ(r.exit, 2);
        EXPECT_NE(r.stderrText.find(bytes.find('\0') == std::string::npos ? "not UTF-8" : "NUL"), std::string::npos)
            << r.stderrText;
        EXPECT_TRUE(r.report.is_null());  // nothing ran
    }
}

TEST(StandinUtf8, OtherUsageErrors) {
    const std::vector<std::string> cases[] = {
        {"--in", "Z:\\nowhere"},  // with the harness's --in-utf8
        {"--window-fault", "short"},
        {"--limit-text", "-1"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args[0]);
        HostRun run;
        const Result r = run.inputUtf8("a").args(args).go();
        EXPECT_EQ(r.exit, 2);
        EXPECT_NE(r.stderrText.find("usage:"), std::string::npos) << r.stderrText;
    }
}

// HostGetText hands the plug-in the ANSI image of the window's text: what the
// code page lacks comes as '?'.
TEST(StandinUtf8, HostGetTextGivesTheAnsiImage) {
    const struct {
        const char *lang, *text, *bytes;
    } cases[] = {
        {"en_US.UTF-8", "Жa€", "HostGetText: 3F 61 80"},
        {"ja_JP.UTF-8", "漢Жa", "HostGetText: 8A BF 84 47 61"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang);
        HostRun run;
        const Result r = run.plugin(quilltest::ProbePlugin()).lang(c.lang).inputUtf8(c.text).click(3).go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.Messages(), std::vector<std::string>{c.bytes});
    }
}

// A command of the real plug-in on an ANSI-safe selection leaves the rest,
// which no ANSI code page holds whole, as it was.
TEST(StandinUtf8, ACommandKeepsTheCharactersItDoesNotTouch) {
    const size_t word = Utf16Length(kMixed.substr(0, kMixed.find("word")));
    std::string expected = kMixed;
    expected.replace(kMixed.find("word"), 4, "(word)");
    for (const char* lang : {"en_US.UTF-8", "ja_JP.UTF-8"}) {
        SCOPED_TRACE(lang);
        HostRun run;
        const Result r = run.lang(lang).inputUtf8(kMixed).select(int(word), int(word) + 4).click(5).go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.outUtf8, expected);
    }
}

TEST(StandinUtf8, ALoneSurrogateIsWrittenAsReplacementCharacter) {
    HostRun run;
    const Result r = run.plugin(quilltest::ProbePlugin()).inputUtf8("ab").select(1, 1).click(2).go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.outUtf8, "a<\xEF\xBF\xBD>b");
}

// The probe's WM_GETTEXTLENGTH, WM_GETTEXT (a buffer of length + 1), EM_GETSEL
// and EM_GETLIMITTEXT on "Ж😀bc€" (6 UTF-16 units) with 1:3 selected: the
// report records what the probe got, and the host's own access (HostGetText,
// the report's selection, the text written out) is never spoilt or recorded.
TEST(StandinWindow, RecordsThePlugInsQuestionsAndTheirSpoiltAnswers) {
    const std::string text = "Ж\xF0\x9F\x98\x80" "bc€";
    const struct {
        std::vector<std::string> faults;
        int copied;
        const char* first;
        int start, end;
        long answer;
    } cases[] = {
        {{}, 6, "0416", 1, 3, 3 << 16 | 1},
        {{"short-text"}, 5, "0416", 1, 3, 3 << 16 | 1},
        {{"nul-text"}, 6, "0000", 1, 3, 3 << 16 | 1},
        {{"sel-outside"}, 6, "0416", 1, 11, 11 << 16 | 1},
        {{"sel-reversed"}, 6, "0416", 3, 1, 1 << 16 | 3},
        {{"sel-reversed", "sel-outside", "nul-text", "short-text"}, 5, "0000", 11, 1, 1 << 16 | 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.faults));
        HostRun run;
        run.plugin(quilltest::ProbePlugin()).inputUtf8(text).select(1, 3).args({"--limit-text", "40"});
        for (const auto& f : c.faults) run.args({"--window-fault", f});
        const Result r = run.click(1).click(3).go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        const std::string shown = "length 6, copied " + std::to_string(c.copied) + ", first " + c.first +
                                  ", selection " + std::to_string(c.start) + " " + std::to_string(c.end) +
                                  ", answer " + std::to_string(c.answer) + ", limit 40";
        EXPECT_EQ(r.Messages(), (std::vector<std::string>{shown, "HostGetText: 3F 3F 3F 62 63 80"}));
        std::vector<std::string> asked;
        for (const auto& name : r.CallNames())
            if (name.rfind("EM_", 0) == 0 || name.rfind("WM_", 0) == 0) asked.push_back(name);
        EXPECT_EQ(asked, (std::vector<std::string>{"WM_GETTEXTLENGTH", "WM_GETTEXT", "EM_GETSEL", "EM_GETLIMITTEXT"}));
        EXPECT_EQ(r.Calls("WM_GETTEXTLENGTH")[0]["result"], 6);
        EXPECT_EQ(r.Calls("WM_GETTEXT")[0]["args"], json::array({7}));
        EXPECT_EQ(r.Calls("WM_GETTEXT")[0]["result"], c.copied);
        for (const char* timed : {"WM_GETTEXTLENGTH", "WM_GETTEXT"}) EXPECT_GE(r.Calls(timed)[0].value("ms", -1.0), 0);
        EXPECT_EQ(r.Calls("EM_GETSEL")[0]["result"], json::array({c.start, c.end}));
        EXPECT_EQ(r.Calls("EM_GETLIMITTEXT")[0]["result"], 40);
        EXPECT_EQ(r.report["selection"], json::array({1, 3}));
        EXPECT_EQ(r.outUtf8, text);
    }
}

// A long text: EM_GETSEL's answer is -1 once an end does not fit in a word, and
// WM_GETTEXT puts no text into the report.
TEST(StandinWindow, ALongTextStaysOutOfTheReport) {
    std::string text;
    while (text.size() < 300000) text += "Жжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжжж\r\n";
    const std::string n = std::to_string(Utf16Length(text));
    HostRun run;
    const Result r = run.plugin(quilltest::ProbePlugin()).inputUtf8(text).args({"--window-fault", "sel-outside"})
                         .click(1).go();
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    ASSERT_EQ(r.Messages().size(), 1u);
    EXPECT_EQ(r.Messages()[0].substr(0, r.Messages()[0].find(", limit")),
              "length " + n + ", copied " + n + ", first 0416, selection 0 " + std::to_string(Utf16Length(text) + 5) +
                  ", answer -1");
    EXPECT_LT(quilltest::ReadFile(run.dir / "report.json").size(), 50000u);  // the text is 300 kB
    EXPECT_EQ(r.outUtf8, text);
}

// The control keeps the limit: Add () on the whole of "word" fits only in part.
TEST(StandinLimit, TheControlHoldsNoMoreThanTheLimit) {
    for (auto [limit, out] : {std::pair{"5", "(word"}, {"6", "(word)"}}) {
        SCOPED_TRACE(limit);
        HostRun run;
        const Result r = run.inputUtf8("word").select(0, 4).args({"--limit-text", limit}).click(5).go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.outUtf8, out);
    }
}

TEST(StandinAbout, TheReportGivesWhatAboutReturned) {
    const std::string probe = quilltest::ProbePlugin();
    const struct {
        std::string plugin, sequence, env;
        json expected;  // a string, null, or "absent" when there is no field
    } cases[] = {
        {"", "IdentifyPlugIn:1,RegisterAll,CreateMenuItems,About,OnDestroy", "", ""},
        {"", "IdentifyPlugIn:1,RegisterAll,CreateMenuItems,OnDestroy", "", "absent"},
        {probe, "IdentifyPlugIn:1,RegisterAll,About", "", nullptr},
        {probe, "IdentifyPlugIn:1,RegisterAll,About", "PROBE_ABOUT=Probe ä", "Probe ä"},  // 0xE4 in 1252
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sequence + " " + c.env);
        HostRun run;
        if (!c.plugin.empty()) run.plugin(c.plugin);
        if (!c.env.empty()) run.args({"--env", c.env});
        const Result r = run.args({"--sequence", c.sequence}).go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        if (c.expected == "absent")
            EXPECT_FALSE(r.report.contains("about_result"));
        else
            EXPECT_EQ(r.report["about_result"], c.expected);
    }
}

}  // namespace

// The stack at each call into the plug-in: the 32-bit stand-in leaves it at 4
// modulo 16, as a 32-bit IDE may, unless --stack-align 16; Windows x64 always
// has 16. The probe reads where its own frame stands.
TEST(StandinStack, CallsThePlugInWithTheStackAlignedAsItSays) {
    const bool x86 = quilltest::Arch() == "x86";
    const struct {
        std::vector<std::string> args;
        int alignment;  // the report's "stack_alignment"
        const char* said;
    } cases[] = {
        {{}, x86 ? 4 : 16, x86 ? "stack at 4 modulo 16" : "stack at 0 modulo 16"},
        {{"--stack-align", "16"}, 16, "stack at 0 modulo 16"},
        {{"--stack-align", "4"}, x86 ? 4 : 16, x86 ? "stack at 4 modulo 16" : "stack at 0 modulo 16"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "no option" : c.args[1]);
        HostRun run;
        const Result r = run.plugin(quilltest::ProbePlugin()).input("a").args(c.args).click(4).go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.report["architecture"], quilltest::Arch());
        EXPECT_EQ(r.report["stack_alignment"], c.alignment);
        EXPECT_EQ(r.Messages(), std::vector<std::string>{c.said});
    }
    HostRun run;
    EXPECT_EQ(run.args({"--stack-align", "8"}).go().exit, 2);
}
