// The settings file as a user keeps it (comments, blank lines, spaces around
// "=", lines ended by LF only, text of the ANSI code page), after the plug-in
// has written to it through the platform's private-profile functions: by the
// settings dialog's OK and at OnDestroy, under code pages 1252 and 932.
//
// Under Wine (where these tests run) WritePrivateProfileStringW, when it
// changes a value, reads the whole file through its encoding (the ANSI code page when it has no byte order
// mark) and writes all of it back: comments, sections, keys, their order and
// case, and every value's text stay; blank lines go, as do spaces and tabs at
// a line's ends and around "="; every line ends in CR LF. Under 1252 every byte
// comes back as it was; under 932 a byte that is no character of the code page
// comes back as U+30FB (bytes 81 45) together with the byte after it, which
// may be the LF that ended its line, and a character that 932 has twice (the
// NEC and IBM rows) comes back in its other form. A value written as it
// already stands leaves the file as it was, byte for byte.
#include <gtest/gtest.h>

#include "harness.h"

namespace {

using quilltest::HostRun;
using quilltest::ReadFile;
using quilltest::Result;
using quilltest::WriteFile;

std::string AllHighBytes() {
    std::string s;
    for (int b = 0x80; b <= 0xFF; ++b) s += static_cast<char>(b);
    return s;
}

// Written by hand in a Western Windows: "Zoë Müller".
// Left as the OnDestroy cases have it: 0x10 reads as 16, so 16 is written.
std::string File1252(const std::string& left = "-5") {
    return "; Quillmendex, kept by hand\r\n"
    "\r\n"
    "[Other]\r\n"
    "  Name = Zo\xeb M\xfcller  \r\n"
    "\tPath\t=\tC:\\Temp\\a b\t\r\n"
    "Bytes=" + AllHighBytes() + "\r\n"
    "\r\n"
    "[Settings]\r\n"
    "Logging = 0\r\n"
    "KeepStringLiterals=0\r\n"
    "SavePosition=1\r\n"
    "Left=" + left + "\r\n"
    "Top=7\r\n"
    "\r\n"
    "[Tail]\n"
    "Z=\xe9\n"
    "last=no line end";
}

std::string After1252(const std::string& keep, const std::string& left = "-5") {
    return "; Quillmendex, kept by hand\r\n"
           "[Other]\r\n"
           "Name=Zo\xeb M\xfcller\r\n"
           "Path=C:\\Temp\\a b\r\n"
           "Bytes=" + AllHighBytes() + "\r\n"
           "[Settings]\r\n"
           "Logging=0\r\n"
           "KeepStringLiterals=" + keep + "\r\n"
           "SavePosition=1\r\n"
           "Left=" + left + "\r\n"
           "Top=7\r\n"
           "[Tail]\r\n"
           "Z=\xe9\r\n"
           "last=no line end\r\n";
}

// Written by hand in a Japanese Windows: "設定" and "山田" in code page 932,
// "\xed\x40" a character of the NEC-selected IBM rows (also "\xfa\x5c"), and
// bytes that are no character of 932: "\xe9" before a CR LF and before an LF.
std::string File932(const std::string& left = "-5") {
    return "; \x90\xdd\x92\xe8\r\n"
    "\r\n"
    "[Other]\r\n"
    "Name = \x8e\x52\x93\x63  \r\n"
    "Kanji=\xed\x40\r\n"
    "\r\n"
    "[Settings]\r\n"
    "KeepStringLiterals = 0\r\n"
    "SavePosition=1\r\n"
    "Left=" + left + "\r\n"
    "Top=7\r\n"
    "\r\n"
    "[Tail]\r\n"
    "Z=\xe9\r\n"
    "Lone=\xe9\n"
    "Next=1\r\n";
}

std::string After932(const std::string& keep, const std::string& left = "-5") {
    return "; \x90\xdd\x92\xe8\r\n"
           "[Other]\r\n"
           "Name=\x8e\x52\x93\x63\r\n"
           "Kanji=\xfa\x5c\r\n"
           "[Settings]\r\n"
           "KeepStringLiterals=" + keep + "\r\n"
           "SavePosition=1\r\n"
           "Left=" + left + "\r\n"
           "Top=7\r\n"
           "[Tail]\r\n"
           "Z=\x81\x45\r\n"
           "Lone=\x81\x45Next=1\r\n";  // the LF went with the byte before it: two lines became one
}

TEST(SettingsFile, WhatThePlatformKeepsOfTheUsersFileWhenThePlugInWrites) {
    const std::string dialog = "IdentifyPlugIn:1,RegisterAll,OnCreate,CreateMenuItems,OnActivate,Configure";
    const std::string destroy = "IdentifyPlugIn:1,RegisterAll,OnCreate,CreateMenuItems,OnActivate,OnDestroy";
    const struct {
        const char* lang;
        std::string before, sequence, after;
    } cases[] = {
        {"en_US.UTF-8", File1252(), dialog, After1252("1")},
        {"en_US.UTF-8", File1252("0x10"), destroy, After1252("0", "16")},
        {"ja_JP.UTF-8", File932(), dialog, After932("1")},
        {"ja_JP.UTF-8", File932("0x10"), destroy, After932("0", "16")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lang) + " " + c.sequence.substr(c.sequence.rfind(',') + 1));
        HostRun run;
        const std::string ini = run.pluginDir() + "/Quillmendex.ini";
        WriteFile(ini, c.before);
        const Result r = run.lang(c.lang).args({"--sequence", c.sequence, "--dialog", "check:Keep;click:OK"}).go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_TRUE(r.Messages().empty());
        EXPECT_EQ(ReadFile(ini), c.after);
    }
}

// Nothing is written without a change to write, and the values OnDestroy
// writes as they already stand change nothing either: the file stays byte for
// byte, blank lines, spaces and all.
TEST(SettingsFile, UntouchedWhenNoValueChanges) {
    const std::string sequence = "IdentifyPlugIn:1,RegisterAll,OnCreate,CreateMenuItems,Configure,OnDestroy";
    const struct {
        const char* lang;
        std::string before, dialog;
    } cases[] = {
        {"en_US.UTF-8", File1252(), "check:Keep;click:Cancel"},
        {"ja_JP.UTF-8", File932(), "key:ENTER"},  // OK with nothing changed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lang) + " " + c.dialog);
        HostRun run;
        const std::string ini = run.pluginDir() + "/Quillmendex.ini";
        WriteFile(ini, c.before);
        const Result r = run.lang(c.lang).args({"--sequence", sequence, "--dialog", c.dialog}).go();
        ASSERT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_EQ(ReadFile(ini), c.before);
    }
}

}  // namespace
