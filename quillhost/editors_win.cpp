// The editors other than EDIT. A rich edit control (RICHEDIT50W from
// msftedit.dll, else RichEdit20W) counts its positions with a CR LF as one and
// gives CR LF in WM_GETTEXT; the IDE built on it answers HostGetSelectedText
// with EM_GETSELTEXT. The stand-in's own classes keep the text themselves and
// answer the plug-in only EM_GETSEL, EM_SETSEL, EM_REPLACESEL and EM_UNDO
// ("plain"), or those and WM_GETTEXT and WM_GETTEXTLENGTH in UTF-16 as EDIT
// does ("unicode"), or those and the line messages and rich edit's event
// messages too, counting as EDIT does ("richlike"); everything else goes to
// DefWindowProc, so the caption is their WM_GETTEXT and EM_GETLIMITTEXT is 0.
// The positions they give the plug-in and take from it count as --positions
// says (UTF-16 units by default). The host's own access (its callbacks, the
// report, the window for people) counts UTF-16 units, and reads and sets the
// text, the lines and the undo state through further messages that only it is
// answered.
#include "quillhost/editors_win.h"

#include <richedit.h>

#include <algorithm>
#include <utility>

#include "quillhost/host_win.h"

namespace quillhost {
namespace {

constexpr size_t kNoLimit = 0x7FFFFFFE;

struct OwnEditor {
    bool unicode = false;  // answers WM_GETTEXT and WM_GETTEXTLENGTH to the plug-in too
    bool richLike = false;  // answers the line messages and rich edit's event messages too
    std::wstring text;
    size_t start = 0, end = 0;  // the selection, start <= end
    bool caretAtStart = false;  // made right to left: the anchor is the end
    bool markSelected = false;  // the final mark past the text is selected too (--positions final-mark)
    LPARAM eventMask = 0;
    bool canUndo = false;
    std::wstring undoText;
    size_t undoStart = 0, undoEnd = 0;
    size_t limit = kNoLimit;  // EM_SETLIMITTEXT by the host; EM_REPLACESEL keeps to it as EDIT does
    HFONT font = nullptr;
} own;

// The host itself talks to the editor (not the plug-in).
bool HostAccess() { return g.pluginDepth == 0 || g.internal > 0; }

// ---- positions as --positions counts them -----------------------------------

bool IsHigh(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The positions of the character at unit i, and its units (a CR LF counted as
// one is one character of two units).
size_t Width(size_t i, size_t& units) {
    const Positions& p = g.opt.positions;
    const std::wstring& t = own.text;
    units = i + 1 < t.size() && IsHigh(t[i]) && IsLow(t[i + 1]) ? 2 : 1;
    if (p.lineBreakAsOne && t[i] == L'\r' && i + 1 < t.size() && t[i + 1] == L'\n') {
        units = 2;
        return 1;
    }
    switch (p.unit) {
        case Positions::Unit::Utf16: units = 1; return 1;  // half a surrogate pair too
        case Positions::Unit::CodePoints: return 1;
        case Positions::Unit::Utf8: return units == 2 ? 4 : t[i] < 0x80 ? 1 : t[i] < 0x800 ? 2 : 3;
        case Positions::Unit::Ansi:
            return static_cast<size_t>(
                WideCharToMultiByte(CP_ACP, 0, &t[i], static_cast<int>(units), nullptr, 0, nullptr, nullptr));
    }
    return units;
}

// The position of a unit offset (one inside a character: the character's start).
size_t ToPosition(size_t unit) {
    size_t position = 0, units = 0;
    for (size_t i = 0; i < unit && i < own.text.size(); i += units) {
        const size_t width = Width(i, units);
        if (i + units > unit) break;
        position += width;
    }
    return position;
}

// The unit offset of a position (one inside a character: the character's
// start; one past the text: the text's end).
size_t ToUnit(size_t position) {
    size_t at = 0, i = 0, units = 0;
    for (; i < own.text.size(); i += units) {
        const size_t width = Width(i, units);
        if (at + width > position) break;
        at += width;
    }
    return i;
}

// As EDIT: start -1 drops the selection (the caret stays at its end); other
// values are unsigned and stop at the text's end. The plug-in's count as
// --positions says; an end past the text selects the final mark, if any.
void SetSelection(WPARAM wp, LPARAM lp, bool host) {
    const auto s = static_cast<UINT>(wp), e = static_cast<UINT>(lp);
    own.markSelected = false;
    if (s == static_cast<UINT>(-1)) {
        own.start = own.end;
        own.caretAtStart = false;
        return;
    }
    size_t a = std::min<size_t>(s, own.text.size()), b = std::min<size_t>(e, own.text.size());
    if (host && !g.opt.positions.IsUnits()) {  // no part of a character the positions cannot tell
        a = ToUnit(ToPosition(a));
        b = ToUnit(ToPosition(b));
    } else if (!host && !g.opt.positions.IsUnits()) {
        a = ToUnit(s);
        b = ToUnit(e);
        own.markSelected = g.opt.positions.finalMark && std::max(s, e) > ToPosition(own.text.size());
    }
    own.start = std::min(a, b);
    own.end = std::max(a, b);
    own.caretAtStart = e < s;
}

// EM_GETSEL: to the plug-in as --positions says.
LRESULT GetSelection(WPARAM wp, LPARAM lp, bool host) {
    size_t s = own.start, e = own.end;
    if (!host && !g.opt.positions.IsUnits()) {
        s = ToPosition(s);
        e = own.markSelected ? ToPosition(own.text.size()) + 1 : ToPosition(e);
        if (g.opt.positions.anchorCaret && own.caretAtStart) std::swap(s, e);
    }
    if (wp) *reinterpret_cast<DWORD*>(wp) = static_cast<DWORD>(s);
    if (lp) *reinterpret_cast<DWORD*>(lp) = static_cast<DWORD>(e);
    return s > 0xFFFF || e > 0xFFFF ? -1 : static_cast<LRESULT>(MAKELONG(s, e));
}

void Replace(const wchar_t* with, bool undoable) {
    std::wstring text = with ? with : L"";
    const size_t kept = own.text.size() - (own.end - own.start);
    if (kept + text.size() > own.limit) text.resize(own.limit > kept ? own.limit - kept : 0);
    if (undoable) {
        own.undoText = own.text;
        own.undoStart = own.start;
        own.undoEnd = own.end;
        own.canUndo = true;
    }
    own.text.replace(own.start, own.end - own.start, text);
    own.start = own.end = own.start + text.size();
    own.caretAtStart = own.markSelected = false;
}

// Lines end at CR LF only.
size_t LineOf(size_t pos) {
    size_t line = 0;
    for (size_t i = 0; i + 1 < pos && i + 1 < own.text.size(); ++i)
        if (own.text[i] == L'\r' && own.text[i + 1] == L'\n') ++line, ++i;
    return line;
}

LRESULT LineIndex(size_t line) {
    size_t at = 0;
    for (size_t n = 0; n < line; ++n) {
        const size_t br = own.text.find(L"\r\n", at);
        if (br == std::wstring::npos) return -1;
        at = br + 2;
    }
    return static_cast<LRESULT>(at);
}

LRESULT LineLength(size_t pos) {
    const auto begin = static_cast<size_t>(LineIndex(LineOf(std::min(pos, own.text.size()))));
    const size_t br = own.text.find(L"\r\n", begin);
    return static_cast<LRESULT>((br == std::wstring::npos ? own.text.size() : br) - begin);
}

// EM_GETLINE: the line's characters, as many as the buffer's first word says, no NUL.
LRESULT CopyLine(WPARAM line, LPARAM buffer) {
    const LRESULT begin = LineIndex(static_cast<size_t>(line));
    if (begin < 0 || !buffer) return 0;
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    const size_t room = *reinterpret_cast<const WORD*>(buffer);
    const size_t n = std::min<size_t>(static_cast<size_t>(LineLength(static_cast<size_t>(begin))), room);
    std::copy_n(own.text.data() + begin, n, out);
    return static_cast<LRESULT>(n);
}

LRESULT CopyText(WPARAM size, LPARAM buffer) {
    if (size == 0 || !buffer) return 0;
    const size_t n = std::min<size_t>(own.text.size(), size - 1);
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    std::copy_n(own.text.data(), n, out);
    out[n] = L'\0';
    return static_cast<LRESULT>(n);
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    FillRect(dc, &r, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    HGDIOBJ old = own.font ? SelectObject(dc, own.font) : nullptr;
    r.left += 4;
    DrawTextW(dc, own.text.c_str(), static_cast<int>(own.text.size()), &r, DT_LEFT | DT_TOP | DT_EXPANDTABS | DT_NOPREFIX);
    if (old) SelectObject(dc, old);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const bool host = HostAccess();
    switch (msg) {
        case EM_GETSEL: return GetSelection(wp, lp, host);
        case EM_SETSEL: SetSelection(wp, lp, host); return 0;
        case EM_REPLACESEL:
            Replace(reinterpret_cast<const wchar_t*>(lp), wp != 0);
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case EM_UNDO:
            if (!own.canUndo) return FALSE;
            std::swap(own.text, own.undoText);  // as EDIT: a second undo takes the first back
            std::swap(own.start, own.undoStart);
            std::swap(own.end, own.undoEnd);
            InvalidateRect(hwnd, nullptr, TRUE);
            return TRUE;
        case WM_GETTEXT:
            if (own.unicode || host) return CopyText(wp, lp);
            break;
        case WM_GETTEXTLENGTH:
            if (own.unicode || host) return static_cast<LRESULT>(own.text.size());
            break;
        case WM_PAINT: Paint(hwnd); return 0;
        default: break;
    }
    if (host || own.richLike) {  // in UTF-16 units, as EDIT counts
        switch (msg) {
            case EM_GETLINECOUNT: return static_cast<LRESULT>(LineOf(own.text.size()) + 1);
            case EM_LINEFROMCHAR:
                return static_cast<LRESULT>(LineOf(wp == static_cast<WPARAM>(-1) ? own.end : std::min<size_t>(wp, own.text.size())));
            case EM_LINEINDEX: return LineIndex(wp == static_cast<WPARAM>(-1) ? LineOf(own.end) : static_cast<size_t>(wp));
            case EM_LINELENGTH: return LineLength(static_cast<size_t>(wp));
            case EM_GETLINE: return CopyLine(wp, lp);
            default: break;
        }
    }
    if (own.richLike) {
        switch (msg) {
            case EM_SETEVENTMASK: return std::exchange(own.eventMask, lp);
            case EM_GETEVENTMASK: return own.eventMask;
            case EM_AUTOURLDETECT: return 0;
            default: break;
        }
    }
    if (host) {
        switch (msg) {
            case WM_SETTEXT:
                own.text = lp ? reinterpret_cast<const wchar_t*>(lp) : L"";
                own.start = own.end = 0;
                own.caretAtStart = own.markSelected = false;
                own.canUndo = false;
                InvalidateRect(hwnd, nullptr, TRUE);
                return TRUE;
            case WM_SETFONT: own.font = reinterpret_cast<HFONT>(wp); return 0;
            case WM_CHAR:  // the window for people: typing replaces the selection
                if (wp == VK_BACK) {
                    if (own.start == own.end && own.start > 0) --own.start;
                    Replace(L"", true);
                } else if (wp == VK_RETURN) {
                    Replace(L"\r\n", true);
                } else if (wp >= L' ' || wp == L'\t') {
                    const wchar_t c[2] = {static_cast<wchar_t>(wp), L'\0'};
                    Replace(c, true);
                }
                InvalidateRect(hwnd, nullptr, TRUE);
                return 0;
            case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
            case EM_CANUNDO: return own.canUndo;
            case EM_EMPTYUNDOBUFFER: own.canUndo = false; return 0;
            case EM_SETLIMITTEXT: own.limit = wp ? static_cast<size_t>(wp) : kNoLimit; return 0;
            default: break;
        }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

const char* EditorKindName(EditorKind kind) {
    switch (kind) {
        case EditorKind::Edit: return "edit";
        case EditorKind::RichEdit: return "richedit";
        case EditorKind::Plain: return "plain";
        case EditorKind::Unicode: return "unicode";
        case EditorKind::RichLike: return "richlike";
    }
    return "edit";
}

HWND CreateOtherEditor(EditorKind kind, HWND parent, HINSTANCE instance) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                        ES_AUTOHSCROLL | ES_NOHIDESEL | ES_WANTRETURN;
    if (kind == EditorKind::RichEdit) {
        const wchar_t* cls = LoadLibraryW(L"msftedit.dll") ? MSFTEDIT_CLASS : nullptr;
        if (!cls && LoadLibraryW(L"riched20.dll")) cls = RICHEDIT_CLASSW;
        if (!cls) return nullptr;
        HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, cls, L"", style, 0, 0, 800, 500, parent,
                                    reinterpret_cast<HMENU>(1), instance, nullptr);
        if (!edit) return nullptr;
        SendMessageW(edit, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO, 0);
        SendMessageW(edit, EM_SETTARGETDEVICE, 0, 1);  // no word wrap: lines are the text's own
        return edit;
    }
    const wchar_t* cls = kind == EditorKind::Unicode    ? L"QuillhostUnicodeEditor"
                         : kind == EditorKind::RichLike ? L"QuillhostRichLikeEditor"
                                                        : L"QuillhostPlainEditor";
    WNDCLASSW wc = {};
    wc.lpfnWndProc = OwnProc;
    wc.hInstance = instance;
    wc.lpszClassName = cls;
    wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    RegisterClassW(&wc);
    own = OwnEditor();
    own.unicode = kind == EditorKind::Unicode || kind == EditorKind::RichLike;
    own.richLike = kind == EditorKind::RichLike;
    return CreateWindowExW(WS_EX_CLIENTEDGE, cls, L"", WS_CHILD | WS_VISIBLE, 0, 0, 800, 500, parent,
                           reinterpret_cast<HMENU>(1), instance, nullptr);
}

std::wstring RichSelectedText(HWND edit) {
    CHARRANGE range = {};
    SendMessageW(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    if (range.cpMax <= range.cpMin) return {};
    std::wstring text(static_cast<size_t>(range.cpMax - range.cpMin) + 1, L'\0');
    const LRESULT n = SendMessageW(edit, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(n > 0 ? std::min(static_cast<size_t>(n), text.size() - 1) : 0);
    return text;
}

std::wstring WithCrLf(const std::wstring& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
            out += L"\r\n";
            ++i;
        } else if (text[i] == L'\r' || text[i] == L'\n') {
            out += L"\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace quillhost
