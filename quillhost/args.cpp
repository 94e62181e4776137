#include "quillhost/args.h"

#include <cstdlib>

#include "quillhost/dialogscript.h"

namespace quillhost {

const wchar_t* Usage() {
    return L"usage: quillhost.exe --plugin PATH [--in FILE | --in-utf8 FILE] [--select START:END]\n"
           L"         [--limit-text N] [--pref NAME=VALUE]... [--env NAME=VALUE]... [--window-type N]\n"
           L"         [--root DIR] [--settings-key KEY] [--click N]... [--out FILE]\n"
           L"         [--out-utf8 FILE] [--report FILE] [--editor edit|richedit|plain|unicode|richlike]\n"
           L"         [--positions units|codepoints|utf8|ansi[,crlf-one][,final-mark][,anchor-caret]]\n"
           L"         [--selected-text crlf]\n"
           L"         [--stack-align 4|16] (32-bit: the stack at each call into the plug-in; 4)\n"
           L"       fault injection: [--unregister N]... [--null-text N]... [--empty-text N]...\n"
           L"         [--editor-handle N] [--window-fault KIND]... [--sequence EXPORT[:ARG],...]\n"
           L"       windows the plug-in opens: [--dialog \"ACTION;...\"]... ACTION: check:TEXT,\n"
           L"         uncheck:TEXT, click:TEXT, key:ESC, key:ENTER, key:TAB\n"
           L"       KIND: short-text, nul-text, zero-length, sel-outside, sel-reversed\n"
           L"Without --click, --out, --out-utf8, --report or --sequence it opens a window for people.\n";
}

std::optional<int32_t> ParseInt32(const std::wstring& text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    if (i == text.size()) return std::nullopt;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
        value = value * 10 + (text[i] - L'0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return std::nullopt;
    return static_cast<int32_t>(value);
}

std::wstring WindowsPath(const std::wstring& path) {
    if (path.empty() || path[0] != L'/') return path;
    std::wstring out = L"Z:" + path;
    for (auto& c : out)
        if (c == L'/') c = L'\\';
    return out;
}

namespace {

bool ParsePositions(const std::wstring& value, Positions& p) {
    p = Positions();
    p.given = value;
    size_t start = 0;
    for (bool first = true; start <= value.size(); first = false) {
        size_t comma = value.find(L',', start);
        if (comma == std::wstring::npos) comma = value.size();
        const std::wstring word = value.substr(start, comma - start);
        start = comma + 1;
        if (first && word == L"units") p.unit = Positions::Unit::Utf16;
        else if (first && word == L"codepoints") p.unit = Positions::Unit::CodePoints;
        else if (first && word == L"utf8") p.unit = Positions::Unit::Utf8;
        else if (first && word == L"ansi") p.unit = Positions::Unit::Ansi;
        else if (!first && word == L"crlf-one") p.lineBreakAsOne = true;
        else if (!first && word == L"final-mark") p.finalMark = true;
        else if (!first && word == L"anchor-caret") p.anchorCaret = true;
        else return false;
    }
    return true;
}

bool SplitPair(const std::wstring& text, wchar_t sep, std::wstring& a, std::wstring& b) {
    auto at = text.find(sep);
    if (at == std::wstring::npos) return false;
    a = text.substr(0, at);
    b = text.substr(at + 1);
    return true;
}

}  // namespace

ParseResult ParseArgs(const std::vector<std::wstring>& args) {
    Options o;
    auto fail = [](std::wstring why) { return ParseResult{std::nullopt, std::move(why)}; };
    bool havePlugin = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& name = args[i];
        if (i + 1 >= args.size()) return fail(L"missing value after " + name);
        const std::wstring& value = args[++i];
        std::wstring a, b;
        auto number = [&](int32_t& into) {
            auto n = ParseInt32(value);
            if (n) into = *n;
            return n.has_value();
        };
        int32_t n = 0;
        if (name == L"--plugin") {
            o.plugin = WindowsPath(value);
            havePlugin = true;
        } else if (name == L"--in") {
            o.in = WindowsPath(value);
        } else if (name == L"--in-utf8") {
            o.inUtf8 = WindowsPath(value);
        } else if (name == L"--out") {
            o.out = WindowsPath(value);
        } else if (name == L"--out-utf8") {
            o.outUtf8 = WindowsPath(value);
        } else if (name == L"--limit-text") {
            if (!number(n) || n < 0) return fail(L"--limit-text wants an integer from 0");
            o.limitText = n;
        } else if (name == L"--editor") {
            if (value == L"edit") o.editor = EditorKind::Edit;
            else if (value == L"richedit") o.editor = EditorKind::RichEdit;
            else if (value == L"plain") o.editor = EditorKind::Plain;
            else if (value == L"unicode") o.editor = EditorKind::Unicode;
            else if (value == L"richlike") o.editor = EditorKind::RichLike;
            else return fail(L"--editor wants edit, richedit, plain, unicode or richlike");
        } else if (name == L"--positions") {
            if (!ParsePositions(value, o.positions))
                return fail(L"--positions wants units, codepoints, utf8 or ansi, then any of ,crlf-one ,final-mark "
                            L",anchor-caret");
        } else if (name == L"--selected-text") {
            if (value != L"crlf") return fail(L"--selected-text wants crlf");
            o.selectedTextCrLf = true;
        } else if (name == L"--window-fault") {
            WindowFaults& f = o.windowFaults;
            if (value == L"short-text") f.shortText = true;
            else if (value == L"zero-length") f.zeroLength = true;
            else if (value == L"nul-text") f.nulText = true;
            else if (value == L"sel-outside") f.selOutside = true;
            else if (value == L"sel-reversed") f.selReversed = true;
            else return fail(L"--window-fault wants short-text, nul-text, zero-length, sel-outside or sel-reversed");
        } else if (name == L"--report") {
            o.report = WindowsPath(value);
        } else if (name == L"--root") {
            o.root = value;
        } else if (name == L"--settings-key") {
            o.settingsKey = value;
        } else if (name == L"--select") {
            int32_t s = 0, e = 0;
            if (!SplitPair(value, L':', a, b)) return fail(L"--select wants START:END");
            auto ps = ParseInt32(a), pe = ParseInt32(b);
            if (!ps || !pe) return fail(L"--select wants two integers");
            s = *ps;
            e = *pe;
            o.select = std::make_pair(s, e);
        } else if (name == L"--pref" || name == L"--env") {
            if (!SplitPair(value, L'=', a, b) || a.empty()) return fail(name + L" wants NAME=VALUE");
            (name == L"--pref" ? o.prefs : o.env).emplace_back(a, b);
        } else if (name == L"--window-type") {
            if (!number(o.windowType)) return fail(L"--window-type wants an integer");
        } else if (name == L"--click") {
            if (!number(n)) return fail(L"--click wants an integer");
            o.clicks.push_back(n);
        } else if (name == L"--unregister" || name == L"--null-text" || name == L"--empty-text") {
            if (!number(n)) return fail(name + L" wants an integer");
            (name == L"--unregister" ? o.unregister : name == L"--null-text" ? o.nullText : o.emptyText).push_back(n);
        } else if (name == L"--editor-handle") {
            if (!number(n)) return fail(L"--editor-handle wants an integer");
            o.editorHandle = n;
        } else if (name == L"--stack-align") {
            if (!number(n) || (n != 4 && n != 16)) return fail(L"--stack-align wants 4 or 16");
            o.stackAlign = n;
        } else if (name == L"--sequence") {
            o.sequence = value;
        } else if (name == L"--dialog") {
            std::wstring why;
            if (!ParseDialogScript(value, why)) return fail(why);
            o.dialogs.push_back(value);
        } else {
            return fail(L"unknown option " + name);
        }
    }
    if (!havePlugin) return fail(L"--plugin is required");
    if (o.in && o.inUtf8) return fail(L"--in and --in-utf8 both give the initial text; use one");
    if (!o.positions.IsUnits() && (o.editor == EditorKind::Edit || o.editor == EditorKind::RichEdit))
        return fail(L"--positions is for the stand-in's own editors: plain, unicode or richlike");
    return ParseResult{std::move(o), {}};
}

}  // namespace quillhost
