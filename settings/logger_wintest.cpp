// The log written to real files under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>

#include "settings/logger.h"
#include "settings/wintest_util.h"

namespace {

using quilltest::Exists;
using quilltest::U16;
using quilltest::ReadBytes;
using quilltest::TempFolder;
using quilltest::WriteBytes;


// The log switched on into a file of a fresh folder; switched off afterwards.
class Log : public ::testing::Test {
protected:
    void SetUp() override {
        file = folder / L"Quillmendex.log";
        quill::SetLogFile(U16(file));
        quill::EnableLogging();
    }
    void TearDown() override {
        quill::DisableLogging();
        quill::SetLogFile(u"");
    }
    // WriteLog's error code, 0 when it succeeded.
    static uint32_t Failure(std::u16string_view message) {
        try {
            quill::WriteLog(message, 0, 1);
            return 0;
        } catch (const quill::LogError& e) {
            return e.code();
        }
    }
    void ExpectStateKept(const std::wstring& name) {
        EXPECT_TRUE(quill::IsLoggingEnabled());
        EXPECT_EQ(quill::GetLogFile(), U16(name));
        EXPECT_EQ(quill::GetLogThreshold(), 1);
    }

    TempFolder folder;
    std::wstring file;
};

TEST_F(Log, OffOrBelowTheThresholdTouchesNoFile) {
    quill::DisableLogging();
    quill::WriteLog(u"off", 0, 5);
    EXPECT_FALSE(Exists(file));
    quill::EnableLogging();
    quill::WriteLog(u"level 0", 0, 0);
    quill::WriteLog(u"level -1", 0, -1);
    EXPECT_FALSE(Exists(file));
}

TEST_F(Log, LinesAreAppendedCompleteAndInOrder) {
    WriteBytes(file, "earlier line\r\n");
    quill::WriteLog(u"first", 0, 1);
    quill::WriteLog(u"second", 2, 1);
    quill::WriteLog(u"", -3, 7);
    const std::string bytes = ReadBytes(file);
    const std::regex layout(
        "earlier line\r\n"
        "\\[\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\] :first\r\n"
        "\\[\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\] :  second\r\n"
        "\\[\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\] :\r\n");
    EXPECT_TRUE(std::regex_match(bytes, layout)) << bytes;
}

TEST_F(Log, MissingFileIsCreatedWithOneLine) {
    quill::WriteLog(u"only", 0, 1);
    const std::string bytes = ReadBytes(file);
    EXPECT_EQ(bytes.size(), std::string("[2024-03-07 09:05:03] :only\r\n").size());
    EXPECT_EQ(bytes.substr(21), " :only\r\n");
}

TEST_F(Log, StampIsTheLocalClock) {
    SYSTEMTIME before{};
    GetLocalTime(&before);
    const std::u16string date = quill::LogDateText();
    const std::u16string time = quill::LogTimeText();
    SYSTEMTIME after{};
    GetLocalTime(&after);
    // Unless the day turned meanwhile, the date is today's and the time lies between.
    if (before.wDay == after.wDay) {
        EXPECT_EQ(date, quill::FormatLogDate({before.wYear, before.wMonth, before.wDay, 0, 0, 0}));
        const auto hms = [](const SYSTEMTIME& t) {
            return quill::FormatLogTime({0, 0, 0, t.wHour, t.wMinute, t.wSecond});
        };
        EXPECT_LE(hms(before), time);
        EXPECT_LE(time, hms(after));
    }
}

TEST_F(Log, MessageIsWrittenInTheAnsiCodePage) {
    if (GetACP() != 1252) GTEST_SKIP() << "needs code page 1252, the test runs under " << GetACP();
    quill::WriteLog(u"caf\u00e9 \u20ac", 0, 1);
    EXPECT_EQ(ReadBytes(file).substr(23), "caf\xe9 \x80\r\n");
}

TEST_F(Log, MissingFolderRaisesAndChangesNothing) {
    const std::wstring missing = folder / L"no such folder\\Quillmendex.log";
    quill::SetLogFile(U16(missing));
    EXPECT_EQ(Failure(u"x"), static_cast<uint32_t>(ERROR_PATH_NOT_FOUND));
    ExpectStateKept(missing);
    EXPECT_FALSE(Exists(folder / L"no such folder"));
}

TEST_F(Log, AnotherWriterMakesItFailAndKeepsTheFile) {
    WriteBytes(file, "held\r\n");
    HANDLE other = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Failure(u"x"), static_cast<uint32_t>(ERROR_SHARING_VIOLATION));
    CloseHandle(other);
    ExpectStateKept(file);
    EXPECT_EQ(ReadBytes(file), "held\r\n");
}

TEST_F(Log, ReaderThatSharesOnlyWritingNeverGetsTheLogEmptied) {
    // Opening for appending fails (it wants read access as well), yet the file is
    // there: creating it anew would empty it, so the failure is reported instead.
    WriteBytes(file, "keep these lines\r\n");
    HANDLE reader = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Failure(u"x"), static_cast<uint32_t>(ERROR_SHARING_VIOLATION));
    CloseHandle(reader);
    EXPECT_EQ(ReadBytes(file), "keep these lines\r\n");
}

TEST_F(Log, NamesOf260CharactersOrMoreAreRefusedBeforeAnyOpen) {
    std::wstring name = folder.path() + L"\\";
    name += std::wstring(260 - name.size() - 4, L'a') + L".log";
    ASSERT_EQ(name.size(), 260u);
    quill::SetLogFile(U16(name));
    EXPECT_EQ(Failure(u"x"), static_cast<uint32_t>(ERROR_FILENAME_EXCED_RANGE));
    ExpectStateKept(name);
    EXPECT_FALSE(Exists(name));
}

TEST_F(Log, NoNameWritesNothing) {
    // Logging switched on before any settings path was known: no ".log" or
    // other file appears in whatever folder is current.
    quill::SetLogFile(u"");
    EXPECT_EQ(Failure(u"x"), 0u);
    EXPECT_TRUE(quill::IsLoggingEnabled());
    wchar_t cwd[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    EXPECT_FALSE(Exists(std::wstring(cwd) + L"\\.log"));
}

}  // namespace
