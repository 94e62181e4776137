#include "ui/controls_win.h"

#include <algorithm>
#include <cwchar>

#include "ui/scrolling.h"
#include "base/convert.h"
#include "base/error.h"
#include "base/hosttext_win.h"

namespace quill::ui {

namespace {

[[noreturn]] void CannotCreate() {
    throw Error(u"Quillmendex could not create its window (Windows error " +
                Utf8ToUtf16(std::to_string(GetLastError())) + u").");
}

// The window property that leads from a window to its wrapper. A property of
// its own, unlike GWLP_USERDATA, cannot be mistaken for another owner's data;
// its name holds the module, so two modules with this code never meet.
const wchar_t* WrapperProperty() {
    static const std::wstring name = [] {
        wchar_t text[64];
        swprintf(text, 64, L"Quillmendex.Control.%p", static_cast<void*>(ThisModule()));
        return std::wstring(text);
    }();
    return name.c_str();
}

unsigned ShiftOf(WPARAM keys) noexcept {
    unsigned s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

}  // namespace

int Dpi() noexcept {
    static const int dpi = [] {
        ScreenDC dc(GetDC(nullptr));
        const int d = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
        return d > 0 ? d : 96;
    }();
    return dpi;
}

int Scale(int pixelsAt96) noexcept { return MulDiv(pixelsAt96, Dpi(), 96); }

Font MakeFont(const wchar_t* face, int height96, BYTE charset, BYTE pitchAndFamily) {
    Font font(CreateFontW(-Scale(height96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitchAndFamily, face));
    if (!font) CannotCreate();
    return font;
}

// ---- Control ---------------------------------------------------------------------

Control::~Control() {
    if (subclassed_ && hwnd_) RemoveWindowSubclass(hwnd_, SubclassProc, 0);
    if (hwnd_ && IsWindow(hwnd_) && FromHandle(hwnd_) == this) {
        RemovePropW(hwnd_, WrapperProperty());
        if (owned_) DestroyWindow(hwnd_);
    }
}

Control* Control::FromHandle(HWND hwnd) noexcept {
    if (!hwnd) return nullptr;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId()) return nullptr;
    return static_cast<Control*>(GetPropW(hwnd, WrapperProperty()));
}

void Control::Create(DWORD exStyle, const wchar_t* cls, DWORD style, HWND parent, int x, int y, int w, int h,
                     int id) {
    HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
    HWND hwnd = CreateWindowExW(exStyle, cls, L"", style, x, y, w, h, parent, menu, ThisModule(), this);
    if (!hwnd) CannotCreate();
    if (!hwnd_) {  // a system class: our procedure never saw it
        hwnd_ = hwnd;
        if (!SetPropW(hwnd, WrapperProperty(), this)) {
            hwnd_ = nullptr;
            DestroyWindow(hwnd);
            CannotCreate();
        }
    }
    if (parent) {
        if (Control* p = FromHandle(parent); p && (style & WS_CHILD)) SetFont(p->GetFont());
    }
}

void Control::Attach(Existing window) {
    if (!window.hwnd || !SetPropW(window.hwnd, WrapperProperty(), this)) CannotCreate();
    hwnd_ = window.hwnd;
    owned_ = false;
}

namespace {
std::vector<std::wstring>& Registered() {
    static std::vector<std::wstring> names;
    return names;
}
}  // namespace

const wchar_t* Control::OwnClass(const wchar_t* name, UINT style) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(ThisModule(), name, &wc)) return name;
    wc.style = style;
    wc.lpfnWndProc = OwnProc;
    wc.hInstance = ThisModule();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    Registered().reserve(Registered().size() + 1);
    if (!RegisterClassExW(&wc)) CannotCreate();
    Registered().emplace_back(name);
    return name;
}

void UnregisterClasses() noexcept {
    auto& names = Registered();
    for (auto it = names.begin(); it != names.end();) {
        if (UnregisterClassW(it->c_str(), ThisModule()))
            it = names.erase(it);
        else
            ++it;
    }
}

LRESULT CALLBACK Control::OwnProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    Control* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Control*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        if (self) {
            if (!SetPropW(hwnd, WrapperProperty(), self)) return FALSE;  // creation fails
            self->hwnd_ = hwnd;
        }
    } else {
        self = FromHandle(hwnd);
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        RemovePropW(hwnd, WrapperProperty());
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    try {
        LRESULT result = 0;
        if (RouteToChild(msg, wp, lp, result)) return result;
        return self->Message(msg, wp, lp);
    } catch (...) {
        // A failing handler ends here: the window goes on, nothing reaches Windows.
        return 0;
    }
}

LRESULT Control::Message(UINT msg, WPARAM wp, LPARAM lp) {
    // Windows of our classes keep a font for their children, as system controls do.
    if (msg == WM_SETFONT) {
        font_ = reinterpret_cast<HFONT>(wp);
        return 0;
    }
    if (msg == WM_GETFONT) return reinterpret_cast<LRESULT>(font_);
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

bool Control::RouteToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case WM_COMMAND:
            if (Control* child = lp ? FromHandle(reinterpret_cast<HWND>(lp)) : nullptr) {
                child->Command(HIWORD(wp));
                result = 0;
                return true;
            }
            return false;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lp);
            if (Control* child = header ? FromHandle(header->hwndFrom) : nullptr) {
                result = child->Notify(*header);
                return true;
            }
            return false;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (Control* child = item ? FromHandle(item->hwndItem) : nullptr) {
                child->DrawItem(*item);
                result = TRUE;
                return true;
            }
            return false;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            if (Control* child = FromHandle(reinterpret_cast<HWND>(lp))) {
                if (HBRUSH brush = child->ControlColor(reinterpret_cast<HDC>(wp))) {
                    result = reinterpret_cast<LRESULT>(brush);
                    return true;
                }
            }
            return false;
        default: return false;
    }
}

void Control::Subclass() {
    if (!SetWindowSubclass(hwnd_, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this))) CannotCreate();
    subclassed_ = true;
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                       DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<Control*>(data);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, SubclassProc, 0);
        if (self) self->subclassed_ = false;
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    try {
        LRESULT result = 0;
        if (self && self->Subclassed(msg, wp, lp, result)) return result;
    } catch (...) {
        return 0;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

void Control::SetBounds(int x, int y, int w, int h) {
    SetWindowPos(hwnd_, nullptr, x, y, std::max(w, 0), std::max(h, 0), SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Control::Bounds() const {
    RECT r = {};
    GetWindowRect(hwnd_, &r);
    if (HWND parent = (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd_) : nullptr)
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int Control::Width() const {
    RECT r = Bounds();
    return r.right - r.left;
}

int Control::Height() const {
    RECT r = Bounds();
    return r.bottom - r.top;
}

int Control::ClientWidth() const {
    RECT r = {};
    GetClientRect(hwnd_, &r);
    return r.right;
}

int Control::ClientHeight() const {
    RECT r = {};
    GetClientRect(hwnd_, &r);
    return r.bottom;
}

void Control::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

bool Control::Visible() const noexcept { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }

void Control::BringToFront() {
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::SendToBack() { SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); }

void Control::SetText(std::u16string_view text) {
    const std::u16string copy(text);
    SetWindowTextW(hwnd_, W(copy));
}

std::u16string Control::Text() const {
    const int n = GetWindowTextLengthW(hwnd_);
    std::u16string text(static_cast<size_t>(std::max(n, 0)) + 1, u'\0');
    const int got = GetWindowTextW(hwnd_, reinterpret_cast<wchar_t*>(text.data()), n + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

void Control::SetFont(HFONT font) { SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

HFONT Control::GetFont() const noexcept { return reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)); }

void Control::SetColor(COLORREF color) {
    Brush brush(CreateSolidBrush(color));
    if (!brush) CannotCreate();
    brush_ = std::move(brush);
    color_ = color;
    customColor_ = true;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::SetFontColor(COLORREF color) {
    fontColor_ = color;
    customColor_ = true;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::SetTransparent(bool transparent) {
    transparent_ = transparent;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

HBRUSH Control::ControlColor(HDC dc) {
    if (!customColor_ && !transparent_) return nullptr;
    SetTextColor(dc, fontColor_);
    if (transparent_) {
        SetBkMode(dc, TRANSPARENT);
        const Control* parent = FromHandle(Parent());
        HBRUSH brush = parent ? parent->Background() : nullptr;
        return brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
    }
    SetBkColor(dc, color_);
    return brush_ ? brush_.get() : GetSysColorBrush(COLOR_BTNFACE);
}

bool Control::FillBackground(HDC dc) const {
    if (!Background()) return false;
    RECT r = {};
    GetClientRect(handle(), &r);
    FillRect(dc, &r, Background());
    return true;
}

// ---- Panel -----------------------------------------------------------------------

Panel::Panel(HWND parent, int x, int y, int w, int h) {
    Create(WS_EX_CONTROLPARENT, OwnClass(L"QuillmendexPanel"), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
           parent, x, y, w, h);
}

LRESULT Panel::Message(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND && FillBackground(reinterpret_cast<HDC>(wp))) return 1;
    return Control::Message(msg, wp, lp);
}

// ---- Label -----------------------------------------------------------------------

Label::Label(HWND parent, int x, int y, int w, int h, Align align) : align_(align) {
    const DWORD alignStyle = align == Align::Center ? SS_CENTER : align == Align::Right ? SS_RIGHT : SS_LEFT;
    Create(0, L"STATIC", WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX | alignStyle, parent, x, y, w, h);
    Subclass();
}

void Label::AutoSize() {
    HDC dc = GetDC(handle());
    if (!dc) return;
    SIZE size = {};
    {
        const Selected font = Select(dc, GetFont());
        const std::u16string text = Text();
        TEXTMETRICW tm = {};
        GetTextMetricsW(dc, &tm);
        GetTextExtentPoint32W(dc, W(text), static_cast<int>(text.size()), &size);
        size.cy = tm.tmHeight;
    }
    ReleaseDC(handle(), dc);
    const RECT r = Bounds();
    const int left = align_ == Align::Right ? r.right - size.cx : r.left;
    SetBounds(left, r.top, size.cx, size.cy);
}

void Label::SetAutoSize(bool on) {
    autoSize_ = on;
    if (on) AutoSize();
}

void Label::SetText(std::u16string_view text) {
    Control::SetText(text);
    if (autoSize_) AutoSize();
}

bool Label::Subclassed(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    MouseButton button;
    unsigned extra = 0;
    switch (msg) {
        case WM_LBUTTONDBLCLK: extra = ssDouble; [[fallthrough]];
        case WM_LBUTTONDOWN: button = MouseButton::Left; break;
        case WM_RBUTTONDBLCLK: extra = ssDouble; [[fallthrough]];
        case WM_RBUTTONDOWN: button = MouseButton::Right; break;
        case WM_MBUTTONDBLCLK: extra = ssDouble; [[fallthrough]];
        case WM_MBUTTONDOWN: button = MouseButton::Middle; break;
        case WM_XBUTTONDBLCLK: extra = ssDouble; [[fallthrough]];
        case WM_XBUTTONDOWN:
            button = GET_XBUTTON_WPARAM(wp) == XBUTTON2 ? MouseButton::X2 : MouseButton::X1;
            break;
        default: return false;
    }
    // The static's own handling (its click notification) still runs first.
    result = DefSubclassProc(handle(), msg, wp, lp);
    if (onMouseDown) {
        const WPARAM keys = msg == WM_XBUTTONDOWN || msg == WM_XBUTTONDBLCLK ? GET_KEYSTATE_WPARAM(wp) : wp;
        onMouseDown(button, ShiftOf(keys) | extra, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
    }
    return true;
}

// ---- Button ----------------------------------------------------------------------

Button::Button(HWND parent, int x, int y, int w, int h, int id) {
    Create(0, L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, parent, x, y, w, h, id);
}

void Button::Command(WORD code) {
    // An owner-drawn button reports the second click of a quick pair as a double click.
    if ((code == BN_CLICKED || code == BN_DOUBLECLICKED) && onClick) onClick();
}

void Button::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

    const std::u16string text = Text();
    const Selected font = Select(dc, GetFont());
    SIZE extent = {};
    GetTextExtentPoint32W(dc, W(text), static_cast<int>(text.size()), &extent);
    const int g = glyph ? Scale(16) : 0;
    const int gap = glyph ? Scale(4) : 0;
    const int shift = pushed ? 1 : 0;
    int x = r.left + (r.right - r.left - (g + gap + extent.cx)) / 2 + shift;
    const int mid = (r.top + r.bottom) / 2 + shift;
    if (glyph) {
        const RECT square = {x, mid - g / 2, x + g, mid - g / 2 + g};
        glyph(dc, square);
        x += g + gap;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    RECT textRect = {x, r.top, x + extent.cx + 1, r.bottom};
    OffsetRect(&textRect, 0, shift);
    DrawTextW(dc, W(text), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -Scale(4), -Scale(4));
        DrawFocusRect(dc, &focus);
    }
}

// ---- check box, edits, combo box -------------------------------------------------

CheckBox::CheckBox(HWND parent, int x, int y, int w, int h, DWORD style) {
    Create(0, L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, parent, x, y, w, h);
}

bool CheckBox::Checked() const { return SendMessageW(handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
    SendMessageW(handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

Edit::Edit(HWND parent, int x, int y, int w, int h, DWORD style) {
    Create(WS_EX_CLIENTEDGE, L"EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, parent, x, y, w, h);
}

Memo::Memo(HWND parent, int x, int y, int w, int h, DWORD style, bool border) {
    Create(border ? WS_EX_CLIENTEDGE : 0, L"EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | style, parent,
           x, y, w, h);
}

void Memo::SetReadOnly(bool readOnly) { SendMessageW(handle(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0); }

void Memo::SetLines(const std::vector<std::u16string>& lines) {
    std::u16string text;
    for (const auto& line : lines) {
        text += line;
        text += u"\r\n";
    }
    SetText(text);
}

int Memo::LineCount() const { return static_cast<int>(SendMessageW(handle(), EM_GETLINECOUNT, 0, 0)); }

ComboBox::ComboBox(HWND parent, int x, int y, int w, int h, DWORD style) {
    Create(0, L"COMBOBOX", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | style, parent, x, y, w, h);
}

void ComboBox::ClearItems() { SendMessageW(handle(), CB_RESETCONTENT, 0, 0); }

void ComboBox::AddItem(std::u16string_view text) {
    const std::u16string copy(text);
    const LRESULT at = SendMessageW(handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(copy)));
    if (at == CB_ERR || at == CB_ERRSPACE) throw std::bad_alloc();
}

int ComboBox::ItemCount() const { return static_cast<int>(SendMessageW(handle(), CB_GETCOUNT, 0, 0)); }

std::u16string ComboBox::Item(int index) const {
    const LRESULT n = SendMessageW(handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == CB_ERR) return {};
    std::u16string text(static_cast<size_t>(n) + 1, u'\0');
    const LRESULT got =
        SendMessageW(handle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

int ComboBox::ItemIndex() const { return static_cast<int>(SendMessageW(handle(), CB_GETCURSEL, 0, 0)); }

void ComboBox::SetItemIndex(int index) { SendMessageW(handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

// ---- Picture ---------------------------------------------------------------------

Picture::Picture(HWND parent, int x, int y, int w, int h) {
    Create(0, OwnClass(L"QuillmendexPicture"), WS_CHILD | WS_VISIBLE, parent, x, y, w, h);
}

void Picture::SetBitmap(HBITMAP bitmap) {
    bitmap_ = bitmap;
    InvalidateRect(handle(), nullptr, TRUE);
}

LRESULT Picture::Message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(handle(), &ps);
            if (dc && bitmap_) {
                BITMAP info = {};
                GetObjectW(bitmap_, sizeof info, &info);
                MemoryDC source(CreateCompatibleDC(dc));
                const Selected pick = Select(source.get(), bitmap_);
                BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
            }
            EndPaint(handle(), &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
            pressed_ = true;
            SetCapture(handle());
            return 0;
        case WM_LBUTTONUP: {
            const bool was = pressed_;
            pressed_ = false;
            if (GetCapture() == handle()) ReleaseCapture();
            RECT r = {};
            GetClientRect(handle(), &r);
            const POINT p = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            if (was && PtInRect(&r, p) && onClick) onClick();
            return 0;
        }
        case WM_CAPTURECHANGED: pressed_ = false; return 0;
        default: return Control::Message(msg, wp, lp);
    }
}

// ---- ScrollBox -------------------------------------------------------------------

ScrollBox::ScrollBox(HWND parent, int x, int y, int w, int h, bool border) {
    Create((border ? WS_EX_CLIENTEDGE : 0) | WS_EX_CONTROLPARENT, OwnClass(L"QuillmendexScrollBox"),
           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, parent, x, y, w, h);
    UpdateBar();
}

void ScrollBox::SetRange(int range) {
    range_ = std::max(range, 0);
    UpdateBar();
    SetPosition(position_);
}

void ScrollBox::SetPosition(int position) {
    const int next = ClampScrollPosition(position, range_, ClientHeight());
    const int delta = position_ - next;
    position_ = next;
    UpdateBar();
    if (delta != 0)
        ScrollWindowEx(handle(), 0, delta, nullptr, nullptr, nullptr, nullptr,
                       SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

void ScrollBox::UpdateBar() {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = std::max(range_ - 1, 0);
    si.nPage = static_cast<UINT>(std::max(ClientHeight(), 0));
    si.nPos = position_;
    // Drawing the bar at once costs more than the whole tick of a rising text;
    // it is drawn with the next paint instead.
    SetScrollInfo(handle(), SB_VERT, &si, FALSE);
    RedrawWindow(handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

LRESULT ScrollBox::Message(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_VSCROLL) {
        const int line = Scale(8), page = ClientHeight();
        switch (LOWORD(wp)) {
            case SB_LINEUP: SetPosition(position_ - line); break;
            case SB_LINEDOWN: SetPosition(position_ + line); break;
            case SB_PAGEUP: SetPosition(position_ - page); break;
            case SB_PAGEDOWN: SetPosition(position_ + page); break;
            case SB_TOP: SetPosition(0); break;
            case SB_BOTTOM: SetPosition(range_); break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION: {
                SCROLLINFO si = {};
                si.cbSize = sizeof si;
                si.fMask = SIF_TRACKPOS;
                GetScrollInfo(handle(), SB_VERT, &si);
                SetPosition(si.nTrackPos);
                break;
            }
            default: break;
        }
        return 0;
    }
    if (msg == WM_ERASEBKGND && FillBackground(reinterpret_cast<HDC>(wp))) return 1;
    return Control::Message(msg, wp, lp);
}

// ---- TabControl ------------------------------------------------------------------

TabControl::TabControl(HWND parent, int x, int y, int w, int h) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    Create(WS_EX_CONTROLPARENT, WC_TABCONTROLW, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
           parent, x, y, w, h);
}

void TabControl::AddPage(std::u16string_view caption, Control* page) {
    std::u16string text(caption);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(W(text));
    pages_.reserve(pages_.size() + 1);
    if (SendMessageW(handle(), TCM_INSERTITEMW, pages_.size(), reinterpret_cast<LPARAM>(&item)) < 0) CannotCreate();
    pages_.push_back(page);
    SetActivePage(ActivePage() < 0 ? 0 : ActivePage());
}

void TabControl::DeletePage(int index) {
    if (index < 0 || index >= PageCount()) return;
    const int active = ActivePage();
    SendMessageW(handle(), TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
    pages_.erase(pages_.begin() + index);
    if (!pages_.empty()) SetActivePage(std::clamp(active == index ? 0 : active - (active > index), 0, PageCount() - 1));
}

int TabControl::PageCount() const { return static_cast<int>(SendMessageW(handle(), TCM_GETITEMCOUNT, 0, 0)); }

void TabControl::SetActivePage(int index) {
    SendMessageW(handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    const int active = ActivePage();
    for (size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i]) pages_[i]->SetVisible(static_cast<int>(i) == active);
}

int TabControl::ActivePage() const { return static_cast<int>(SendMessageW(handle(), TCM_GETCURSEL, 0, 0)); }

RECT TabControl::DisplayRect() const {
    RECT r = {};
    GetClientRect(handle(), &r);
    SendMessageW(handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

LRESULT TabControl::Notify(const NMHDR& header) {
    if (header.code == TCN_SELCHANGE) SetActivePage(ActivePage());
    return 0;
}

// ---- Timer -----------------------------------------------------------------------

void Timer::SetEnabled(bool enabled) noexcept {
    if (enabled) {
        enabled_ = SetTimer(owner_, id_, interval_, nullptr) != 0;
    } else {
        if (enabled_) KillTimer(owner_, id_);
        enabled_ = false;
    }
}

void Timer::SetInterval(UINT interval) noexcept {
    interval_ = interval;
    if (enabled_) SetEnabled(true);
}

// ---- Form ------------------------------------------------------------------------

Form::Form(const wchar_t* className, DWORD style, DWORD exStyle) {
    Create(exStyle, OwnClass(className), style, nullptr, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100);
}

void Form::SetClientSize(int w, int h) {
    RECT r = {0, 0, Scale(w), Scale(h)};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(handle(), GWL_EXSTYLE)));
    SetWindowPos(handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetMinimumSize(int w, int h) { minimum_ = {Scale(w), Scale(h)}; }

void Form::CenterOnScreen() {
    const int w = Width(), h = Height();
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    SetWindowPos(handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetIcon(HICON big, HICON small) {
    SendMessageW(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

namespace {

struct ThreadWindows {
    HWND self;
    std::vector<HWND> list;
};

BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM lp) noexcept {
    auto* windows = reinterpret_cast<ThreadWindows*>(lp);
    if (hwnd == windows->self || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd)) return TRUE;
    try {
        windows->list.push_back(hwnd);
    } catch (...) {
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int Form::ShowModal() {
    HWND self = handle();
    modalResult_ = 0;
    // The window has no owner, so it keeps the thread's other windows from input itself.
    ThreadWindows others{self, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&others));
    for (HWND hwnd : others.list) EnableWindow(hwnd, FALSE);

    ShowWindow(self, SW_SHOWNORMAL);
    SetWindowPos(self, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(self);
    if (HWND first = GetNextDlgTabItem(self, nullptr, FALSE)) SetFocus(first);

    MSG msg;
    while (modalResult_ == 0 && handle()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {  // WM_QUIT belongs to the loop further out
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        if (!IsDialogMessageW(self, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (modalResult_ == 0) modalResult_ = IDCANCEL;
    // Enabled again before this one hides, so that activation goes back to them.
    for (HWND hwnd : others.list)
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    if (handle()) ShowWindow(self, SW_HIDE);
    return modalResult_;
}

LRESULT Form::Message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE: modalResult_ = IDCANCEL; return 0;
        case WM_COMMAND:
            // Enter and Esc, as IsDialogMessage reports them: Enter presses the
            // button that has the focus, or else closes like Esc, with OK.
            if (lp == 0 && LOWORD(wp) == IDOK) {
                HWND focus = GetFocus();
                auto* button = IsChild(handle(), focus) ? dynamic_cast<Button*>(FromHandle(focus)) : nullptr;
                if (button)
                    button->Command(BN_CLICKED);
                else
                    modalResult_ = IDOK;
                return 0;
            }
            if (lp == 0 && LOWORD(wp) == IDCANCEL) {
                modalResult_ = IDCANCEL;
                return 0;
            }
            break;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lp);
            info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, minimum_.cx);
            info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, minimum_.cy);
            return 0;
        }
        case WM_TIMER: Tick(wp); return 0;
        default: break;
    }
    return Control::Message(msg, wp, lp);
}

}  // namespace quill::ui
