#include "settings/locate.h"

#include <gtest/gtest.h>

#include "base/convert.h"

namespace {

using quill::Utf16ToUtf8;

TEST(FileFolder, CutsTheLastComponent) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"D:\\Tools\\PlugIns\\Quillmendex.dll", u"D:\\Tools\\PlugIns"},
        {u"C:\\Quillmendex.dll", u"C:\\"},  // a drive's root keeps its backslash
        {u"c:\\x", u"c:\\"},
        {u"\\\\server\\share\\PlugIns\\Quillmendex.dll", u"\\\\server\\share\\PlugIns"},
        {u"D:\\Tools\\PlugIns\\", u"D:\\Tools\\PlugIns"},
        {u"Quillmendex.dll", u""},
        {u"", u""},
    };
    for (const auto& [path, folder] : cases) EXPECT_EQ(quill::FileFolder(path), folder) << Utf16ToUtf8(path);
}

TEST(SettingsKeySegment, LastSegmentWithItsBackslashAndNoSlashes) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"Software\\Vendor\\Editor/Pro", u"\\EditorPro"},
        {u"Editor/Pro", u"EditorPro"},
        {u"a/b/c//d", u"abcd"},  // every slash, not just the first
        {u"Software\\Vendor\\", u"\\"},
        {u"\\Editor", u"\\Editor"},
        {u"///", u""},
        {u"", u""},
    };
    for (const auto& [key, segment] : cases) EXPECT_EQ(quill::SettingsKeySegment(key), segment) << Utf16ToUtf8(key);
}

TEST(PerUserSettingsPaths, JoinsAppDataKeyAndName) {
    struct Case {
        std::u16string appData, key, oldPath, newPath;
    };
    const Case cases[] = {
        // The usual case: the settings key's last segment names a folder in APPDATA.
        {u"C:\\Users\\user\\AppData\\Roaming", u"Software\\Vendor\\Editor/Pro",
         u"C:\\Users\\user\\AppData\\Roaming\\Quillmendex.ini",
         u"C:\\Users\\user\\AppData\\Roaming\\EditorPro\\Quillmendex.ini"},
        // No backslash in the key: appended with no separator.
        {u"C:\\Users\\user\\AppData\\Roaming", u"Editor/Pro", u"C:\\Users\\user\\AppData\\Roaming\\Quillmendex.ini",
         u"C:\\Users\\user\\AppData\\RoamingEditorPro\\Quillmendex.ini"},
        // An empty key: both paths are the same.
        {u"C:\\Users\\user\\AppData\\Roaming", u"", u"C:\\Users\\user\\AppData\\Roaming\\Quillmendex.ini",
         u"C:\\Users\\user\\AppData\\Roaming\\Quillmendex.ini"},
        // APPDATA with a trailing backslash gets no second one.
        {u"C:\\AppData\\", u"", u"C:\\AppData\\Quillmendex.ini", u"C:\\AppData\\Quillmendex.ini"},
        {u"C:\\AppData\\", u"Editor", u"C:\\AppData\\Quillmendex.ini", u"C:\\AppData\\Editor\\Quillmendex.ini"},
        // A key ending in a backslash: the segment is that backslash alone.
        {u"C:\\AppData", u"Software\\", u"C:\\AppData\\Quillmendex.ini", u"C:\\AppData\\Quillmendex.ini"},
        // APPDATA not set: both relative to the current drive's root.
        {u"", u"Software\\Vendor\\Editor", u"\\Quillmendex.ini", u"\\Editor\\Quillmendex.ini"},
    };
    for (const auto& c : cases) {
        const auto paths = quill::PerUserSettingsPaths(c.appData, c.key, u"Quillmendex");
        EXPECT_EQ(paths.oldPath, c.oldPath) << Utf16ToUtf8(c.appData) << " " << Utf16ToUtf8(c.key);
        EXPECT_EQ(paths.newPath, c.newPath) << Utf16ToUtf8(c.appData) << " " << Utf16ToUtf8(c.key);
    }
}

TEST(IniPathIn, OneBackslashBetweenFolderAndName) {
    EXPECT_EQ(quill::IniPathIn(u"D:\\Tools\\PlugIns", u"Quillmendex"), u"D:\\Tools\\PlugIns\\Quillmendex.ini");
    EXPECT_EQ(quill::IniPathIn(u"D:\\", u"Quillmendex"), u"D:\\Quillmendex.ini");
}

TEST(HasValidPathChars, RefusesWildcardsPipesAndControlCharacters) {
    EXPECT_TRUE(quill::HasValidPathChars(u"C:\\Users\\user\\AppData\\Roaming\\Editor Pro (2)\\Quillmendex.ini"));
    EXPECT_TRUE(quill::HasValidPathChars(u"C:\\Dossier\u00e9\\\u65e5\u672c.ini"));
    for (const char16_t* bad : {u"C:\\a<b", u"C:\\a>b", u"C:\\a|b", u"C:\\a\"b", u"C:\\a*b", u"C:\\a?b",
                                u"C:\\a\tb", u"C:\\a\nb"})
        EXPECT_FALSE(quill::HasValidPathChars(bad)) << Utf16ToUtf8(bad);
    EXPECT_FALSE(quill::HasValidPathChars(std::u16string(u"C:\\a\0b", 6)));
}

TEST(PathRoot, DrivesAndShares) {
    EXPECT_EQ(quill::PathRoot(u"C:\\Users\\x.ini"), u"C:\\");
    EXPECT_EQ(quill::PathRoot(u"\\\\server\\share\\x.ini"), u"\\\\server\\share\\");
    EXPECT_EQ(quill::PathRoot(u"\\\\server\\share"), u"\\\\server\\share\\");
    EXPECT_EQ(quill::PathRoot(u"\\\\server\\"), u"");
    EXPECT_EQ(quill::PathRoot(u"x.ini"), u"");
    EXPECT_TRUE(quill::SameRoot(u"c:\\a\\x.ini", u"C:\\b\\x.ini"));
    EXPECT_TRUE(quill::SameRoot(u"\\\\Server\\Share\\a", u"\\\\server\\share\\b"));
    EXPECT_FALSE(quill::SameRoot(u"C:\\a\\x.ini", u"Z:\\a\\x.ini"));
    EXPECT_FALSE(quill::SameRoot(u"\\\\server\\one\\a", u"\\\\server\\two\\a"));
    EXPECT_FALSE(quill::SameRoot(u"x.ini", u"x.ini"));  // no root: never a rename
}

}  // namespace
