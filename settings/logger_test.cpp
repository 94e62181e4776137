#include "settings/logger.h"

#include <gtest/gtest.h>

namespace {

using quill::LogStamp;

TEST(ChangeFileExt, ReplacesOrAppendsTheExtension) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"D:\\Tools\\PlugIns\\Quillmendex.ini", u"D:\\Tools\\PlugIns\\Quillmendex.dbg"},
        {u"D:\\Tools\\PlugIns\\Quillmendex", u"D:\\Tools\\PlugIns\\Quillmendex.dbg"},
        {u"D:\\My.Tools\\Quillmendex", u"D:\\My.Tools\\Quillmendex.dbg"},  // a dot in a folder is no extension
        {u"D:\\Tools\\a.b.ini", u"D:\\Tools\\a.b.dbg"},                   // only the last dot
        {u"D:\\Tools\\.ini", u"D:\\Tools\\.dbg"},
        {u"C:.ini", u"C:.dbg"},
        {u"C:name", u"C:name.dbg"},
        {u"x.", u"x.dbg"},
        {u"", u".dbg"},
    };
    for (const auto& [path, changed] : cases) EXPECT_EQ(quill::ChangeFileExt(path, u".dbg"), changed);
    EXPECT_EQ(quill::ChangeFileExt(u"C:\\Q.ini", u".log"), u"C:\\Q.log");
}

TEST(LogStampFormats, FixedWidthsTwentyFourHourClock) {
    EXPECT_EQ(quill::FormatLogDate(LogStamp{2024, 3, 7, 9, 5, 3}), u"2024-03-07");
    EXPECT_EQ(quill::FormatLogTime(LogStamp{2024, 3, 7, 9, 5, 3}), u"09:05:03");
    EXPECT_EQ(quill::FormatLogDate(LogStamp{2024, 12, 31, 23, 59, 59}), u"2024-12-31");
    EXPECT_EQ(quill::FormatLogTime(LogStamp{2024, 12, 31, 23, 59, 59}), u"23:59:59");
    EXPECT_EQ(quill::FormatLogTime(LogStamp{2025, 1, 1, 0, 0, 0}), u"00:00:00");
    // The middle field is the minutes, not the month.
    EXPECT_EQ(quill::FormatLogTime(LogStamp{2024, 3, 14, 13, 7, 0}), u"13:07:00");
    EXPECT_EQ(quill::FormatLogDate(LogStamp{987, 1, 2, 0, 0, 0}), u"0987-01-02");
}

TEST(LogLine, FieldsInOrderWithIndent) {
    const std::tuple<int32_t, std::u16string, std::u16string> cases[] = {
        {2, u"Started", u"[2024-03-07 09:05:03] :  Started"},
        {0, u"Started", u"[2024-03-07 09:05:03] :Started"},
        {-3, u"Started", u"[2024-03-07 09:05:03] :Started"},
        {0, u"", u"[2024-03-07 09:05:03] :"},
        {3, u"", u"[2024-03-07 09:05:03] :   "},
        {1, u" a\tb\r\n\u00e9", u"[2024-03-07 09:05:03] :  a\tb\r\n\u00e9"},  // the message unchanged
    };
    for (const auto& [indent, message, line] : cases)
        EXPECT_EQ(quill::LogLine(u"2024-03-07", u"09:05:03", indent, message), line) << indent;
}

TEST(LogState, SwitchFileAndThreshold) {
    quill::DisableLogging();
    EXPECT_FALSE(quill::IsLoggingEnabled());
    quill::ToggleLogging();
    EXPECT_TRUE(quill::IsLoggingEnabled());
    quill::ToggleLogging();
    EXPECT_FALSE(quill::IsLoggingEnabled());
    quill::EnableLogging();
    quill::EnableLogging();
    EXPECT_TRUE(quill::IsLoggingEnabled());
    quill::DisableLogging();
    quill::SetLogFile(u"C:\\x.log");
    EXPECT_EQ(quill::GetLogFile(), u"C:\\x.log");
    quill::SetLogFile(u"");
    EXPECT_EQ(quill::GetLogFile(), u"");
    EXPECT_EQ(quill::GetLogThreshold(), 1);
}

TEST(LogError, CarriesThePlatformsCode) {
    const quill::LogError e(32);
    EXPECT_EQ(e.code(), 32u);
    EXPECT_EQ(e.text(), u"I/O error 32");
}

}  // namespace
