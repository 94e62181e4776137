#pragma once
// Test reference only, never used by the plug-in: the whitespace commands'
// replacement done the slow, obvious way. While the pattern occurs, replace
// every occurrence, left to right without overlaps, and look again. A run of n
// spaces before a line break takes n passes, so this is quadratic.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace quill::commands::reference {

inline std::u16string ReplaceUntilAbsent(std::u16string text, std::u16string_view pattern,
                                         std::u16string_view replacement) {
    while (text.find(pattern) != std::u16string::npos) {
        std::u16string next;
        size_t from = 0;
        for (size_t at = text.find(pattern); at != std::u16string::npos; at = text.find(pattern, from)) {
            next.append(text, from, at - from);
            next.append(replacement);
            from = at + pattern.size();
        }
        next.append(text, from);
        text = std::move(next);
    }
    return text;
}

inline std::u16string TrimTrailingSpaces(std::u16string_view text) {
    return ReplaceUntilAbsent(std::u16string(text), u" \r\n", u"\r\n");
}

inline std::u16string ExpandTabs(std::u16string_view text, int width) {
    return ReplaceUntilAbsent(std::u16string(text), u"\t", std::u16string(width > 0 ? width : 0, u' '));
}

inline std::u16string SqueezeBlankLines(std::u16string_view text) {
    return ReplaceUntilAbsent(std::u16string(text), u"\r\n\r\n", u"\r\n");
}


// ---- Keeping literals: the same, written plainly, one character at a time --

struct ProtectedSpan {
    size_t begin;
    size_t end;
};

inline bool IsWordCharacter(char16_t c) {
    return c >= 0x80 || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_' || c == u'$' || c == u'#';
}

// Every string literal and quoted identifier of a whole text, in order.
inline std::vector<ProtectedSpan> ProtectedSpans(std::u16string_view t) {
    std::vector<ProtectedSpan> spans;
    const size_t n = t.size();
    auto startsWord = [&](size_t k) { return k == 0 || !IsWordCharacter(t[k - 1]); };
    auto endOfLine = [&](size_t k) {
        while (k < n && t[k] != u'\r' && t[k] != u'\n') ++k;
        return k;
    };
    size_t i = 0;
    bool lineStart = true;
    while (i < n) {
        if (lineStart) {
            lineStart = false;
            size_t k = i;
            while (k < n && (t[k] == u' ' || t[k] == u'\t')) ++k;
            size_t e = k;
            std::u16string word;
            while (e < n && IsWordCharacter(t[e])) {
                word += t[e] >= u'a' && t[e] <= u'z' ? static_cast<char16_t>(t[e] - 32) : t[e];
                ++e;
            }
            const bool followed = e == n || t[e] == u' ' || t[e] == u'\t' || t[e] == u'\r' || t[e] == u'\n';
            if (followed && (word == u"REM" || word == u"REMA" || word == u"REMAR" || word == u"REMARK" ||
                             word == u"PRO" || word == u"PROM" || word == u"PROMP" || word == u"PROMPT")) {
                i = endOfLine(e);
                continue;
            }
        }
        const char16_t c = t[i];
        const char16_t next = i + 1 < n ? t[i + 1] : u'\0';
        if (c == u'\r' || c == u'\n') {
            ++i;
            lineStart = true;
        } else if (c == u'-' && next == u'-') {
            i = endOfLine(i + 2);
        } else if (c == u'/' && next == u'*') {
            const size_t close = t.find(u"*/", i + 2);
            i = close == std::u16string_view::npos ? n : close + 2;
        } else if (c == u'"') {
            const size_t close = t.find(u'"', i + 1);
            const size_t end = close == std::u16string_view::npos ? n : close + 1;
            spans.push_back({i, end});
            i = end;
        } else if ((c == u'q' || c == u'Q') && next == u'\'' && i + 2 < n && t[i + 2] != u' ' &&
                   t[i + 2] != u'\t' && t[i + 2] != u'\r' && t[i + 2] != u'\n' &&
                   (startsWord(i) || ((t[i - 1] == u'n' || t[i - 1] == u'N') && startsWord(i - 1)))) {
            const size_t begin = startsWord(i) ? i : i - 1;
            std::u16string close(1, t[i + 2]);
            if (t[i + 2] >= 0xD800 && t[i + 2] <= 0xDBFF && i + 3 < n && t[i + 3] >= 0xDC00 && t[i + 3] <= 0xDFFF)
                close += t[i + 3];
            const size_t body = i + 2 + close.size();
            if (close == u"[") close = u"]";
            if (close == u"{") close = u"}";
            if (close == u"(") close = u")";
            if (close == u"<") close = u">";
            const size_t at = t.find(close + u"'", body);
            const size_t end = at == std::u16string_view::npos ? n : at + close.size() + 1;
            spans.push_back({begin, end});
            i = end;
        } else if (c == u'\'') {
            size_t k = i + 1;
            while (k < n && !(t[k] == u'\'' && (k + 1 == n || t[k + 1] != u'\''))) k += t[k] == u'\'' ? 2 : 1;
            const size_t end = k < n ? k + 1 : n;
            spans.push_back({i, end});
            i = end;
        } else {
            ++i;
        }
    }
    return spans;
}

// transform on each stretch of the part between the spans of its whole text
// (clipped to the part), the spans as they are. An empty whole: the part is
// the whole.
template <class Transform>
std::u16string KeepingLiterals(std::u16string_view part, std::u16string_view whole, size_t offset,
                               Transform transform) {
    if (whole.empty()) {
        whole = part;
        offset = 0;
    }
    std::u16string out;
    size_t at = 0;
    for (const ProtectedSpan& s : ProtectedSpans(whole)) {
        const size_t begin = std::min(std::max(s.begin, offset), offset + part.size()) - offset;
        const size_t end = std::min(std::max(s.end, offset), offset + part.size()) - offset;
        if (begin == end) continue;
        out += transform(part.substr(at, begin - at));
        out += part.substr(begin, end - begin);
        at = end;
    }
    out += transform(part.substr(at));
    return out;
}

inline std::u16string TrimKeepingLiterals(std::u16string_view part, std::u16string_view whole, size_t offset) {
    return KeepingLiterals(part, whole, offset, [](std::u16string_view s) { return TrimTrailingSpaces(s); });
}

inline std::u16string ExpandTabsKeepingLiterals(std::u16string_view part, int width, std::u16string_view whole,
                                                size_t offset) {
    return KeepingLiterals(part, whole, offset, [&](std::u16string_view s) { return ExpandTabs(s, width); });
}

inline std::u16string SqueezeKeepingLiterals(std::u16string_view part, std::u16string_view whole, size_t offset) {
    return KeepingLiterals(part, whole, offset, [](std::u16string_view s) { return SqueezeBlankLines(s); });
}

}  // namespace quill::commands::reference
