#pragma once
// The windows the plug-in opens, as the report lists them (caption, class and
// child controls), and the --dialog scripts that act on them as a user would.
#include <windows.h>

#include <string>

#include <nlohmann/json.hpp>

namespace quillhost {

// A window's class name and its text (caption or contents).
std::wstring ClassOf(HWND hwnd);
std::wstring TextOf(HWND hwnd);

// A window of the plug-in seen for the first time: recorded with its controls.
// True when a --dialog script takes it over (the caller then leaves it open);
// false when the usual rule applies.
bool DialogOpened(HWND hwnd);
// Takes the next step of every script under way; called by the watch timer.
void DriveDialogs();
// "opened_windows" of the report.
nlohmann::ordered_json OpenedWindows();

}  // namespace quillhost
