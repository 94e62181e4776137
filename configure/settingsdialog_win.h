#pragma once
// "Quillmendex settings": the modal dialog behind the IDE's Configure button.
// Its settings controls lie on a settings frame, each named by the setting's
// INI key, and values move between the file and the controls through the
// frame's name-based access only. OK writes only the keys whose value changed,
// each with its own private-profile call, so every other line of the file stays
// as it was; Cancel, Esc and the close box write nothing.
//
// Layout (sizes follow the dialog font and the screen's dots per inch):
//   fraSettings    KeepStringLiterals, TabStops, Logging: a check box each with
//                  one line under it that says what it does; the settings
//                  file's path (read-only, selectable) with "Open folder";
//                  the line that says why nothing can be changed, when so
//   btnOK, btnCancel  along the bottom right
//
// The controls are public so that tests can reach them, as a design would.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls_win.h"
#include "ui/pluginframe_win.h"

namespace quill {

// The settings the dialog shows: INI key under [Settings], all Booleans, and
// their value when the key is missing or no number.
struct DialogSetting {
    const wchar_t* key;
    bool byDefault;
};
inline constexpr DialogSetting kDialogSettings[] = {
    {L"KeepStringLiterals", false}, {L"TabStops", false}, {L"Logging", false}};

class TfrmSettings : public ui::Form {
public:
    static constexpr const wchar_t* kClassName = L"TfrmQuillmendexSettings";
    static constexpr const char16_t* kCaption = u"Quillmendex settings";

    // Builds the dialog (hidden) in front of owner, for the settings file
    // AIniFileName, and reads the file into its controls.
    TfrmSettings(HWND owner, std::u16string_view AIniFileName);
    ~TfrmSettings() override;

    // OK: writes the changed keys and closes; when a key cannot be written, a
    // message names the path and the reason and the dialog stays open.
    void btnOKClick();
    // Explorer on the settings file's folder.
    void btnOpenFolderClick();

    // Set by OK: the keys written, and whether Logging went on or off.
    bool Saved() const noexcept { return saved_; }
    bool LoggingSwitchedOn() const noexcept { return loggingOn_; }
    // Empty when the file could be read (or is not there yet).
    const std::u16string& WhyUnreadable() const noexcept { return whyUnreadable_; }

private:
    ui::Font font_;

public:
    Tfrapluginframe fraSettings;
    ui::Button btnOK, btnCancel;
    // On the frame (owned by it), in tab order.
    ui::CheckBox* chkKeepStringLiterals = nullptr;
    ui::CheckBox* chkTabStops = nullptr;
    ui::CheckBox* chkLogging = nullptr;
    ui::Edit* edtSettingsFile = nullptr;
    ui::Button* btnOpenFolder = nullptr;
    ui::Label* lblStatus = nullptr;

private:
    void ReadValues();

    std::u16string fIniFileName;
    std::u16string whyUnreadable_;
    std::vector<bool> shown_;  // what each of kDialogSettings showed at opening, or was written since
    bool saved_ = false;
    bool loggingOn_ = false;
};

struct SettingsDialogResult {
    bool saved = false;              // OK wrote the changed keys
    bool loggingSwitchedOn = false;  // among them, Logging switched on
};

// Shows the dialog modally over owner (may be null) and returns once it has closed.
SettingsDialogResult ShowSettingsDialog(HWND owner, const std::u16string& iniFileName);

}  // namespace quill
