#include "configure/settingsdialog_win.h"

#include <shellapi.h>

#include <algorithm>
#include <exception>
#include <memory>
#include <vector>

#include "base/error.h"
#include "base/hosttext_win.h"
#include "configure/settingsdialog_ids.h"
#include "settings/inifile_win.h"
#include "settings/keys.h"
#include "settings/logger.h"
#include "ui/pluginframe_win.h"

namespace quill {

namespace {

constexpr char16_t kCaption[] = u"Quillmendex settings";
constexpr wchar_t kClassName[] = L"TfrmQuillmendexSettings";  // as the template names it

// The system's dialog class under the template's name, for as long as the
// dialog is shown: gone afterwards, so that a module loaded again later
// registers its own.
class DialogClass {
public:
    DialogClass() {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        if (!GetClassInfoExW(nullptr, WC_DIALOG, &wc)) return;
        wc.hInstance = ThisModule();
        wc.lpszClassName = kClassName;
        registered_ = RegisterClassExW(&wc) != 0;
    }
    ~DialogClass() {
        if (registered_) UnregisterClassW(kClassName, ThisModule());
    }
    DialogClass(const DialogClass&) = delete;
    DialogClass& operator=(const DialogClass&) = delete;

private:
    bool registered_ = false;
};

// The switches, in the dialog's order: the key (the check box's name on the
// frame), the check box and the line under it.
struct Row {
    const char16_t* key;
    int check, line;
};
constexpr Row kRows[] = {{keys::kKeepStringLiterals, IDC_KEEPSTRINGLITERALS, IDC_KEEPSTRINGLITERALS_LINE},
                         {keys::kTabStops, IDC_TABSTOPS, IDC_TABSTOPS_LINE},
                         {keys::kLogging, IDC_LOGGING, IDC_LOGGING_LINE}};

// The file name part of a path (after the last "\" or ":").
std::u16string FileNameOf(const std::u16string& path) {
    const size_t at = path.find_last_of(u"\\:/");
    return at == std::u16string::npos ? path : path.substr(at + 1);
}

std::u16string FolderOf(const std::u16string& path) {
    const size_t at = path.find_last_of(u"\\/");
    if (at == std::u16string::npos) return {};
    // "C:\x.ini" keeps the root's backslash.
    return path.substr(0, at == 2 && path[1] == u':' ? at + 1 : at);
}

void Show(HWND owner, const std::u16string& text) {
    MessageBoxW(owner, W(text), W(kCaption), MB_OK | MB_ICONERROR);
}

RECT BoundsIn(HWND parent, HWND child) {
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Centred on the owner window when it is shown, else on the screen; kept
// inside the work area of that monitor.
void CenterOnOwner(HWND hwnd) {
    HWND owner = GetWindow(hwnd, GW_OWNER);
    RECT around = {}, self = {};
    const bool onOwner = owner && IsWindowVisible(owner) && !IsIconic(owner) && GetWindowRect(owner, &around);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(onOwner ? owner : hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor) ||
        !GetWindowRect(hwnd, &self))
        return;
    const RECT work = monitor.rcWork;
    if (!onOwner) around = work;
    const int w = self.right - self.left, h = self.bottom - self.top;
    const int x = std::clamp<int>(around.left + (around.right - around.left - w) / 2, work.left,
                                  std::max<int>(work.left, work.right - w));
    const int y = std::clamp<int>(around.top + (around.bottom - around.top - h) / 2, work.top,
                                  std::max<int>(work.top, work.bottom - h));
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

class SettingsDialog {
public:
    explicit SettingsDialog(const std::u16string& iniFileName) : fIniFileName(iniFileName) {}

    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
        auto* self = reinterpret_cast<SettingsDialog*>(
            msg == WM_INITDIALOG ? lp : GetWindowLongPtrW(hwnd, DWLP_USER));
        if (!self) return FALSE;
        try {
            switch (msg) {
                case WM_INITDIALOG:
                    SetWindowLongPtrW(hwnd, DWLP_USER, lp);
                    self->hwnd_ = hwnd;
                    self->Init();
                    return TRUE;  // the focus goes to the first control that takes it
                case WM_COMMAND:
                    if (LOWORD(wp) == IDOK) self->btnOKClick();
                    if (LOWORD(wp) == IDCANCEL) EndDialog(hwnd, IDCANCEL);
                    if (LOWORD(wp) == IDC_OPENFOLDER && HIWORD(wp) == BN_CLICKED) self->btnOpenFolderClick();
                    return TRUE;
                case WM_DESTROY: self->fraSettings.reset(); return FALSE;
                default: return FALSE;
            }
        } catch (...) {
            // Nothing reaches Windows: the dialog ends and ShowSettingsDialog raises it.
            self->failure = std::current_exception();
            EndDialog(hwnd, IDCANCEL);
            return TRUE;
        }
    }

    SettingsDialogResult result;
    std::exception_ptr failure;

private:
    HWND Item(int id) const noexcept { return GetDlgItem(hwnd_, id); }
    void Init();
    void btnOKClick();
    void btnOpenFolderClick();

    HWND hwnd_ = nullptr;
    std::u16string fIniFileName, whyUnreadable_;
    std::unique_ptr<Tfrapluginframe> fraSettings;
    std::vector<bool> shown_;  // what each row showed at opening, or was written since
};

void SettingsDialog::Init() {
    IniFile ini(fIniFileName);
    whyUnreadable_ = ini.WhyUnreadable();
    const bool readable = whyUnreadable_.empty();
    SetWindowTextW(Item(IDC_LOGGING_LINE), W(u"Writes what Quillmendex does into " +
                                             FileNameOf(ChangeFileExt(fIniFileName, u".dbg")) +
                                             u", beside the settings file."));
    SetWindowTextW(Item(IDC_SETTINGSFILE), W(fIniFileName));

    fraSettings = std::make_unique<Tfrapluginframe>(ui::Existing{hwnd_});
    for (const Row& row : kRows) {
        fraSettings->Adopt<ui::CheckBox>(row.key, Item(row.check));
        // A file that cannot be read is never read: the rows show the defaults, greyed.
        const bool value = readable && ini.ReadBool(W(row.key), false);
        shown_.push_back(value);
        fraSettings->setSetting(row.key, Variant(value));
        EnableWindow(Item(row.check), readable);
        EnableWindow(Item(row.line), readable);
    }
    EnableWindow(Item(IDOK), readable);
    if (!readable) {
        SetWindowTextW(Item(IDC_STATUS),
                       W(u"The settings file cannot be read (" + whyUnreadable_ + u"): nothing can be changed."));
        ShowWindow(Item(IDC_STATUS), SW_SHOWNA);
    } else {
        // No status line: OK and Cancel move up into its place.
        const int up = BoundsIn(hwnd_, Item(IDOK)).top - BoundsIn(hwnd_, Item(IDC_STATUS)).top;
        for (int id : {IDOK, IDCANCEL}) {
            const RECT r = BoundsIn(hwnd_, Item(id));
            SetWindowPos(Item(id), nullptr, r.left, r.top - up, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        RECT outer = {};
        GetWindowRect(hwnd_, &outer);
        SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top - up,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CenterOnOwner(hwnd_);
    // In front, as the active window, also over an owner of another program.
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
}

void SettingsDialog::btnOKClick() {
    if (!whyUnreadable_.empty()) return;
    {
        IniFile ini(fIniFileName);
        for (size_t i = 0; i < std::size(kRows); ++i) {
            const Row& row = kRows[i];
            const bool value = fraSettings->readSetting(row.key).AsBoolean();
            if (value == shown_[i]) continue;
            if (const std::u16string why = ini.TryWriteBool(W(row.key), value); !why.empty()) {
                Show(hwnd_, u"Quillmendex could not write its settings to " + fIniFileName + u": " + why);
                return;
            }
            shown_[i] = value;
            result.saved = true;
            if (row.key == keys::kLogging) {
                SetLoggingFromSettings(value, fIniFileName);
                result.loggingSwitchedOn = value;
            }
        }
    }
    EndDialog(hwnd_, IDOK);
}

void SettingsDialog::btnOpenFolderClick() {
    const std::u16string folder = FolderOf(fIniFileName);
    SetLastError(ERROR_SUCCESS);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(hwnd_, L"explore", W(folder), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) {
        const DWORD code = GetLastError();
        Show(hwnd_, u"Quillmendex could not open the folder " + folder + u": " +
                        SystemErrorText(code != ERROR_SUCCESS ? code : static_cast<DWORD>(result)));
    }
}

}  // namespace

SettingsDialogResult ShowSettingsDialog(HWND owner, const std::u16string& iniFileName) {
    const DialogClass dialogClass;
    SettingsDialog dialog(iniFileName);
    const INT_PTR shown = DialogBoxParamW(ThisModule(), MAKEINTRESOURCEW(IDD_SETTINGS), owner, SettingsDialog::Proc,
                                          reinterpret_cast<LPARAM>(&dialog));
    if (dialog.failure) std::rethrow_exception(dialog.failure);
    if (shown == -1 || shown == 0)
        throw Error(u"Quillmendex could not show its settings dialog (" + SystemErrorText(GetLastError()) + u").");
    return dialog.result;
}

}  // namespace quill
