#pragma once
// "Quillmendex settings": the modal dialog behind the IDE's Configure button.
// It is a dialog template of the DLL's resources (settingsdialog.rc), run by
// the system's dialog manager, which handles the default button, the focus,
// Tab, Alt + letter, Enter and Esc as in every other Windows dialog. Its check
// boxes lie on a settings frame over the dialog, each named by the setting's
// INI key, and values move between the file and the controls through the
// frame's name-based access only. OK writes only the keys whose value changed,
// each with its own private-profile call; Cancel, Esc and the close box write
// nothing. A file that cannot be read is never written: its check boxes, their
// lines and OK are greyed, and a line says why.
#include <windows.h>

#include <string>

namespace quill {

struct SettingsDialogResult {
    bool saved = false;              // OK wrote the changed keys
    bool loggingSwitchedOn = false;  // among them, Logging switched on
};

// Shows the dialog modally over owner (may be null), centred on it, and returns
// once it has closed.
SettingsDialogResult ShowSettingsDialog(HWND owner, const std::u16string& iniFileName);

}  // namespace quill
