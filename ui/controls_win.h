#pragma once
// A small layer over Win32 windows and controls, as much as the About window
// and the settings frame need. Each wrapper owns its window and destroys it
// with itself (but for one over a control that a dialog template made);
// copying is deleted. Positions and sizes are pixels of the screen in the
// parent's client area; Scale turns the 96-dpi sizes of a design into them.
//
// Windows of our own classes (Panel, Picture, ScrollBox, Form) pass their
// children's notifications on to the child's wrapper: clicks (WM_COMMAND),
// WM_NOTIFY, owner drawing and colours. No exception leaves a window procedure.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/handles_win.h"

namespace quill::ui {

// The screen's dots per inch, and a 96-dpi size in them.
int Dpi() noexcept;
int Scale(int pixelsAt96) noexcept;

// GDI objects, icons and device contexts, each given back with its owner.
template <class H>
using GdiObject = UniqueHandle<H, DeleteObject>;
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;
using Icon = UniqueHandle<HICON, DestroyIcon>;
inline int ReleaseScreenDC(HDC dc) noexcept { return ReleaseDC(nullptr, dc); }
using ScreenDC = UniqueHandle<HDC, ReleaseScreenDC>;  // ScreenDC dc(GetDC(nullptr));
using MemoryDC = UniqueHandle<HDC, DeleteDC>;         // MemoryDC dc(CreateCompatibleDC(like));

// A GDI object selected into a DC for the scope: auto pick = Select(dc, font);
struct Selection {
    HDC dc;
    HGDIOBJ old;
    bool operator==(const Selection&) const = default;
};
inline BOOL Restore(Selection s) noexcept { return SelectObject(s.dc, s.old) != nullptr; }
using Selected = UniqueHandle<Selection, Restore>;
inline Selected Select(HDC dc, HGDIOBJ obj) noexcept {
    HGDIOBJ old = obj ? SelectObject(dc, obj) : nullptr;
    return Selected(old ? Selection{dc, old} : Selection{});
}

// A font face with a character height in pixels at 96 dpi (scaled to the screen).
// pitchAndFamily guides the choice when the face is not installed.
Font MakeFont(const wchar_t* face, int height96, BYTE charset = DEFAULT_CHARSET,
              BYTE pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE);

// The keys and buttons held at a mouse message, and which button went down.
enum Shift : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
enum class MouseButton { Left, Right, Middle, X1, X2 };

// Unregisters the window classes of ours that no window uses any more (after
// the plug-in's window is gone), so that a reloaded module registers its own.
void UnregisterClasses() noexcept;

// A control that a dialog template made: its wrapper neither creates nor
// destroys it (the dialog does both).
struct Existing {
    HWND hwnd;
};

class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND handle() const noexcept { return hwnd_; }
    // The wrapper of a window made by this layer, or null.
    static Control* FromHandle(HWND hwnd) noexcept;

    const std::u16string& name() const noexcept { return name_; }
    void SetName(std::u16string name) { name_ = std::move(name); }
    HWND Parent() const noexcept { return GetParent(hwnd_); }

    void SetBounds(int x, int y, int w, int h);
    RECT Bounds() const;  // in the parent's client area
    int Left() const { return Bounds().left; }
    int Top() const { return Bounds().top; }
    int Width() const;
    int Height() const;
    int ClientWidth() const;
    int ClientHeight() const;

    void SetVisible(bool visible);
    bool Visible() const noexcept;  // the window's own flag, whatever its parents show
    void BringToFront();
    void SendToBack();

    void SetText(std::u16string_view text);
    std::u16string Text() const;
    void SetFont(HFONT font);
    HFONT GetFont() const noexcept;

    // Background colour, text colour, and a transparent background (the parent's).
    void SetColor(COLORREF color);
    COLORREF Color() const noexcept { return color_; }
    void SetFontColor(COLORREF color);
    COLORREF FontColor() const noexcept { return fontColor_; }
    void SetTransparent(bool transparent);
    HBRUSH Background() const noexcept { return brush_.get(); }

    // From the parent: WM_CTLCOLOR* (prepares dc, returns the brush, or null for
    // the default), WM_COMMAND's code, WM_NOTIFY and WM_DRAWITEM.
    virtual HBRUSH ControlColor(HDC dc);
    virtual void Command(WORD) {}
    virtual LRESULT Notify(const NMHDR&) { return 0; }
    virtual void DrawItem(const DRAWITEMSTRUCT&) {}

protected:
    Control() = default;
    // Makes the window; for our own classes lpParam carries this wrapper.
    void Create(DWORD exStyle, const wchar_t* cls, DWORD style, HWND parent, int x, int y, int w, int h,
                int id = 0);
    // Wraps a window that a dialog template made.
    void Attach(Existing window);
    // Registers a class of ours (once per module); its procedure calls Message.
    static const wchar_t* OwnClass(const wchar_t* name, UINT style = 0);
    // Messages to windows of our own classes, after the children's notifications.
    virtual LRESULT Message(UINT msg, WPARAM wp, LPARAM lp);
    // For WM_ERASEBKGND: fills the client area with our background; false
    // when there is none (the default erase then).
    bool FillBackground(HDC dc) const;
    // Passes a child's notification on to its wrapper; false when it is none of them.
    static bool RouteToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Subclasses a system control; its messages then go to Subclassed first.
    void Subclass();
    virtual bool Subclassed(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

    COLORREF color_ = GetSysColor(COLOR_BTNFACE);
    COLORREF fontColor_ = GetSysColor(COLOR_WINDOWTEXT);
    bool customColor_ = false;
    bool transparent_ = false;

private:
    static LRESULT CALLBACK OwnProc(HWND, UINT, WPARAM, LPARAM) noexcept;
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;

    HWND hwnd_ = nullptr;
    std::u16string name_;
    Brush brush_;
    HFONT font_ = nullptr;
    bool subclassed_ = false;
    bool owned_ = true;  // destroyed with the wrapper
};

// A plain panel that paints its colour and holds other controls.
class Panel : public Control {
public:
    Panel(HWND parent, int x, int y, int w, int h);
    explicit Panel(Existing window) { Attach(window); }

protected:
    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp) override;
};

// A static text. A mouse-down with any button (also the second of a double
// click) calls onMouseDown; AutoSize fits the width and height to the text.
class Label : public Control {
public:
    enum class Align { Left, Center, Right };
    Label(HWND parent, int x, int y, int w, int h, Align align = Align::Left);
    // Fits the size to the text; a right-aligned label keeps its right edge.
    void AutoSize();
    // While on, every new text fits the size again.
    void SetAutoSize(bool on);
    void SetText(std::u16string_view text);
    std::function<void(MouseButton, unsigned shift, int x, int y)> onMouseDown;

private:
    bool Subclassed(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    Align align_;
    bool autoSize_ = false;
};

// A push button with a small picture drawn left of its caption.
class Button : public Control {
public:
    Button(HWND parent, int x, int y, int w, int h, int id = 0);
    std::function<void()> onClick;
    // Draws the picture into the square it is given.
    std::function<void(HDC, const RECT&)> glyph;
    void Command(WORD code) override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;
};

class CheckBox : public Control {
public:
    CheckBox(HWND parent, int x, int y, int w, int h, DWORD style = BS_AUTOCHECKBOX);
    explicit CheckBox(Existing control) { Attach(control); }
    bool Checked() const;
    void SetChecked(bool checked);
};

// Single-line edit.
class Edit : public Control {
public:
    Edit(HWND parent, int x, int y, int w, int h, DWORD style = ES_AUTOHSCROLL);
    explicit Edit(Existing control) { Attach(control); }
};

// Multi-line edit.
class Memo : public Control {
public:
    Memo(HWND parent, int x, int y, int w, int h, DWORD style = 0, bool border = true);
    void SetReadOnly(bool readOnly);
    // Each line followed by CR LF.
    void SetLines(const std::vector<std::u16string>& lines);
    int LineCount() const;
};

class ComboBox : public Control {
public:
    ComboBox(HWND parent, int x, int y, int w, int h, DWORD style = CBS_DROPDOWN);
    void ClearItems();
    void AddItem(std::u16string_view text);
    int ItemCount() const;
    std::u16string Item(int index) const;
    int ItemIndex() const;  // -1 when nothing is selected
    void SetItemIndex(int index);
};

// A bitmap shown from its top-left corner; a click (button down and up on it) calls onClick.
class Picture : public Control {
public:
    Picture(HWND parent, int x, int y, int w, int h);
    void SetBitmap(HBITMAP bitmap);  // not owned
    std::function<void()> onClick;

protected:
    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    HBITMAP bitmap_ = nullptr;
    bool pressed_ = false;
};

// A bordered box whose vertical scroll bar moves its children.
class ScrollBox : public Control {
public:
    ScrollBox(HWND parent, int x, int y, int w, int h, bool border = true);
    int Range() const noexcept { return range_; }
    void SetRange(int range);
    int Position() const noexcept { return position_; }
    // Kept between 0 and the range minus the client height; the children move along.
    void SetPosition(int position);

protected:
    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void UpdateBar();
    int range_ = 0, position_ = 0;
};

// A tab control whose pages are windows shown for the selected tab.
class TabControl : public Control {
public:
    TabControl(HWND parent, int x, int y, int w, int h);
    void AddPage(std::u16string_view caption, Control* page);
    void DeletePage(int index);
    int PageCount() const;
    void SetActivePage(int index);
    int ActivePage() const;
    RECT DisplayRect() const;  // where the pages go, in the control's client area
    LRESULT Notify(const NMHDR& header) override;

private:
    std::vector<Control*> pages_;
};

// A timer on a window; while enabled, onTick runs every interval milliseconds.
class Timer {
public:
    Timer(HWND owner, UINT_PTR id, UINT interval) noexcept : owner_(owner), id_(id), interval_(interval) {}
    ~Timer() { SetEnabled(false); }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled) noexcept;
    UINT Interval() const noexcept { return interval_; }
    void SetInterval(UINT interval) noexcept;
    UINT_PTR id() const noexcept { return id_; }

private:
    HWND owner_;
    UINT_PTR id_;
    UINT interval_;
    bool enabled_ = false;
};

// A top-level window shown modally: while it is shown the thread's other
// top-level windows are disabled, and enabled again when it closes.
class Form : public Control {
public:
    // modalResult: 0 while open; the close box and Esc give 2, Enter 1. Enter
    // presses the button that has the focus.
    int ModalResult() const noexcept { return modalResult_; }
    void SetModalResult(int result) noexcept { modalResult_ = result; }
    // Shows the window in front, runs its message loop until a modal result is
    // set, hides it and returns the result.
    int ShowModal();
    // Client size and minimum outer size (96-dpi values, scaled here).
    void SetClientSize(int w, int h);
    void SetMinimumSize(int w, int h);
    void CenterOnScreen();
    void SetIcon(HICON big, HICON small);

protected:
    Form(const wchar_t* className, DWORD style, DWORD exStyle);
    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp) override;
    virtual void Tick(UINT_PTR) {}

private:
    int modalResult_ = 0;
    SIZE minimum_ = {};
};

}  // namespace quill::ui
