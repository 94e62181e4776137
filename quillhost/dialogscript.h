#pragma once
// What --dialog asks of a window the plug-in opens: actions a user would take,
// in order, controls addressed by their visible text.
//   check:TEXT, uncheck:TEXT   a check box
//   click:TEXT                 a button
//   key:ESC, key:ENTER, key:TAB  a key pressed in the window
// TEXT is a leading part of the control's text; "&" counts in neither.
#include <optional>
#include <string>
#include <vector>

namespace quillhost {

struct DialogAction {
    enum class Kind { Check, Uncheck, Click, Escape, Enter, Tab };
    Kind kind = Kind::Click;
    std::wstring text;  // what the control's text starts with, without "&"
    std::wstring written;  // the action as written, for the report
};

// "ACTION;ACTION;...": the actions, or nothing (with why) when one is not understood.
std::optional<std::vector<DialogAction>> ParseDialogScript(const std::wstring& script, std::wstring& why);

// Whether a control's visible text starts with wanted, "&" ignored in both.
bool TextMatches(const std::wstring& controlText, const std::wstring& wanted);

}  // namespace quillhost
