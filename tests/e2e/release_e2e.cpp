// The release archive, as scripts/package.sh packs it from the build trees: its
// listing, that nothing a run left in a plug-in folder gets in, that it is
// reproducible, that the DLL inside of the architecture under test loads in its
// stand-in, and that both DLLs carry the release's version (read from their bytes).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "harness.h"
#include "host/menu.h"

namespace {

namespace fs = std::filesystem;
using namespace quilltest;

std::string ReleaseVersion() {
    std::smatch m;
    const std::string cmake = ReadFile(SourceDir() + "/CMakeLists.txt");
    if (!std::regex_search(cmake, m, std::regex(R"re(set\(QUILL_FILE_VERSION "([0-9.]+)"\))re"))) return {};
    return m[1];
}

uint16_t U16(const std::string& b, size_t at) {
    if (at + 2 > b.size()) throw std::out_of_range("U16");
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

uint32_t U32(const std::string& b, size_t at) { return U16(b, at) | static_cast<uint32_t>(U16(b, at + 2)) << 16; }

// ---- zip central directory -------------------------------------------------------

struct ZipEntry {
    std::string name;
    uint16_t method = 0, time = 0, date = 0, extraLength = 0;
    uint32_t external = 0;
};

std::vector<ZipEntry> ZipListing(const std::string& zip) {
    size_t end = zip.rfind(std::string("PK\x05\x06", 4));
    if (end == std::string::npos) throw std::runtime_error("no end of central directory");
    const uint16_t count = U16(zip, end + 10);
    size_t at = U32(zip, end + 16);
    std::vector<ZipEntry> entries;
    for (uint16_t i = 0; i < count; ++i) {
        if (U32(zip, at) != 0x02014b50) throw std::runtime_error("bad central directory entry");
        ZipEntry e;
        e.method = U16(zip, at + 10);
        e.time = U16(zip, at + 12);
        e.date = U16(zip, at + 14);
        const uint16_t nameLength = U16(zip, at + 28);
        e.extraLength = U16(zip, at + 30);
        const uint16_t commentLength = U16(zip, at + 32);
        e.external = U32(zip, at + 38);
        e.name = zip.substr(at + 46, nameLength);
        entries.push_back(e);
        at += 46 + nameLength + e.extraLength + commentLength;
    }
    return entries;
}

// ---- PE version resource, read from the file's bytes ---------------------------------

struct PeVersion {
    uint16_t machine = 0;
    std::array<uint16_t, 4> fixed{};            // VS_FIXEDFILEINFO file version
    std::map<std::string, std::string> strings; // "040904E4/FileVersion" -> value
};

std::string Utf16Ascii(const std::string& b, size_t at, size_t* after) {
    std::string s;
    for (uint16_t c; (c = U16(b, at)) != 0; at += 2) s.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    *after = at + 2;
    return s;
}

size_t Align4(size_t at, size_t base) { return base + ((at - base + 3) & ~size_t{3}); }

// One node of VS_VERSIONINFO: wLength, wValueLength, wType, key, value, children.
void VersionNode(const std::string& b, size_t at, size_t base, const std::string& path, PeVersion& out) {
    const size_t end = at + U16(b, at);
    const uint16_t valueLength = U16(b, at + 2), type = U16(b, at + 4);
    size_t afterKey = 0;
    const std::string key = Utf16Ascii(b, at + 6, &afterKey);
    size_t value = Align4(afterKey, base);
    const std::string here = path.empty() ? key : path + "/" + key;
    size_t children = value;
    if (key == "VS_VERSION_INFO" && valueLength >= 52 && U32(b, value) == 0xFEEF04BD) {
        const uint32_t ms = U32(b, value + 8), ls = U32(b, value + 12);
        out.fixed = {static_cast<uint16_t>(ms >> 16), static_cast<uint16_t>(ms), static_cast<uint16_t>(ls >> 16),
                     static_cast<uint16_t>(ls)};
        children = Align4(value + valueLength, base);
    } else if (type == 1) {  // text value, its length in characters
        if (valueLength > 0) {
            size_t after = 0;
            std::string text = Utf16Ascii(b, value, &after);
            // "StringFileInfo/040904E4/FileVersion" -> "040904E4/FileVersion"
            const std::string prefix = "VS_VERSION_INFO/StringFileInfo/";
            out.strings[here.rfind(prefix, 0) == 0 ? here.substr(prefix.size()) : here] = text;
        }
        children = Align4(value + valueLength * 2u, base);
    } else {
        children = Align4(value + valueLength, base);
    }
    for (size_t child = children; child + 6 <= end;) {
        const uint16_t length = U16(b, child);
        if (length == 0) break;
        VersionNode(b, child, base, here, out);
        child = Align4(child + length, base);
    }
}

std::optional<PeVersion> ReadPeVersion(const std::string& b) {
    try {
        if (b.size() < 0x40 || b.compare(0, 2, "MZ") != 0) return std::nullopt;
        const size_t pe = U32(b, 0x3C);
        if (U32(b, pe) != 0x00004550) return std::nullopt;
        PeVersion v;
        v.machine = U16(b, pe + 4);
        const uint16_t sections = U16(b, pe + 6), optionalSize = U16(b, pe + 20);
        const size_t opt = pe + 24;
        const bool plus = U16(b, opt) == 0x20B;
        const size_t dirs = opt + (plus ? 112 : 96);
        const uint32_t resourceRva = U32(b, dirs + 2 * 8);
        if (resourceRva == 0) return std::nullopt;
        auto fileOffset = [&](uint32_t rva) -> size_t {
            for (uint16_t i = 0; i < sections; ++i) {
                const size_t s = opt + optionalSize + i * 40u;
                const uint32_t va = U32(b, s + 12), size = std::max(U32(b, s + 8), U32(b, s + 16));
                if (rva >= va && rva < va + size) return U32(b, s + 20) + (rva - va);
            }
            throw std::out_of_range("rva");
        };
        const size_t root = fileOffset(resourceRva);
        // Resource tree: type 16 (RT_VERSION) -> first name -> first language -> data.
        auto entry = [&](size_t dir, std::optional<uint32_t> id) -> uint32_t {
            const uint16_t named = U16(b, dir + 12), ids = U16(b, dir + 14);
            for (uint32_t i = 0; i < uint32_t{named} + ids; ++i) {
                const size_t e = dir + 16 + i * 8;
                if (!id || U32(b, e) == *id) return U32(b, e + 4);
            }
            throw std::out_of_range("resource entry");
        };
        const uint32_t names = entry(root, 16u);
        const uint32_t langs = entry(root + (names & 0x7FFFFFFF), std::nullopt);
        const uint32_t data = entry(root + (langs & 0x7FFFFFFF), std::nullopt);
        const size_t block = fileOffset(U32(b, root + data));
        VersionNode(b, block, block, "", v);
        return v;
    } catch (const std::out_of_range&) {
        return std::nullopt;
    }
}

// ---- packing ----------------------------------------------------------------------------

std::vector<std::string> BitmapNames() {
    std::vector<std::string> names;
    for (const auto& item : quill::menu::Items())
        if (item.bitmap) names.push_back(item.bitmap);
    return names;
}

// A copy of the build trees' plug-in folders in which earlier runs left their
// files behind, as they may in a developer's tree.
void LayOutBuildRoot(const std::string& buildRoot) {
    const fs::path real = fs::path(Win64Dir()).parent_path();
    for (const char* arch : {"x64", "x86"}) {
        const fs::path to = fs::path(buildRoot) / arch / "plugin";
        fs::create_directories(to);
        for (const auto& e : fs::directory_iterator(real / arch / "plugin")) fs::copy_file(e.path(), to / e.path().filename());
        WriteFile((to / "Quillmendex.ini").string(), "[Settings]\r\nLogging=1\r\n");
        WriteFile((to / "Quillmendex.dbg").string(), "[2026-01-01 00:00:00] :x\r\n");
        WriteFile((to / "chk.tmp").string(), "");
    }
}

Result Package(const std::string& buildRoot, const std::string& distDir) {
    return RunCommand({SourceDir() + "/scripts/package.sh", "--no-build"},
                      {"QUILL_BUILD_DIR=" + buildRoot, "QUILL_DIST_DIR=" + distDir});
}

class Release : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        LayOutBuildRoot(*dir_ / "build");
        packed_ = new Result(Package(*dir_ / "build", *dir_ / "dist"));
        zip_ = new std::string(ReadFile(ZipPath()));
        fs::create_directories(*dir_ / "unpacked");
        extracted_ = new Result(RunCommand({"/usr/bin/env", "cmake", "-E", "chdir", *dir_ / "unpacked", "cmake", "-E",
                                            "tar", "xf", ZipPath()}));
    }
    static void TearDownTestSuite() {
        delete extracted_;
        delete zip_;
        delete packed_;
        delete dir_;
    }
    static std::string ZipPath() { return *dir_ / ("dist/Quillmendex-" + ReleaseVersion() + ".zip"); }
    static std::string Unpacked(const std::string& name) { return *dir_ / ("unpacked/" + name); }

    void SetUp() override {
        ASSERT_EQ(packed_->exit, 0) << packed_->stderrText;
        ASSERT_FALSE(zip_->empty());
        ASSERT_EQ(extracted_->exit, 0) << extracted_->stderrText;
    }

    static TempDir* dir_;
    static Result* packed_;
    static Result* extracted_;
    static std::string* zip_;
};

TempDir* Release::dir_ = nullptr;
Result* Release::packed_ = nullptr;
Result* Release::extracted_ = nullptr;
std::string* Release::zip_ = nullptr;

TEST_F(Release, VersionIsTheReleaseOne) { EXPECT_EQ(ReleaseVersion(), "2.2.64.71"); }

TEST_F(Release, ListingHoldsTheGuideAndBothFoldersInSortedOrder) {
    std::vector<std::string> expected = {"INSTALL.txt"};
    for (std::string arch : {"x64", "x86"}) {
        std::vector<std::string> files = BitmapNames();
        files.push_back("Quillmendex.dll");
        std::sort(files.begin(), files.end());
        for (const auto& f : files) expected.push_back(arch + "/" + f);
    }
    ASSERT_EQ(BitmapNames().size(), 14u);
    std::vector<std::string> names;
    for (const auto& e : ZipListing(*zip_)) names.push_back(e.name);
    // Settings, logs and probe files left in the plug-in folders stay out.
    EXPECT_EQ(names, expected);
}

TEST_F(Release, EntriesCarryNoTimeOrOwnerOfTheMachineThatPacked) {
    const auto entries = ZipListing(*zip_);
    ASSERT_FALSE(entries.empty());
    for (const auto& e : entries) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(e.time, entries.front().time);
        EXPECT_EQ(e.date, entries.front().date);
        EXPECT_EQ(e.extraLength, 0);               // no owner ids, no extended times
        EXPECT_EQ(e.external >> 16, 0100644u);     // regular file, rw-r--r--
    }
}

TEST_F(Release, PackingTwiceGivesTheSameBytes) {
    TempDir again;
    // Other file times in the trees must not matter.
    LayOutBuildRoot(again / "build");
    for (const auto& e : fs::recursive_directory_iterator(again / "build"))
        fs::last_write_time(e.path(), fs::file_time_type::clock::now() - std::chrono::hours(30));
    Result r = Package(again / "build", again / "dist");
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_TRUE(ReadFile(again / ("dist/Quillmendex-" + ReleaseVersion() + ".zip")) == *zip_);
}

TEST_F(Release, FilesInsideAreTheBuiltOnes) {
    const fs::path real = fs::path(Win64Dir()).parent_path();
    for (std::string arch : {"x64", "x86"}) {
        std::vector<std::string> files = BitmapNames();
        files.push_back("Quillmendex.dll");
        for (const auto& f : files) {
            SCOPED_TRACE(arch + "/" + f);
            const std::string inside = ReadFile(Unpacked(arch + "/" + f));
            EXPECT_FALSE(inside.empty());
            EXPECT_TRUE(inside == ReadFile((real / arch / "plugin" / f).string()));
        }
    }
}

TEST_F(Release, GuideTellsFolderSettingsLogAndUninstall) {
    const std::string guide = ReadFile(Unpacked("INSTALL.txt"));
    ASSERT_FALSE(guide.empty());
    // UTF-8 with a byte-order mark, so that Notepad shows the examples' · → ¶ as they are.
    EXPECT_EQ(guide.rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_NE(guide.find("Quillmendex " + ReleaseVersion()), std::string::npos);
    EXPECT_EQ(guide.find("@VERSION@"), std::string::npos);
    // Windows line breaks throughout.
    EXPECT_EQ(std::count(guide.begin(), guide.end(), '\n'), std::count(guide.begin(), guide.end(), '\r'));
    // The text is wrapped: a phrase may run over a line break and the next line's indent.
    std::string words;
    for (char c : guide)
        if (!std::isspace(static_cast<unsigned char>(c)) || (!words.empty() && words.back() != ' '))
            words += std::isspace(static_cast<unsigned char>(c)) ? ' ' : c;
    for (const char* text : {"64-bit IDE", "32-bit IDE", "PlugIns", "%APPDATA%\\<name>\\Quillmendex.ini", "[Settings]",
                             "Logging=1", "Quillmendex.dbg", "Uninstalling"})
        EXPECT_NE(words.find(text), std::string::npos) << text;
}

TEST_F(Release, BothDllsCarryTheReleaseVersion) {
    struct Case {
        const char* arch;
        uint16_t machine;
    };
    for (const Case& c : {Case{"x64", 0x8664}, Case{"x86", 0x014C}}) {
        SCOPED_TRACE(c.arch);
        auto v = ReadPeVersion(ReadFile(Unpacked(std::string(c.arch) + "/Quillmendex.dll")));
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(v->machine, c.machine);
        EXPECT_EQ(v->strings["040904E4/FileVersion"], "2.2.64.71");
        EXPECT_EQ(v->strings["040904E4/FileVersion"], ReleaseVersion());
        EXPECT_EQ(v->fixed, (std::array<uint16_t, 4>{2, 2, 64, 71}));
    }
}

TEST_F(Release, DllInsideLoadsInTheStandIn) {
    // Installed as a user would: the folder's files side by side, nothing else;
    // the folder of the architecture under test, in its stand-in.
    TempDir install;
    for (const auto& e : fs::directory_iterator(Unpacked(quilltest::Arch()))) fs::copy_file(e.path(), install / e.path().filename().string());
    const std::string report = install / "report.json";
    Result r = RunCommand({SourceDir() + "/scripts/wine-run", HostExe(), "--plugin",
                           WinPath(install / "Quillmendex.dll"), "--report", WinPath(report)},
                          {"QUILL_WINE_TIMEOUT=120"});
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    json rep = json::parse(ReadFile(report));
    EXPECT_EQ(rep["plugin_name"], "Quillmendex");
    ASSERT_EQ(rep["buttons"].size(), 14u);
    // Every button's bitmap lies beside the DLL.
    for (const auto& b : rep["buttons"]) {
        std::string path = b["bitmap"];
        const std::string prefix = WinPath(install.path()) + "\\";
        ASSERT_EQ(path.rfind(prefix, 0), 0u) << path;
        EXPECT_TRUE(Exists(install / path.substr(prefix.size()))) << path;
    }
}

TEST(ReleasePacking, RefusesBitmapsThatAreNotTheProjectsOwn) {
    TempDir dir;
    LayOutBuildRoot(dir / "build");
    WriteFile(dir / "build/x86/plugin/btn_about.bmp", "BM stale");
    Result r = Package(dir / "build", dir / "dist");
    EXPECT_NE(r.exit, 0);
    EXPECT_NE(r.stderrText.find("btn_about.bmp"), std::string::npos) << r.stderrText;
    EXPECT_FALSE(Exists(dir / ("dist/Quillmendex-" + ReleaseVersion() + ".zip")));
}

}  // namespace
