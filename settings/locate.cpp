#include "settings/locate.h"

#include <algorithm>

namespace quill {

namespace {

constexpr char16_t kDelim = u'\\';

bool EndsWithDelim(std::u16string_view s) { return !s.empty() && s.back() == kDelim; }

char16_t Fold(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool IsDriveLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

}  // namespace

std::u16string FileFolder(std::u16string_view path) {
    const size_t last = path.rfind(kDelim);
    if (last == std::u16string_view::npos) return {};
    // "C:\file": the drive's root keeps its backslash.
    if (last == 2 && path[1] == u':' && IsDriveLetter(path[0])) return std::u16string(path.substr(0, 3));
    return std::u16string(path.substr(0, last));
}

std::u16string SettingsKeySegment(std::u16string_view key) {
    const size_t last = key.rfind(kDelim);
    std::u16string segment(last == std::u16string_view::npos ? key : key.substr(last));
    std::erase(segment, u'/');
    return segment;
}

std::u16string IniPathIn(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (!EndsWithDelim(path)) path += kDelim;
    path += name;
    path += u".ini";
    return path;
}

PerUserPaths PerUserSettingsPaths(std::u16string_view appData, std::u16string_view settingsKey,
                                  std::u16string_view name) {
    std::u16string folder(appData);
    folder += SettingsKeySegment(settingsKey);  // the segment's own "\" is the separator
    return {IniPathIn(appData, name), IniPathIn(folder, name)};
}

bool HasValidPathChars(std::u16string_view path) {
    return std::none_of(path.begin(), path.end(), [](char16_t c) {
        return c < 32 || c == u'<' || c == u'>' || c == u'|' || c == u'"' || c == u'*' || c == u'?';
    });
}

std::u16string PathRoot(std::u16string_view p) {
    if (p.size() >= 3 && IsDriveLetter(p[0]) && p[1] == u':' && p[2] == kDelim) return std::u16string(p.substr(0, 3));
    if (p.size() >= 2 && p[0] == kDelim && p[1] == kDelim) {
        // \\server\share\: the root ends after the share's name.
        const size_t server = p.find(kDelim, 2);
        if (server == std::u16string_view::npos || server == 2) return {};
        const size_t share = p.find(kDelim, server + 1);
        if (share == server + 1 || server + 1 == p.size()) return {};
        std::u16string root(p.substr(0, share == std::u16string_view::npos ? p.size() : share));
        root += kDelim;
        return root;
    }
    return {};
}

bool SameRoot(std::u16string_view a, std::u16string_view b) {
    const std::u16string ra = PathRoot(a), rb = PathRoot(b);
    return !ra.empty() && ra.size() == rb.size() &&
           std::equal(ra.begin(), ra.end(), rb.begin(), [](char16_t x, char16_t y) { return Fold(x) == Fold(y); });
}

}  // namespace quill
