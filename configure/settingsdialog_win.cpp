#include "configure/settingsdialog_win.h"

#include <shellapi.h>

#include <algorithm>

#include "base/error.h"
#include "base/hosttext_win.h"
#include "settings/inifile_win.h"
#include "settings/logger.h"

namespace quill {

namespace {

using ui::Scale;

constexpr char16_t kKeepStringLiteralsText[] = u"&Keep string literals as they are";
constexpr char16_t kKeepStringLiteralsLine[] =
    u"The three whitespace commands leave string literals and quoted identifiers alone.";
constexpr char16_t kTabStopsText[] = u"&Tab stops: tabs keep their alignment";
constexpr char16_t kTabStopsLine[] =
    u"Replace tab by spaces fills each tab up to the next multiple of the tab width.";
constexpr char16_t kLoggingText[] = u"Write the diagnostic &log";
constexpr char16_t kSettingsFileText[] = u"Settings file:";
constexpr char16_t kOpenFolderText[] = u"Open &folder";

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

// A caption as it shows: without the "&" that marks its accelerator.
std::u16string Shown(std::u16string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

ui::Font WithFont(HWND hwnd, ui::Font font) {
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    return font;
}

void Show(HWND owner, const std::u16string& text) {
    MessageBoxW(owner, W(text), W(std::u16string(TfrmSettings::kCaption)), MB_OK | MB_ICONERROR);
}

}  // namespace

TfrmSettings::TfrmSettings(HWND owner, std::u16string_view AIniFileName)
    : ui::Form(kClassName, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME, owner),
      font_(WithFont(handle(), ui::DialogFont())),
      fraSettings(handle()),
      btnOK(handle(), 0, 0, Scale(75), Scale(23), 0, BS_DEFPUSHBUTTON),
      btnCancel(handle(), 0, 0, Scale(75), Scale(23), 0, BS_PUSHBUTTON),
      fIniFileName(AIniFileName) {
    SetText(kCaption);
    IniFile ini(fIniFileName);
    whyUnreadable_ = ini.WhyUnreadable();
    const std::u16string loggingLine =
        u"Writes what Quillmendex does into " + FileNameOf(ChangeFileExt(fIniFileName, u".dbg")) +
        u", beside the settings file.";
    const std::u16string status =
        whyUnreadable_.empty() ? std::u16string()
                               : u"The settings file cannot be read (" + whyUnreadable_ + u"): nothing can be changed.";

    // The frame's controls, in tab order; the check boxes carry the INI keys as names.
    HFONT font = font_.get();
    const int lineH = ui::TextExtent(font, u"Ag").cy;
    const int checkH = std::max(lineH, GetSystemMetrics(SM_CYMENUCHECK)) + Scale(4);
    const int indent = GetSystemMetrics(SM_CXMENUCHECK) + Scale(4);
    const int margin = Scale(11), buttonW = Scale(75), buttonH = std::max(Scale(23), lineH + Scale(8));
    const int openW = std::max<int>(buttonW, ui::TextExtent(font, Shown(kOpenFolderText)).cx + Scale(20));
    const int editH = std::max(buttonH, lineH + Scale(8));

    struct Row {
        const wchar_t* key;
        std::u16string caption, line;
        ui::CheckBox** check;
    };
    const Row rows[] = {{L"KeepStringLiterals", kKeepStringLiteralsText, kKeepStringLiteralsLine, &chkKeepStringLiterals},
                        {L"TabStops", kTabStopsText, kTabStopsLine, &chkTabStops},
                        {L"Logging", kLoggingText, loggingLine, &chkLogging}};

    // As wide as the longest line needs, within the screen.
    int inner = Scale(380);
    for (const Row& row : rows) {
        inner = std::max<int>(inner, ui::TextExtent(font, Shown(row.caption)).cx + indent + Scale(8));
        inner = std::max<int>(inner, ui::TextExtent(font, row.line).cx + indent + Scale(4));
    }
    inner = std::max<int>(inner, ui::TextExtent(font, status).cx + Scale(4));
    inner = std::min<int>(inner, GetSystemMetrics(SM_CXSCREEN) * 9 / 10 - 2 * margin);
    const int width = inner + 2 * margin;

    int y = margin;
    for (const Row& row : rows) {
        auto& check = fraSettings.Add<ui::CheckBox>(U(row.key), margin, y, inner, checkH);
        check.SetText(row.caption);
        *row.check = &check;
        y += checkH;
        auto& line = fraSettings.Add<ui::Label>(u"", margin + indent, y, inner - indent, lineH);
        line.SetText(row.line);
        y += lineH + Scale(9);
    }
    y += Scale(3);
    fraSettings.Add<ui::Label>(u"", margin, y, inner, lineH).SetText(kSettingsFileText);
    y += lineH + Scale(3);
    edtSettingsFile = &fraSettings.Add<ui::Edit>(u"", margin, y, inner - openW - Scale(6), editH,
                                                 ES_AUTOHSCROLL | ES_READONLY);
    edtSettingsFile->SetText(fIniFileName);
    btnOpenFolder = &fraSettings.Add<ui::Button>(u"", margin + inner - openW, y, openW, editH, 0, BS_PUSHBUTTON);
    btnOpenFolder->SetText(kOpenFolderText);
    btnOpenFolder->onClick = [this] { btnOpenFolderClick(); };
    y += editH;
    if (!status.empty()) {
        y += Scale(9);
        lblStatus = &fraSettings.Add<ui::Label>(u"", margin, y, inner, lineH);
        lblStatus->SetText(status);
        y += lineH;
    }
    y += Scale(4);
    fraSettings.SetBounds(0, 0, width, y);

    const int buttonsTop = y + Scale(7);
    btnOK.SetText(u"OK");
    btnCancel.SetText(u"Cancel");
    btnCancel.SetBounds(width - margin - buttonW, buttonsTop, buttonW, buttonH);
    btnOK.SetBounds(width - margin - 2 * buttonW - Scale(6), buttonsTop, buttonW, buttonH);
    btnOK.onClick = [this] { btnOKClick(); };
    btnCancel.onClick = [this] { SetModalResult(IDCANCEL); };
    SetDefaultButton(&btnOK);
    SetCancelButton(&btnCancel);
    SetClientPixels(width, buttonsTop + buttonH + margin);

    ReadValues();
}

TfrmSettings::~TfrmSettings() = default;

void TfrmSettings::ReadValues() {
    IniFile ini(fIniFileName);
    shown_.clear();
    for (const DialogSetting& setting : kDialogSettings) {
        // A file that cannot be read is never read: the controls show the defaults, disabled.
        const bool value = whyUnreadable_.empty() ? ini.ReadBool(setting.key, setting.byDefault) : setting.byDefault;
        shown_.push_back(value);
        fraSettings.setSetting(U(setting.key), Variant(value));
        if (!whyUnreadable_.empty())
            if (ui::Control* control = fraSettings.Find(U(setting.key))) EnableWindow(control->handle(), FALSE);
    }
    if (!whyUnreadable_.empty()) EnableWindow(btnOK.handle(), FALSE);
}

void TfrmSettings::btnOKClick() {
    if (!whyUnreadable_.empty()) return;
    {
        IniFile ini(fIniFileName);
        for (size_t i = 0; i < std::size(kDialogSettings); ++i) {
            const DialogSetting& setting = kDialogSettings[i];
            const bool value = fraSettings.readSetting(U(setting.key)).AsBoolean();
            if (value == shown_[i]) continue;
            if (const std::u16string why = ini.TryWriteBool(setting.key, value); !why.empty()) {
                Show(handle(), u"Quillmendex could not write its settings to " + fIniFileName + u": " + why);
                return;
            }
            shown_[i] = value;
            saved_ = true;
            if (U(setting.key) == u"Logging") {
                SetLoggingFromSettings(value, fIniFileName);
                loggingOn_ = value;
            }
        }
    }
    SetModalResult(IDOK);
}

void TfrmSettings::btnOpenFolderClick() {
    const std::u16string folder = FolderOf(fIniFileName);
    SetLastError(ERROR_SUCCESS);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(handle(), L"explore", W(folder), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) {
        const DWORD code = GetLastError();
        Show(handle(), u"Quillmendex could not open the folder " + folder + u": " +
                           SystemErrorText(code != ERROR_SUCCESS ? code : static_cast<DWORD>(result)));
    }
}

SettingsDialogResult ShowSettingsDialog(HWND owner, const std::u16string& iniFileName) {
    // Once no window of ours is left (also after a failure), the window classes
    // go, so that a module loaded again later registers its own.
    struct ClassesGone {
        ~ClassesGone() { ui::UnregisterClasses(); }
    } classesGone;
    TfrmSettings form(owner, iniFileName);
    form.CenterOnOwner();
    form.ShowModal();
    return {form.Saved(), form.LoggingSwitchedOn()};
}

}  // namespace quill
