// The editors other than EDIT. A rich edit control (RICHEDIT50W from
// msftedit.dll, else RichEdit20W) counts its positions with a CR LF as one and
// gives CR LF in WM_GETTEXT; the IDE built on it answers HostGetSelectedText
// with EM_GETSELTEXT. The stand-in's own classes keep the text themselves and
// answer the plug-in only EM_GETSEL, EM_SETSEL, EM_REPLACESEL and EM_UNDO
// ("plain"), or those and WM_GETTEXT and WM_GETTEXTLENGTH in UTF-16 as EDIT
// does ("unicode"); everything else goes to DefWindowProc, so the caption is
// their WM_GETTEXT and EM_GETLIMITTEXT is 0. The host's own access (its
// callbacks, the report, the window for people) reads and sets the text, the
// lines and the undo state through further messages that only it is answered.
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
    std::wstring text;
    size_t start = 0, end = 0;  // the selection, start <= end
    bool canUndo = false;
    std::wstring undoText;
    size_t undoStart = 0, undoEnd = 0;
    size_t limit = kNoLimit;  // EM_SETLIMITTEXT by the host; EM_REPLACESEL keeps to it as EDIT does
    HFONT font = nullptr;
} own;

// The host itself talks to the editor (not the plug-in).
bool HostAccess() { return g.pluginDepth == 0 || g.internal > 0; }

// As EDIT: start -1 drops the selection (the caret stays at its end); other
// values are unsigned and stop at the text's end.
void SetSelection(WPARAM wp, LPARAM lp) {
    const auto s = static_cast<UINT>(wp), e = static_cast<UINT>(lp);
    if (s == static_cast<UINT>(-1)) {
        own.start = own.end;
        return;
    }
    const size_t a = std::min<size_t>(s, own.text.size()), b = std::min<size_t>(e, own.text.size());
    own.start = std::min(a, b);
    own.end = std::max(a, b);
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
        case EM_GETSEL: {
            if (wp) *reinterpret_cast<DWORD*>(wp) = static_cast<DWORD>(own.start);
            if (lp) *reinterpret_cast<DWORD*>(lp) = static_cast<DWORD>(own.end);
            return own.start > 0xFFFF || own.end > 0xFFFF ? -1 : static_cast<LRESULT>(MAKELONG(own.start, own.end));
        }
        case EM_SETSEL: SetSelection(wp, lp); return 0;
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
    if (host) {
        switch (msg) {
            case WM_SETTEXT:
                own.text = lp ? reinterpret_cast<const wchar_t*>(lp) : L"";
                own.start = own.end = 0;
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
            case EM_GETLINECOUNT: return static_cast<LRESULT>(LineOf(own.text.size()) + 1);
            case EM_LINEFROMCHAR:
                return static_cast<LRESULT>(LineOf(wp == static_cast<WPARAM>(-1) ? own.end : std::min<size_t>(wp, own.text.size())));
            case EM_LINEINDEX: return LineIndex(wp == static_cast<WPARAM>(-1) ? LineOf(own.end) : static_cast<size_t>(wp));
            case EM_LINELENGTH: return LineLength(static_cast<size_t>(wp));
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
    const wchar_t* cls = kind == EditorKind::Unicode ? L"QuillhostUnicodeEditor" : L"QuillhostPlainEditor";
    WNDCLASSW wc = {};
    wc.lpfnWndProc = OwnProc;
    wc.hInstance = instance;
    wc.lpszClassName = cls;
    wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    RegisterClassW(&wc);
    own = OwnEditor();
    own.unicode = kind == EditorKind::Unicode;
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

}  // namespace quillhost
