#include "host/commandlog.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace quill::plugin {
namespace {

using commands::Outcome;

TEST(CommandLog, OneLineSaysWhatTheCommandDid) {
    Outcome whole;
    whole.scope = Outcome::Scope::Whole;
    whole.read = 120;
    whole.changed = true;
    whole.way = Outcome::Way::HostSetText;
    whole.written = 112;
    Outcome lossy = whole;
    lossy.scope = Outcome::Scope::Selection;
    lossy.read = 1;
    lossy.written = 3;
    lossy.way = Outcome::Way::Window;
    lossy.lossy = true;
    lossy.keepLiterals = true;
    Outcome dropped = lossy;
    dropped.way = Outcome::Way::Nothing;
    dropped.lossy = false;
    dropped.notWritten = Outcome::NotWritten::NoEditorWindow;
    Outcome noSetText = whole;
    noSetText.way = Outcome::Way::Nothing;
    noSetText.notWritten = Outcome::NotWritten::NoHostSetText;
    Outcome overLimit = lossy;
    overLimit.way = Outcome::Way::Nothing;
    overLimit.notWritten = Outcome::NotWritten::OverLimit;
    overLimit.literalsFromOwnStart = true;
    Outcome unchanged;
    unchanged.scope = Outcome::Scope::Selection;
    Outcome stops = whole;  // Replace tab by spaces
    stops.tabStops = true;
    Outcome noStops = Outcome{};
    noStops.tabStops = false;
    const struct {
        Outcome outcome;
        bool literals;
        double ms;
        std::u16string message, line;
    } cases[] = {
        {whole, true, 2.6, u"",
         u"C: whole text; read 120 characters; wrote 112 characters through HostSetText; IDE text exact; "
         u"KeepStringLiterals off; 3 ms"},
        {lossy, true, 0.2, u"",
         u"C: selection; read 1 character; wrote 3 characters through the editor window in UTF-16; the IDE's text "
         u"was a lossy image of the editor's; KeepStringLiterals on; 0 ms"},
        {dropped, false, 1, u"",
         u"C: selection; read 1 character; changed, but wrote nothing (no editor window); IDE text exact; 1 ms"},
        {noSetText, false, 1, u"m",
         u"C: whole text; read 120 characters; changed, but wrote nothing (no HostSetText); IDE text exact; 1 ms; "
         u"message: \"m\""},
        {overLimit, true, 1, u"",
         u"C: selection; read 1 character; changed, but wrote nothing (over the editor's limit); the IDE's text was a "
         u"lossy image of the editor's; KeepStringLiterals on (the selection scanned from its own start: what stands "
         u"before it was not known); 1 ms"},
        {unchanged, false, 1, u"",
         u"C: selection; read 0 characters; unchanged; IDE text exact; 1 ms"},
        {stops, true, 1, u"",
         u"C: whole text; read 120 characters; wrote 112 characters through HostSetText; IDE text exact; "
         u"KeepStringLiterals off; TabStops on; 1 ms"},
        {noStops, true, 0, u"'x' is not a valid integer value",
         u"C: nothing read; KeepStringLiterals off; TabStops off; 0 ms; message: \"'x' is not a valid integer value\""},
        {Outcome{}, false, 0, u"'x' is not a valid integer value",
         u"C: nothing read; 0 ms; message: \"'x' is not a valid integer value\""},
    };
    for (const auto& c : cases) EXPECT_EQ(CommandLogLine("C", c.outcome, c.literals, c.ms, c.message), c.line);
    EXPECT_EQ(AboutLogLine("[Quillmendex] About", 5321.4, u""), u"[Quillmendex] About: 5321 ms");
    EXPECT_EQ(LoadLogLine(u"2.2.64.71", 64, u"C:\\p\\Quillmendex.dll", u"C:\\p\\Quillmendex.ini", 1252),
              u"Quillmendex 2.2.64.71, 64-bit; plug-in C:\\p\\Quillmendex.dll; settings C:\\p\\Quillmendex.ini; "
              u"ANSI code page 1252");
}

}  // namespace
}  // namespace quill::plugin
