// Locating, probing, moving and the settings values, against real files under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include "base/error.h"
#include "settings/locate.h"
#include "settings/logger.h"
#include "base/hosttext_win.h"
#include "settings/settings_win.h"
#include "settings/wintest_util.h"

namespace {

using quilltest::Exists;
using quilltest::U16;
using quilltest::ReadBytes;
using quilltest::TempFolder;
using quilltest::WriteBytes;

std::string Ansi(const std::wstring& s) { return quill::ToAnsi(U16(s)); }

// A folder on the Z: drive (the Unix /tmp), where the user's temp folder is on C:.
std::wstring UnixTemp() { return L"Z:\\tmp"; }

TEST(IsFolderWritable, ProbeLeavesNothingBehind) {
    TempFolder folder;
    EXPECT_TRUE(quill::IsFolderWritable(U16(folder.path())));
    EXPECT_TRUE(quill::IsFolderWritable(U16(folder.path() + L"\\")));
    EXPECT_FALSE(Exists(folder / L"chk.tmp"));
    EXPECT_FALSE(quill::IsFolderWritable(U16(folder / L"missing")));
}

TEST(IsFolderWritable, StaleProbeCountsAsNotWritableOnceAndIsRemoved) {
    TempFolder folder;
    WriteBytes(folder / L"chk.tmp", "left over");
    EXPECT_FALSE(quill::IsFolderWritable(U16(folder.path())));
    EXPECT_FALSE(Exists(folder / L"chk.tmp"));
    EXPECT_TRUE(quill::IsFolderWritable(U16(folder.path())));
}

TEST(IsFolderWritable, ProbeFileInUseStays) {
    TempFolder folder;
    const std::wstring probe = folder / L"chk.tmp";
    HANDLE held = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(quill::IsFolderWritable(U16(folder.path())));
    CloseHandle(held);
    EXPECT_TRUE(Exists(probe));
}

class Move : public ::testing::Test {
protected:
    void ExpectMoved(const std::wstring& from, const std::wstring& to) {
        WriteBytes(from, "[Settings]\r\nLeft=3\r\n");
        quill::MoveSettingsFile(Ansi(from), Ansi(to));
        EXPECT_FALSE(Exists(from));
        EXPECT_EQ(ReadBytes(to), "[Settings]\r\nLeft=3\r\n");
    }
    TempFolder roaming;
};

TEST_F(Move, RenamesOnTheSameDrive) {
    CreateDirectoryW((roaming / L"EditorPro").c_str(), nullptr);
    ExpectMoved(roaming / L"Quillmendex.ini", roaming / L"EditorPro\\Quillmendex.ini");
}

TEST_F(Move, CopiesAndDeletesAcrossDrives) {
    TempFolder other(UnixTemp());
    ASSERT_FALSE(quill::SameRoot(U16(other.path()), U16(roaming.path())));
    ExpectMoved(other / L"Quillmendex.ini", roaming / L"Quillmendex.ini");
}

TEST_F(Move, RelativePathsAreMadeAbsolute) {
    CreateDirectoryW((roaming / L"EditorPro").c_str(), nullptr);
    wchar_t saved[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, saved);
    SetCurrentDirectoryW(roaming.path().c_str());
    WriteBytes(roaming / L"Quillmendex.ini", "x");
    quill::MoveSettingsFile("Quillmendex.ini", "EditorPro\\Quillmendex.ini");
    SetCurrentDirectoryW(saved);
    EXPECT_EQ(ReadBytes(roaming / L"EditorPro\\Quillmendex.ini"), "x");
}

TEST_F(Move, NothingMovesUnlessEveryConditionHolds) {
    const std::wstring old = roaming / L"Quillmendex.ini";
    CreateDirectoryW((roaming / L"EditorPro").c_str(), nullptr);
    CreateDirectoryW((roaming / L"Folder.ini").c_str(), nullptr);
    WriteBytes(roaming / L"EditorPro\\Quillmendex.ini", "new");
    struct Case {
        const wchar_t* what;
        std::wstring from, to;
    };
    const Case cases[] = {
        {L"target exists", old, roaming / L"EditorPro\\Quillmendex.ini"},
        {L"target folder missing", old, roaming / L"Missing\\Quillmendex.ini"},
        {L"same path", old, old},
        {L"source missing", roaming / L"Nothing.ini", roaming / L"EditorPro\\Nothing.ini"},
        {L"source is a folder", roaming / L"Folder.ini", roaming / L"EditorPro\\Folder.ini"},
        {L"invalid characters", old, roaming / L"EditorPro\\Quill|mendex.ini"},
        {L"too long", old, roaming / (std::wstring(240, L'a') + L".ini")},
    };
    for (const auto& c : cases) {
        WriteBytes(old, "old");
        quill::MoveSettingsFile(Ansi(c.from), Ansi(c.to));
        EXPECT_EQ(ReadBytes(old), "old") << Ansi(c.what);
        EXPECT_EQ(ReadBytes(roaming / L"EditorPro\\Quillmendex.ini"), "new") << Ansi(c.what);
    }
    EXPECT_FALSE(Exists(roaming / L"Missing"));
    quill::MoveSettingsFile("", "");
}

// ReadSettings and WriteSettings on a file of a fresh folder.
class Values : public ::testing::Test {
protected:
    void SetUp() override {
        ini = folder / L"Quillmendex.ini";
        quill::IniFileName = Ansi(ini);
    }
    void TearDown() override {
        quill::IniFileName.clear();
        quill::DisableLogging();
        quill::SetLogFile(u"");
    }
    // The file after reading it and writing it back.
    std::string RoundTrip(const std::string& bytes) {
        WriteBytes(ini, bytes);
        EXPECT_TRUE(quill::ReadSettings());
        EXPECT_TRUE(quill::WriteSettings());
        return ReadBytes(ini);
    }
    TempFolder folder;
    std::wstring ini;
};

TEST_F(Values, LoggingKeySwitchesTheLogToTheDbgFile) {
    const std::pair<const char*, bool> cases[] = {{"1", true}, {"-1", true}, {"2", true}, {"0x10", true},
                                                  {"0", false}, {"true", false}, {"", false}};
    for (const auto& [value, on] : cases) {
        quill::SetLogFile(u"before");
        WriteBytes(ini, std::string("[Settings]\r\nLogging=") + value + "\r\n");
        quill::ReadSettings();
        EXPECT_EQ(quill::IsLoggingEnabled(), on) << value;
        EXPECT_EQ(quill::GetLogFile(), on ? U16(folder / L"Quillmendex.dbg") : u"before") << value;
    }
}

TEST_F(Values, PositionReadAndWrittenBackUnchanged) {
    EXPECT_EQ(RoundTrip("[Settings]\r\nSavePosition=1\r\nLeft=-5\r\nTop=7\r\n"),
              "[Settings]\r\nSavePosition=1\r\nLeft=-5\r\nTop=7\r\n");
    EXPECT_EQ(RoundTrip("[Settings]\r\nSavePosition=-1\r\nLeft=0x10\r\nTop=12abc\r\n"),
              "[Settings]\r\nSavePosition=1\r\nLeft=16\r\nTop=0\r\n");
    EXPECT_EQ(RoundTrip("[Settings]\r\nLeft=$7FFFFFFF\r\nTop=-2147483648\r\n"),
              "[Settings]\r\nLeft=2147483647\r\nTop=-2147483648\r\nSavePosition=1\r\n");
    // A value longer than the read buffer is no number.
    EXPECT_EQ(RoundTrip("[Settings]\r\nLeft=" + std::string(3000, '1') + "\r\n"),
              "[Settings]\r\nLeft=0\r\nSavePosition=1\r\nTop=0\r\n");
}

TEST_F(Values, OtherSectionsAndKeysSurvive) {
    const std::string other = "; kept\r\n[Other]\r\nA=1\r\nB=two words\r\n";
    const std::string tail = "[Tail]\r\nZ=\xe9\r\n";
    EXPECT_EQ(RoundTrip(other + "[settings]\r\nlogging=1\r\nleft=4\r\nExtra=keep\r\n" + tail),
              other + "[settings]\r\nlogging=1\r\nleft=4\r\nExtra=keep\r\nSavePosition=1\r\nTop=0\r\n" + tail);
}

TEST_F(Values, MissingFileReadsDefaultsAndIsCreatedInOrder) {
    EXPECT_TRUE(quill::ReadSettings());
    EXPECT_FALSE(quill::IsLoggingEnabled());
    EXPECT_FALSE(Exists(ini));
    EXPECT_TRUE(quill::WriteSettings());
    EXPECT_EQ(ReadBytes(ini), "[Settings]\r\nSavePosition=1\r\nLeft=0\r\nTop=0\r\n");
}

TEST_F(Values, MissingFolderReadsDefaultsAndFailsToWrite) {
    const std::wstring missing = folder / L"missing\\Quillmendex.ini";
    quill::IniFileName = Ansi(missing);
    EXPECT_TRUE(quill::ReadSettings());
    try {
        quill::WriteSettings();
        ADD_FAILURE() << "no error";
    } catch (const quill::Error& e) {
        EXPECT_EQ(e.text(), u"Unable to write to " + U16(missing));
    }
    EXPECT_FALSE(Exists(folder / L"missing"));
    quill::StoreSettingsSilently();  // contained
}

TEST_F(Values, ExistingFileThatCannotBeReadFailsTheReadAndLeavesTheLogAlone) {
    quill::EnableLogging();
    quill::SetLogFile(u"kept.log");
    // A folder where the file should be.
    CreateDirectoryW(ini.c_str(), nullptr);
    EXPECT_THROW(quill::ReadSettings(), quill::Error);
    RemoveDirectoryW(ini.c_str());
    // A file another program holds open without sharing.
    WriteBytes(ini, "[Settings]\r\nLogging=0\r\n");
    HANDLE held = CreateFileW(ini.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_THROW(quill::ReadSettings(), quill::Error);
    CloseHandle(held);
    EXPECT_TRUE(quill::IsLoggingEnabled());
    EXPECT_EQ(quill::GetLogFile(), u"kept.log");
    // Once it can be read again, it is.
    EXPECT_TRUE(quill::ReadSettings());
    EXPECT_FALSE(quill::IsLoggingEnabled());
}

TEST_F(Values, NoSettingsPathIsAFailureNotAFileInTheWindowsFolder) {
    quill::IniFileName.clear();
    EXPECT_THROW(quill::ReadSettings(), quill::Error);
    EXPECT_THROW(quill::WriteSettings(), quill::Error);
}

}  // namespace
