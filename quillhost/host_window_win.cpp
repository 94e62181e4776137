// The stand-in's window for people: a menu bar whose Edit menu holds an Undo of
// its own and the plug-in's items where their menu texts place them, a toolbar
// with the plug-in's buttons and bitmaps, and the editor below. Without --in or
// --in-utf8 the editor opens the sample that the program carries as a resource;
// without --pref TabPosition=N the tab width is 4.
#include "quillhost/host_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace quillhost {
namespace {

constexpr UINT kUndo = 100, kExit = 101, kCut = 102, kCopy = 103, kPaste = 104, kSelectAll = 105;
constexpr UINT kPluginBase = 1000;  // menu and button ids: kPluginBase + menu index
constexpr int kImage = 24;          // tool-button bitmaps are drawn to this size

struct Gdi {
    HGDIOBJ handle = nullptr;
    explicit Gdi(HGDIOBJ h = nullptr) : handle(h) {}
    ~Gdi() {
        if (handle) DeleteObject(handle);
    }
    Gdi(const Gdi&) = delete;
    Gdi& operator=(const Gdi&) = delete;
};

struct Window {
    HIMAGELIST images = nullptr;
    HFONT font = nullptr;
    std::map<UINT, std::wstring> tips;  // button id -> caption
    std::vector<wchar_t> tipText;
} w;

std::wstring FromAnsi(const char* bytes, size_t size) {
    if (size == 0) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(size), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(size), out.data(), n);
    return out;
}

// The bundled sample (samples/messy.sql), bytes taken as ANSI text like --in.
std::wstring Sample() {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(self, L"SAMPLE", reinterpret_cast<LPCWSTR>(RT_RCDATA));
    HGLOBAL data = res ? LoadResource(self, res) : nullptr;
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes) return {};
    return FromAnsi(static_cast<const char*>(bytes), SizeofResource(self, res));
}

// "Edit / Quillmendex / [Quillmendex] About" -> {"Edit", "Quillmendex", "[Quillmendex] About"}.
std::vector<std::wstring> MenuPath(const std::wstring& text) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        size_t at = text.find(L" / ", start);
        parts.push_back(text.substr(start, at == std::wstring::npos ? std::wstring::npos : at - start));
        if (at == std::wstring::npos) break;
        start = at + 3;
    }
    return parts;
}

// The popup named `name` inside `menu`, made at the end when there is none yet.
HMENU Submenu(HMENU menu, const std::wstring& name) {
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        wchar_t text[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        HMENU sub = GetSubMenu(menu, i);
        if (sub && name == text) return sub;
    }
    HMENU sub = CreatePopupMenu();
    AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), name.c_str());
    return sub;
}

HMENU BuildMenu() {
    HMENU bar = CreateMenu();
    HMENU file = Submenu(bar, L"&File");
    AppendMenuW(file, MF_STRING, kExit, L"E&xit");
    HMENU edit = Submenu(bar, L"&Edit");
    AppendMenuW(edit, MF_STRING, kUndo, L"&Undo\tCtrl+Z");
    AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(edit, MF_STRING, kCut, L"Cu&t\tCtrl+X");
    AppendMenuW(edit, MF_STRING, kCopy, L"&Copy\tCtrl+C");
    AppendMenuW(edit, MF_STRING, kPaste, L"&Paste\tCtrl+V");
    AppendMenuW(edit, MF_STRING, kSelectAll, L"Select &All");
    AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
    for (const auto& [index, text] : g.menuTexts) {
        std::vector<std::wstring> path = MenuPath(text);
        if (path.size() < 2) continue;  // an item needs a top menu to live in
        // The IDE's own top menus carry mnemonics; "Edit" is our "&Edit".
        HMENU menu = bar;
        for (size_t i = 0; i + 1 < path.size(); ++i) {
            std::wstring name = path[i];
            if (menu == bar && (name == L"Edit" || name == L"File")) name = L"&" + name;
            menu = Submenu(menu, name);
        }
        if (path.back() == L"-")
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu, MF_STRING, kPluginBase + static_cast<UINT>(index), path.back().c_str());
    }
    return bar;
}

bool Enabled(int32_t index) {
    auto it = g.menuState.find(index);
    return it == g.menuState.end() || it->second != 0;
}

// Menu state from HostSetMenuState, for the menu items and their buttons.
void ApplyState(HMENU menu) {
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            ApplyState(sub);
            continue;
        }
        UINT id = GetMenuItemID(menu, i);
        if (id >= kPluginBase && id != static_cast<UINT>(-1))
            EnableMenuItem(menu, static_cast<UINT>(i),
                           MF_BYPOSITION | (Enabled(static_cast<int32_t>(id - kPluginBase)) ? MF_ENABLED : MF_GRAYED));
        else if (id == kUndo)
            EnableMenuItem(menu, kUndo,
                           MF_BYCOMMAND | (SendMessageW(g.edit, EM_CANUNDO, 0, 0) ? MF_ENABLED : MF_GRAYED));
    }
}

void ApplyButtonState() {
    if (!g.toolbar) return;
    for (const auto& [id, caption] : w.tips)
        SendMessageW(g.toolbar, TB_ENABLEBUTTON, id, MAKELPARAM(Enabled(static_cast<int32_t>(id - kPluginBase)), 0));
}

// A bitmap file as a kImage x kImage picture; other sizes are scaled.
HBITMAP LoadButtonBitmap(const std::wstring& path) {
    HBITMAP file = static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!file) return nullptr;
    BITMAP info = {};
    GetObjectW(file, sizeof info, &info);
    if (info.bmWidth == kImage && info.bmHeight == kImage) return file;
    Gdi source(file);
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    HBITMAP scaled = CreateCompatibleBitmap(screen, kImage, kImage);
    HGDIOBJ oldFrom = SelectObject(from, file), oldTo = SelectObject(to, scaled);
    SetStretchBltMode(to, HALFTONE);
    StretchBlt(to, 0, 0, kImage, kImage, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    return scaled;
}

// The colour of the bottom-left pixel shows the toolbar through, as IDEs take it.
COLORREF MaskColour(HBITMAP bitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    COLORREF c = GetPixel(dc, 0, kImage - 1);
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
}

void Layout(HWND hwnd) {
    RECT client = {};
    GetClientRect(hwnd, &client);
    int top = 0;
    if (g.toolbar) {
        SendMessageW(g.toolbar, TB_AUTOSIZE, 0, 0);
        RECT r = {};
        GetWindowRect(g.toolbar, &r);
        top = r.bottom - r.top;
    }
    if (g.edit) MoveWindow(g.edit, 0, top, client.right, client.bottom - top > 0 ? client.bottom - top : 0, TRUE);
}

void CreateToolbar() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    g.toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0, 0,
                                g.main, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!g.toolbar) return;
    SendMessageW(g.toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    w.images = ImageList_Create(kImage, kImage, ILC_COLOR24 | ILC_MASK, 16, 4);
    SendMessageW(g.toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(w.images));
    SendMessageW(g.toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(kImage, kImage));
}

void Run(HWND hwnd, UINT id) {
    switch (id) {
        case kUndo: SendMessageW(g.edit, EM_UNDO, 0, 0); break;
        case kCut: SendMessageW(g.edit, WM_CUT, 0, 0); break;
        case kCopy: SendMessageW(g.edit, WM_COPY, 0, 0); break;
        case kPaste: SendMessageW(g.edit, WM_PASTE, 0, 0); break;
        case kSelectAll: SendMessageW(g.edit, EM_SETSEL, 0, -1); break;
        case kExit: DestroyWindow(hwnd); return;
        default:
            if (id < kPluginBase) return;
            // What the IDE does on a click: the command runs whatever the menu state.
            g.Click(static_cast<int32_t>(id - kPluginBase));
            ApplyButtonState();
    }
    SetFocus(g.edit);
}

LRESULT Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            Layout(hwnd);
            return 0;
        case WM_SETFOCUS:
            if (g.edit) SetFocus(g.edit);
            return 0;
        case WM_INITMENUPOPUP:
            ApplyState(reinterpret_cast<HMENU>(wp));
            return 0;
        case WM_COMMAND:
            if (lp == 0 || reinterpret_cast<HWND>(lp) == g.toolbar) {
                Run(hwnd, LOWORD(wp));
                return 0;
            }
            break;
        case WM_NOTIFY: {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lp);
            if (info->hdr.code == TTN_GETDISPINFOW) {
                auto it = w.tips.find(static_cast<UINT>(info->hdr.idFrom));
                if (it != w.tips.end()) {
                    w.tipText.assign(it->second.begin(), it->second.end());
                    w.tipText.push_back(L'\0');
                    info->lpszText = w.tipText.data();
                }
                return 0;
            }
            break;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    try {
        return Handle(hwnd, msg, wp, lp);
    } catch (...) {
        return 0;
    }
}

void Host::OnButtonCreated(int32_t index, const std::wstring& caption, const std::wstring& bitmap) {
    if (!toolbar) return;
    const UINT id = kPluginBase + static_cast<UINT>(index);
    // The IDE asks for the buttons again at each activation: one button per index.
    if (w.tips.count(id)) SendMessageW(toolbar, TB_DELETEBUTTON, SendMessageW(toolbar, TB_COMMANDTOINDEX, id, 0), 0);
    int image = I_IMAGENONE;
    if (HBITMAP picture = LoadButtonBitmap(bitmap)) {
        Gdi owned(picture);
        image = ImageList_AddMasked(w.images, picture, MaskColour(picture));
    }
    TBBUTTON b = {};
    b.iBitmap = image;
    b.idCommand = static_cast<int>(id);
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = BTNS_BUTTON;
    SendMessageW(toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&b));
    w.tips[id] = caption;
}

int Host::RunInteractive() {
    if (!CreateEditor(false)) return 2;
    if (opt.in || opt.inUtf8) {
        if (std::wstring error = LoadInput(); !error.empty()) {
            fwprintf(stderr, L"quillhost: %ls\n", error.c_str());
            return 2;
        }
    } else {
        SetEditorText(Sample());
        SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    }
    ApplyLimit();
    // Whole-text replacements (HostSetText) can be undone here, as in an IDE.
    undoableText = true;
    // An IDE always has a tab width; --pref TabPosition=N sets another one.
    if (std::none_of(opt.prefs.begin(), opt.prefs.end(), [](const auto& p) { return p.first == L"TabPosition"; }))
        opt.prefs.emplace_back(L"TabPosition", L"4");
    w.font = CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New");
    if (w.font) SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(w.font), TRUE);
    CreateToolbar();

    for (const auto& step : Steps())
        if (step != L"OnDestroy" && step != L"Clicks") RunStep(step);

    SetMenu(main, BuildMenu());
    ApplyButtonState();
    Layout(main);
    if (opt.select) {
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(static_cast<intptr_t>(opt.select->first)),
                     static_cast<LPARAM>(opt.select->second));
    }
    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);
    SetFocus(edit);

    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    RunStep(L"OnDestroy");
    if (w.images) ImageList_Destroy(w.images);
    if (w.font) DeleteObject(w.font);
    return 0;
}

}  // namespace quillhost
