// Fuzzes the path rules behind finding the plug-in's files: any text, never a
// crash, and each result has the shape its rule gives it. Input bytes spell up
// to three texts (a path or settings key, a folder, a file name) over an
// alphabet heavy in "\", drive letters and the characters a path may not hold.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "settings/locate.h"

namespace {

using std::u16string;
using std::u16string_view;

constexpr char16_t kDelim = u'\\';

// By the low four bits of a byte whose high four are below 11; high four 11
// to 13 give U+0010 to U+003F (control characters, punctuation, digits, ":"),
// 14 the letters A to P, and 15 ends the text.
constexpr char16_t kAlphabet[16] = {
    u'\\', u'\\', u'\\', u'/', u':', u'C', u'c', u'z', u'1', u' ', u'.', u'?', u'<', u'\x01', u'\u00e9', u'\uff3c',
};

std::vector<u16string> Spell(const uint8_t* data, size_t size) {
    std::vector<u16string> texts(1);
    for (size_t i = 0; i < size; ++i) {
        const unsigned hi = data[i] >> 4, lo = data[i] & 15;
        if (hi == 15) {
            if (texts.size() == 3) break;
            texts.emplace_back();
        } else {
            texts.back() += hi == 14  ? static_cast<char16_t>(u'A' + lo)
                            : hi >= 11 ? static_cast<char16_t>(0x10 * (hi - 10) + lo)
                                       : kAlphabet[lo];
        }
    }
    texts.resize(3);
    return texts;
}

bool Has(u16string_view s, char16_t c) { return s.find(c) != u16string_view::npos; }
size_t CountOf(u16string_view s, char16_t c) { return static_cast<size_t>(std::count(s.begin(), s.end(), c)); }
bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsDriveRoot(u16string_view s) { return s.size() == 3 && IsAsciiLetter(s[0]) && s[1] == u':' && s[2] == kDelim; }

// The folder is what comes before the file's own name: the path is the folder
// and one "\" and a name without any, or, at a drive's root, the root and a
// name. Put back with another name, the path names that file beside it.
void CheckFileFolder(u16string_view path, u16string_view name) {
    const u16string folder = quill::FileFolder(path);
    if (!Has(path, kDelim)) {
        if (!folder.empty()) std::abort();
        return;
    }
    if (!path.starts_with(folder)) std::abort();
    const u16string_view rest = path.substr(folder.size());
    const bool atDriveRoot = IsDriveRoot(folder) && !Has(rest, kDelim);
    if (IsDriveRoot(path.substr(0, 3)) && path.rfind(kDelim) == 2 && !atDriveRoot) std::abort();
    if (!atDriveRoot && (!rest.starts_with(kDelim) || CountOf(rest, kDelim) != 1)) std::abort();
    if (!Has(name, kDelim) && (atDriveRoot || !folder.ends_with(kDelim))) {
        const u16string beside = quill::IniPathIn(folder, name);
        if (beside != u16string(path.substr(0, path.rfind(kDelim) + 1)) + u16string(name) + u".ini") std::abort();
        if (quill::FileFolder(beside) != folder) std::abort();
    }
}

// The segment is a tail of the key with its "/" removed, and holds a "\" only
// as its first character, there exactly when the key has one.
void CheckSettingsKeySegment(u16string_view key) {
    const u16string segment = quill::SettingsKeySegment(key);
    u16string plain(key);
    std::erase(plain, u'/');
    if (Has(segment, u'/')) std::abort();
    if (!plain.ends_with(segment)) std::abort();
    if (Has(key, kDelim)) {
        if (!segment.starts_with(kDelim) || CountOf(segment, kDelim) != 1) std::abort();
    } else if (segment != plain) {
        std::abort();
    }
}

// folder, then exactly one "\" of its own or added, then name and ".ini".
void CheckIniPathIn(u16string_view folder, u16string_view name) {
    const u16string path = quill::IniPathIn(folder, name);
    const u16string tail = u16string(name) + u".ini";
    if (!path.starts_with(folder) || !path.ends_with(tail)) std::abort();
    const size_t added = path.size() - folder.size() - tail.size();
    if (added != (folder.ends_with(kDelim) ? 0u : 1u)) std::abort();
    if (path[path.size() - tail.size() - 1] != kDelim) std::abort();
}

void CheckPerUserPaths(u16string_view appData, u16string_view key, u16string_view name) {
    const auto paths = quill::PerUserSettingsPaths(appData, key, name);
    const u16string segment = quill::SettingsKeySegment(key);
    if (paths.oldPath != quill::IniPathIn(appData, name)) std::abort();
    if (paths.newPath != quill::IniPathIn(u16string(appData) + segment, name)) std::abort();
    // Both files have the same name; with no segment they are the same file.
    const u16string tail = u"\\" + u16string(name) + u".ini";
    if (!paths.oldPath.ends_with(tail) || !paths.newPath.ends_with(tail)) std::abort();
    if (!paths.newPath.starts_with(appData)) std::abort();
    // No segment: the same file; a segment with a name in it: another one.
    if (segment.empty() && paths.newPath != paths.oldPath) std::abort();
    if (segment.size() >= 2 && paths.newPath == paths.oldPath) std::abort();
}

bool IsInvalidPathChar(char16_t c) { return c < 0x20 || u16string_view(u"<>|\"*?").find(c) != u16string_view::npos; }

void CheckValidChars(u16string_view a, u16string_view b) {
    const bool valid = quill::HasValidPathChars(a);
    if (valid != std::none_of(a.begin(), a.end(), IsInvalidPathChar)) std::abort();
    if (quill::HasValidPathChars(u16string(a) + u16string(b)) != (valid && quill::HasValidPathChars(b))) std::abort();
}

// The root by splitting the path at its backslashes.
u16string RootBySplitting(u16string_view p) {
    if (p.size() >= 3 && IsDriveRoot(p.substr(0, 3))) return u16string(p.substr(0, 3));
    if (!p.starts_with(u"\\\\")) return {};
    std::vector<u16string_view> parts;
    for (u16string_view rest = p.substr(2);;) {
        const size_t at = rest.find(kDelim);
        parts.push_back(rest.substr(0, at));
        if (at == u16string_view::npos) break;
        rest.remove_prefix(at + 1);
    }
    if (parts.size() < 2 || parts[0].empty() || parts[1].empty()) return {};
    return u"\\\\" + u16string(parts[0]) + u"\\" + u16string(parts[1]) + u"\\";
}

u16string FlipAsciiCase(u16string_view s) {
    u16string out(s);
    for (char16_t& c : out)
        if (IsAsciiLetter(c)) c = static_cast<char16_t>(c ^ 0x20);
    return out;
}

bool SameIgnoringAsciiCase(u16string_view a, u16string_view b) {
    auto fold = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char16_t y) {
               return fold(x) == fold(y);
           });
}

void CheckRoots(u16string_view a, u16string_view b) {
    const u16string root = quill::PathRoot(a);
    if (root != RootBySplitting(a)) std::abort();
    if (!root.empty()) {
        // A share named without the "\" after it still gets one.
        if (!root.ends_with(kDelim)) std::abort();
        if (!a.starts_with(root) && root != u16string(a) + kDelim) std::abort();
        // Anything further down has the same root.
        if (quill::PathRoot(root) != root || quill::PathRoot(root + u16string(b)) != root) std::abort();
    }
    // A path without a root never shares one, not even with itself.
    const bool rooted = !root.empty();
    if (quill::SameRoot(a, a) != rooted || quill::SameRoot(a, FlipAsciiCase(a)) != rooted) std::abort();
    const bool same = quill::SameRoot(a, b);
    if (same != quill::SameRoot(b, a)) std::abort();
    if (same != (rooted && SameIgnoringAsciiCase(root, quill::PathRoot(b)))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto texts = Spell(data, size);
    const u16string_view first = texts[0], second = texts[1], third = texts[2];
    CheckFileFolder(first, third);
    CheckSettingsKeySegment(first);
    CheckIniPathIn(second, third);
    CheckPerUserPaths(second, first, third);
    CheckValidChars(first, second);
    CheckRoots(first, second);
    CheckRoots(second, first);
    return 0;
}
