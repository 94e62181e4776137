#include "about/abouttext.h"

#include <gtest/gtest.h>

#include "about/scrolling.h"
#include "base/convert.h"

namespace quill {
namespace {

std::string U8(const std::u16string& s) { return Utf16ToUtf8(s); }

TEST(PluginName, FromTheSettingsFileName) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"D:\\Tools\\PlugIns\\Quillmendex.ini", u"Quillmendex"},
        {u"C:\\Users\\u\\AppData\\Roaming\\Editor\\Quillmendex.ini", u"Quillmendex"},
        {u"Quillmendex", u"Quillmendex"},
        {u"C:\\x\\Quillmendex", u"Quillmendex"},
        {u"a.dll.b.ini", u"a.b"},
        {u"A.DLL.ini", u"A.DLL"},
        {u"", u""},
        {u"C:Quillmendex.ini", u"Quillmendex"},       // a drive colon ends the folder too
        {u"C:\\a.b\\name", u"name"},                   // a dot in the folder is no extension
        {u"/tmp/Quillmendex.ini", u"/tmp/Quillmendex"},  // "/" is no delimiter
        {u"C:\\x\\", u""},
        {u"x.dll.dll.ini", u"x"},
        {u"a..dlldll.ini", u"a.dll"},  // one pass: pieces that meet are not removed again
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(U8(GetPluginName(path)), U8(name)) << U8(path);
}

TEST(Notice, YearsAndMakers) {
    EXPECT_EQ(U8(NoticeText(u"2010", u"2026")), "(c) 2010-2026 Quillmendex authors");
    EXPECT_EQ(U8(NoticeText(u"2026", u"2026")), "(c) 2026 Quillmendex authors");
    EXPECT_EQ(U8(NoticeText(u"2010")), "(c) 2010-" + U8(CurrentYearText()) + " Quillmendex authors");
    const std::u16string year = CurrentYearText();
    ASSERT_EQ(year.size(), 4u);
    for (char16_t c : year) EXPECT_TRUE(c >= u'0' && c <= u'9');
    EXPECT_GE(year, u"2024");
}

TEST(InfoText, SixtyFourFramedLinesOfFortyOne) {
    const auto lines = BuildInfoText(u"2026");
    ASSERT_EQ(lines.size(), 64u);
    const std::u16string border(41, u'/');
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::u16string& line = lines[i];
        ASSERT_EQ(line.size(), 41u) << "line " << i + 1 << ": " << U8(line);
        if (line == border) continue;
        EXPECT_EQ(line.substr(0, 2), u"//") << i + 1;
        EXPECT_EQ(line.substr(39), u"//") << i + 1;
        // Only the lines that run up to the frame lack a blank before it.
        const bool full = i + 1 == 41 || i + 1 == 49 || i + 1 == 50 || i + 1 == 52 || i + 1 == 53;
        EXPECT_EQ(line[38] != u' ', full) << "line " << i + 1 << ": " << U8(line);
    }
    for (size_t i : {0u, 6u, 33u, 63u}) EXPECT_EQ(lines[i], border) << i + 1;
    EXPECT_EQ(U8(lines[1]), "// PL/SQL Developer Plug-In            //");
    EXPECT_EQ(U8(lines[2]), "// (c) 2010-2026 Quillmendex authors   //");
    EXPECT_EQ(U8(lines[26]), "//  Edit / Quillmendex / Add \"\" around //");
    EXPECT_EQ(U8(lines[62]), "//         |     |  made)              //");
    // The contact lines: an address and two web addresses of the project.
    EXPECT_NE(lines[3].find(u"@"), std::u16string::npos);
    EXPECT_EQ(lines[4].substr(0, 11), u"// https://");
    EXPECT_EQ(lines[5].substr(0, 11), u"// https://");
}

TEST(InfoText, OnlyLineThreeDependsOnTheYear) {
    const auto a = BuildInfoText(u"2026"), b = BuildInfoText(u"2031"), now = BuildInfoText();
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i] == b[i], i != 2) << i + 1;
    EXPECT_EQ(U8(b[2]), "// (c) 2010-2031 Quillmendex authors   //");
    EXPECT_EQ(U8(BuildInfoText(u"2010")[2]), "// (c) 2010 Quillmendex authors        //");
    EXPECT_EQ(now[2], BuildInfoText(CurrentYearText())[2]);
}

TEST(InfoText, PaddedWithSixBeforeAndSixteenAfter) {
    const auto padded = PaddedInfoText(BuildInfoText(u"2026"));
    ASSERT_EQ(padded.size(), 86u);
    for (size_t i = 0; i < 6; ++i) EXPECT_TRUE(padded[i].empty());
    for (size_t i = 70; i < 86; ++i) EXPECT_TRUE(padded[i].empty());
    EXPECT_EQ(padded[6], std::u16string(41, u'/'));
    EXPECT_EQ(PaddedInfoText({}).size(), 22u);
}

TEST(Scrolling, TextBoxHeightByLineCount) {
    const std::pair<int64_t, int> cases[] = {{86, 1376}, {22, 308}, {49, 686}, {50, 800}, {100, 1800},
                                             {1, 14},    {0, 0},    {-4, 0},   {99, 1584}};
    for (auto [n, height] : cases) EXPECT_EQ(TextBoxHeight(n), height) << n;
    EXPECT_EQ(TextBoxHeight(int64_t{1} << 40), 2147483647);
}

TEST(Scrolling, OnePixelPerTickThenBackToTheTop) {
    // 1376 high text in a box 110 high outside, 106 inside: the position wraps
    // on the tick that reaches 1376 - 110.
    int pos = 0, ticks = 0;
    for (; ticks < 5000; ++ticks) {
        const int next = NextScrollPosition(pos, 1376, 106, 110);
        if (next == 0) break;
        EXPECT_EQ(next, pos + 1);
        pos = next;
    }
    EXPECT_EQ(pos, 1376 - 110 - 1);
    EXPECT_EQ(ticks, 1376 - 110 - 1);
    // Text shorter than the box never moves; a position beyond the end is pulled back first.
    EXPECT_EQ(NextScrollPosition(0, 50, 106, 110), 0);
    EXPECT_EQ(ClampScrollPosition(5000, 1376, 106), 1270);
    EXPECT_EQ(ClampScrollPosition(-3, 1376, 106), 0);
    EXPECT_EQ(ClampScrollPosition(7, 10, 106), 0);
}

}  // namespace
}  // namespace quill
