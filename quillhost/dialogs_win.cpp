// Windows the plug-in opens and the --dialog scripts that act on them. The
// stand-in's watch timer finds each new window (main_win.cpp) and calls
// DialogOpened; while a script is under way, each tick takes at most one step:
// an action is posted to the window as a user's click or key would arrive, so
// the window handles it in its own message loop, message boxes included.
#include "quillhost/dialogs_win.h"

#include <deque>
#include <string>
#include <vector>

#include "quillhost/dialogscript.h"
#include "quillhost/host_win.h"

namespace quillhost {

namespace {

// Ticks of the watch timer (10 ms each) before the first action, between
// actions, and after the last one before a window still open is closed.
constexpr int kSettleTicks = 5;
constexpr int kLingerTicks = 40;

struct Opened {
    HWND hwnd = nullptr;
    json entry;
    std::vector<DialogAction> actions;
    size_t next = 0;
    int wait = kSettleTicks;
    bool scripted = false, finished = false;
};

std::deque<Opened>& Windows() {
    static std::deque<Opened> windows;
    return windows;
}

size_t& ScriptsUsed() {
    static size_t used = 0;
    return used;
}

LONG ButtonType(HWND hwnd) { return GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK; }

bool IsButtonClass(HWND hwnd) { return _wcsicmp(ClassOf(hwnd).c_str(), L"Button") == 0; }

bool IsCheckBox(HWND hwnd) {
    if (!IsButtonClass(hwnd)) return false;
    const LONG type = ButtonType(hwnd);
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

bool IsPushButton(HWND hwnd) {
    if (!IsButtonClass(hwnd)) return false;
    const LONG type = ButtonType(hwnd);
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

// The window's visible controls, children of children included, in Z order.
std::vector<HWND> Controls(HWND hwnd) {
    std::vector<HWND> list;
    EnumChildWindows(
        hwnd,
        +[](HWND child, LPARAM lp) CALLBACK -> BOOL {
            if (IsWindowVisible(child)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&list));
    return list;
}

json Describe(HWND hwnd) {
    json controls = json::array();
    for (HWND c : Controls(hwnd)) {
        json control = {{"class", Utf8(ClassOf(c))}, {"text", Utf8(TextOf(c))},
                        {"enabled", IsWindowEnabled(c) != FALSE}};
        if (IsCheckBox(c)) control["checked"] = SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (IsPushButton(c)) control["default"] = ButtonType(c) == BS_DEFPUSHBUTTON;
        if (c == GetFocus()) control["focused"] = true;
        controls.push_back(std::move(control));
    }
    return controls;
}

// The control an action addresses: the first visible one of its kind whose text matches.
HWND Find(HWND hwnd, const DialogAction& a) {
    const bool wantCheck = a.kind == DialogAction::Kind::Check || a.kind == DialogAction::Kind::Uncheck;
    for (HWND c : Controls(hwnd))
        if ((wantCheck ? IsCheckBox(c) : IsPushButton(c)) && TextMatches(TextOf(c), a.text)) return c;
    return nullptr;
}

void Record(Opened& w, const DialogAction& a, const char* result, const char* why = nullptr) {
    json step = {{"action", Utf8(a.written)}, {"result", result}};
    if (why) step["why"] = why;
    w.entry["actions"].push_back(std::move(step));
}

void CloseByHost(Opened& w) {
    w.finished = true;
    w.entry["closed_by_standin"] = true;
    PostMessageW(w.hwnd, WM_CLOSE, 0, 0);
}

// One step of a script: false when the window is to be closed.
bool Act(Opened& w, const DialogAction& a) {
    if (a.kind == DialogAction::Kind::Escape || a.kind == DialogAction::Kind::Enter ||
        a.kind == DialogAction::Kind::Tab) {
        HWND focus = GetFocus();
        HWND target = focus && (focus == w.hwnd || IsChild(w.hwnd, focus)) ? focus : w.hwnd;
        const WPARAM key = a.kind == DialogAction::Kind::Escape  ? VK_ESCAPE
                           : a.kind == DialogAction::Kind::Enter ? VK_RETURN
                                                                 : VK_TAB;
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
        Record(w, a, "done");
        return true;
    }
    HWND control = Find(w.hwnd, a);
    if (!control) {
        Record(w, a, "failed", "no such control");
        return false;
    }
    if (!IsWindowEnabled(control)) {
        Record(w, a, "failed", "disabled");
        return false;
    }
    const bool checked = IsCheckBox(control) && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    const bool toggle = a.kind == DialogAction::Kind::Click || (a.kind == DialogAction::Kind::Check) != checked;
    if (toggle) PostMessageW(control, BM_CLICK, 0, 0);
    Record(w, a, "done");
    return true;
}

void Step(Opened& w) {
    if (w.finished) return;
    if (!IsWindow(w.hwnd) || !IsWindowVisible(w.hwnd)) {  // closed by what the user did
        w.finished = true;
        for (; w.next < w.actions.size(); ++w.next) Record(w, w.actions[w.next], "failed", "the window had closed");
        return;
    }
    // A user waits while a message box of the window's own is in front.
    if (!IsWindowEnabled(w.hwnd)) return;
    if (w.wait > 0) {
        --w.wait;
        return;
    }
    // The window has handled the last action: how its controls stand now.
    if (w.next > 0 && w.entry["actions"].back()["result"] == "done")
        w.entry["actions"].back()["controls_after"] = Describe(w.hwnd);
    if (w.next == w.actions.size()) {  // the script is done, the window is still open
        CloseByHost(w);
        return;
    }
    const DialogAction& a = w.actions[w.next++];
    if (!Act(w, a)) {
        for (; w.next < w.actions.size(); ++w.next) Record(w, w.actions[w.next], "skipped");
        CloseByHost(w);
        return;
    }
    w.wait = w.next == w.actions.size() ? kLingerTicks : kSettleTicks;
}

}  // namespace

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring TextOf(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
    n = GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

bool DialogOpened(HWND hwnd) {
    Opened w;
    w.hwnd = hwnd;
    w.entry = {{"caption", Utf8(TextOf(hwnd))}, {"class", Utf8(ClassOf(hwnd))}, {"controls", Describe(hwnd)}};
    size_t& used = ScriptsUsed();
    if (used < g.opt.dialogs.size()) {
        const std::wstring& script = g.opt.dialogs[used++];
        std::wstring why;
        w.actions = ParseDialogScript(script, why).value_or(std::vector<DialogAction>{});
        w.scripted = true;
        w.entry["dialog"] = Utf8(script);
        w.entry["actions"] = json::array();
        w.entry["closed_by_standin"] = false;
    } else {
        w.finished = true;
        w.entry["closed_by_standin"] = true;  // the usual rule closes it
    }
    Windows().push_back(std::move(w));
    return Windows().back().scripted;
}

void DriveDialogs() {
    static bool busy = false;  // a message box opened by a step runs its own loop, timers included
    if (busy) return;
    busy = true;
    for (Opened& w : Windows()) Step(w);
    busy = false;
}

json OpenedWindows() {
    json list = json::array();
    for (const Opened& w : Windows()) list.push_back(w.entry);
    return list;
}

}  // namespace quillhost
