// Large and odd editor texts, end to end: each command's result is checked
// against the straightforward replacement, and the stand-in's peak memory
// during the command is compared with the size of the text in UTF-16.
//
// Outcomes go to the README table "inputs" (QUILL_TABLES_DIR); the measured
// figures are printed, for the record.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "commands/reference_for_tests.h"
#include "harness.h"

namespace {

using quilltest::HostRun;
using quilltest::Result;

// The whitespace transforms only look at space, tab, CR and LF, which are the
// same single bytes in code pages 1252 and 932 (no second byte of a double-byte
// character is one of them), so the expected text can be worked out on bytes.
std::u16string Widen(const std::string& bytes) {
    std::u16string w(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i) w[i] = static_cast<unsigned char>(bytes[i]);
    return w;
}

std::string Narrow(const std::u16string& w) {
    std::string s(w.size(), '\0');
    for (size_t i = 0; i < w.size(); ++i) s[i] = static_cast<char>(w[i]);
    return s;
}

std::string Expected(int command, const std::string& text, int tabWidth) {
    namespace ref = quill::commands::reference;
    switch (command) {
        case 1: return Narrow(ref::TrimTrailingSpaces(Widen(text)));
        case 2: return Narrow(ref::ExpandTabs(Widen(text), tabWidth));
        case 3: return Narrow(ref::SqueezeBlankLines(Widen(text)));
        default: return {};
    }
}

// PL/SQL-like lines with trailing spaces, tabs and blank lines, to `size` bytes.
std::string PlsqlText(size_t size) {
    static const char* lines[] = {
        "CREATE OR REPLACE PACKAGE BODY billing AS  ",
        "  PROCEDURE close_month(p_month IN DATE) IS",
        "\tv_total NUMBER := 0;   ",
        "  BEGIN",
        "",
        "    UPDATE invoices SET status = 'CLOSED'\t",
        "     WHERE period = p_month; ",
        "",
        "",
        "  END close_month;",
    };
    std::string text;
    text.reserve(size + 64);
    std::mt19937 rng(7);
    while (text.size() < size) {
        text += lines[rng() % 10];
        text += "\r\n";
    }
    text.resize(size);
    return text;
}

struct Measured {
    std::string input, command;
    bool correct = false;
    double peakRatio = 0;  // peak private bytes during the run over the text's UTF-16 size
    double ms = 0;
    bool large = false;
};

std::vector<Measured>& Table() {
    static std::vector<Measured> rows;
    return rows;
}

// Each test runs in a process of its own (ctest runs them side by side), so each
// writes its rows as one part of the table, keyed by where the test stands in
// this file; scripts/readme-tables.sh joins the parts in that order.
void WriteTableRows() {
    if (Table().empty()) return;
    char key[16];
    std::snprintf(key, sizeof key, "%05d", ::testing::UnitTest::GetInstance()->current_test_info()->line());
    std::vector<std::string> rows;
    for (const auto& m : Table())
        rows.push_back("| " + m.input + " | " + m.command + " | " + (m.correct ? "correct" : "WRONG") + " | " +
                       (!m.large ? "(small text)" : m.peakRatio < 4 ? "yes" : "no") + " |");
    quilltest::WriteTable(std::string("inputs+") + key,
                          "| Editor text | Command | Result | Memory under 4x the text in UTF-16 |\n|---|---|---|---|\n",
                          rows);
    Table().clear();
}

// One command on one text, in a stand-in of its own so that its peak memory is its own.
void Check(const std::string& name, const std::string& text, int command, const std::string& expected,
           std::vector<std::string> extra = {}, const std::string& lang = "en_US.UTF-8") {
    SCOPED_TRACE(name + ", command " + std::to_string(command));
    HostRun run;
    run.input(text).pref("TabPosition", "4").lang(lang).click(command).args(extra).timeout(1200);
    Result r = run.go();
    Measured m{name, std::to_string(command)};
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    m.correct = r.out == expected;
    EXPECT_TRUE(m.correct) << "sizes " << r.out.size() << " vs " << expected.size();
    EXPECT_TRUE(r.Messages().empty());
    const auto& mem = r.report["memory"];
    const double utf16 = 2.0 * static_cast<double>(text.size());
    const double peak = mem["peak_private"].get<double>() - mem["private_before_run"].get<double>();
    m.peakRatio = peak / utf16;
    const auto& names = r.report["exports"];
    for (size_t i = 0; i < names.size() && i < r.report["export_ms"].size(); ++i)
        if (names[i] == "OnMenuClick") m.ms = r.report["export_ms"][i].get<double>();
    std::printf("[ measure  ] %s, command %d: %.1f MB, %.0f ms, peak %.1f MB over the text (%.2fx its UTF-16 size)\n",
                name.c_str(), command, text.size() / 1e6, m.ms, peak / 1e6, m.peakRatio);
    // A small text only shows the stand-in's fixed costs; the bound is for large ones.
    m.large = text.size() >= (1u << 20);
    if (m.large) EXPECT_LT(m.peakRatio, 4.0);
    Table().push_back(m);
}

class LargeTexts : public ::testing::Test {
protected:
    void TearDown() override { WriteTableRows(); }
};

// 50 MB; 10 MB on x86, whose run comes on top of the x64 one: Wine's edit
// control takes minutes to lay out each 50 MB, and the test command has to stay
// within half an hour.
TEST_F(LargeTexts, FiftyMegabytesOfPlsql) {
    const unsigned mb = quilltest::Arch() == "x86" ? 10 : 50;
    const std::string text = PlsqlText(size_t{mb} << 20);
    for (int command : {1, 2, 3})
        Check(std::to_string(mb) + " MB of PL/SQL, nothing selected", text, command, Expected(command, text, 4));
}

TEST_F(LargeTexts, OneLineOfTenMegabytes) {
    std::string line;
    while (line.size() < (10u << 20)) line += "x := y   \t+ 1;";
    const std::string text = line + "   \r\n";
    for (int command : {1, 2, 3}) Check("one line of 10 MB", text, command, Expected(command, text, 4));
    // Everything selected: the pair commands replace 10 MB through EM_REPLACESEL.
    Check("one line of 10 MB, all selected", text, 5, "(" + text + ")", {"--select", "0:-1"});
    const std::string enclosed = "(" + text + ")";
    Check("one line of 10 MB in (), all selected", enclosed, 10, text, {"--select", "0:-1"});
}

TEST_F(LargeTexts, NulBytesEndTheHostText) {
    // Host text ends at its first NUL: the editor holds what stands before it.
    const std::string before = "a  \r\n\r\n\r\n\tb  \r\n";
    const std::string text = before + std::string(1, '\0') + "c  \r\n";
    for (int command : {1, 2, 3}) Check("text with a NUL byte", text, command, Expected(command, before, 4));
}

TEST_F(LargeTexts, EveryByteOfCodePage1252) {
    std::string bytes;
    for (int b = 1; b < 256; ++b) {
        bytes += static_cast<char>(b);
        if (b % 16 == 0) bytes += "  \r\n\r\n";
    }
    for (int command : {1, 2, 3}) Check("every byte 1 to 255, code page 1252", bytes, command, Expected(command, bytes, 4));
}

TEST_F(LargeTexts, DoubleByteTextInCodePage932) {
    // "表示  " and so on in Shift_JIS; 0x95 0x5C has a backslash as its second byte.
    const std::string hyo = "\x95\x5c", ji = "\x8e\xa6", nihon = "\x93\xfa\x96\x7b", kana = "\x83\x65\x83\x58\x83\x67";
    const std::string text = hyo + ji + "  \r\n\r\n\r\n\t" + nihon + kana + "\t \r\n" + kana;
    for (int command : {1, 2, 3})
        Check("Shift_JIS text, code page 932", text, command, Expected(command, text, 4), {}, "ja_JP.UTF-8");
    // A selection from the middle of one character pair to the middle of the
    // next line: characters, not bytes, are selected, so nothing is cut.
    const std::string sel = ji + "  \r";  // characters 1 to 4
    Check("Shift_JIS, part selected", text, 5, hyo + "(" + sel + ")" + text.substr(hyo.size() + sel.size()),
          {"--select", "1:5"}, "ja_JP.UTF-8");
}

}  // namespace

namespace {

// A TabPosition of a billion made Replace tab by spaces hand the editor 2 GiB,
// and the stand-in ended in gdi32 laying it out. A result no editor can hold is
// refused before it is built: over the editor's limit (EM_GETLIMITTEXT) where
// it tells one, over 256 Mi characters always.
TEST(TooLongResults, AreRefusedWithAMessageAndTheTextStays) {
    const std::string bound = " characters long, more than Quillmendex puts into an editor (268435456).";
    const std::string keeps = " Quillmendex did not make it; the editor keeps its text.";
    const struct {
        const char* tabPosition;
        const char* settings;
        std::vector<std::string> args;
        std::string message, out;
    } cases[] = {
        {"1073741824", "", {}, "The result would make the editor's text 1073741826" + bound + keeps, "a\tb"},
        {"1073741824", "TabStops=1", {}, "The result would make the editor's text 1073741825" + bound + keeps,
         "a\tb"},
        {"2147483647", "", {}, "The result would make the editor's text 2147483649" + bound + keeps, "a\tb"},
        {"268435455", "KeepStringLiterals=1", {}, "The result would make the editor's text 268435457" + bound + keeps,
         "a\tb"},
        // An editor that tells no limit (EM_GETLIMITTEXT 0) gets the bound all the same.
        {"1073741824", "", {"--editor", "plain"}, "The result would make the editor's text 1073741826" + bound + keeps,
         "a\tb"},
        // The editor's limit binds a result written through the window (Ж is
        // outside code page 1252), not one the IDE's set-text call takes.
        {"4", "", {"--limit-text", "5"},
         "The result would make the editor's text 6 characters long, more than the editor takes (5)." + keeps,
         "\xd0\x96\tb"},
        {"4", "TabStops=1", {"--limit-text", "4"},
         "The result would make the editor's text 5 characters long, more than the editor takes (4)." + keeps,
         "\xd0\x96\tb"},
        {"4", "", {"--limit-text", "6"}, "", "\xd0\x96    b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tabPosition) + " " + c.settings + " " + testing::PrintToString(c.args));
        HostRun run;
        quilltest::WriteFile(run.pluginDir() + "/Quillmendex.ini", std::string("[Settings]\r\n") + c.settings + "\r\n");
        const Result r = run.inputUtf8(!c.args.empty() && c.args[0] == "--limit-text" ? "\xd0\x96\tb" : "a\tb")
                             .pref("TabPosition", c.tabPosition)
                             .args(c.args)
                             .click(2)
                             .go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(r.outUtf8, c.out);
        EXPECT_EQ(r.Messages(), c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
        if (!c.message.empty()) EXPECT_TRUE(r.Calls("HostSetText").empty());
    }
}

}  // namespace
