// The version text read from real modules under Wine: this build's DLL, a DLL
// without a version resource and one whose only string table is 040904B0.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "about/version_win.h"

namespace {

// A Unix folder of the build as Wine sees it (Z: drive).
std::u16string WinFolder(const char* unixPath) {
    std::u16string path = u"Z:";
    for (const char* c = unixPath; *c; ++c) path += *c == '/' ? u'\\' : static_cast<char16_t>(*c);
    return path;
}

const std::u16string kPlugin = WinFolder(QUILL_TEST_PLUGIN_DIR) + u"\\Quillmendex.dll";
const std::u16string kNoVersion = WinFolder(QUILL_TEST_DATA_DIR) + u"\\about_noversion.dll";
const std::u16string kUnicodeTable = WinFolder(QUILL_TEST_DATA_DIR) + u"\\about_unicodetable.dll";

// Any value of the module's version resource, the way GetFileVersionText looks
// it up, for checking what the test modules hold.
std::u16string Query(const std::u16string& path, const wchar_t* value) {
    const auto* file = reinterpret_cast<const wchar_t*>(path.c_str());
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    if (size == 0) return u"<no resource>";
    std::string block(size, '\0');
    if (!GetFileVersionInfoW(file, 0, size, block.data())) return u"<unreadable>";
    void* found = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), value, &found, &length) || !found) return u"<missing>";
    return reinterpret_cast<const char16_t*>(found);
}

TEST(FileVersion, ThisReleasesDllGivesItsFileVersion) {
    EXPECT_EQ(quill::FileVersionText(kPlugin), u"2.2.64.71");
}

TEST(FileVersion, OnlyTheTable040904E4Counts) {
    // The second DLL does carry a FileVersion, under U.S. English with the Unicode code page.
    ASSERT_EQ(Query(kUnicodeTable, L"StringFileInfo\\040904B0\\FileVersion"), u"9.8.7.6");
    ASSERT_EQ(Query(kNoVersion, L"StringFileInfo\\040904B0\\FileVersion"), u"<no resource>");
    EXPECT_EQ(quill::FileVersionText(kUnicodeTable), u"");
    EXPECT_EQ(quill::FileVersionText(kNoVersion), u"");
    EXPECT_EQ(quill::FileVersionText(WinFolder(QUILL_TEST_DATA_DIR) + u"\\missing.dll"), u"");
    EXPECT_EQ(quill::FileVersionText(u""), u"");
}

TEST(FileVersion, TheModuleHoldingTheCodeIsAsked) {
    // In this test program the code lives in the program itself, which has no
    // version resource; the plug-in's own reading is checked through the DLL in
    // about_window_wintest.cpp.
    EXPECT_EQ(quill::GetFileVersionText(), u"");
}

TEST(FileVersion, TheDllsResourceHasOnlyTheOneTable) {
    EXPECT_EQ(Query(kPlugin, L"\\StringFileInfo\\040904E4\\ProductName"), u"Quillmendex");
    EXPECT_EQ(Query(kPlugin, L"\\StringFileInfo\\040904B0\\FileVersion"), u"<missing>");
}

}  // namespace
