#pragma once
// What the exports do, behind their guard (exports_win.cpp).
//
// PL/SQL Developer calls the plug-in in this order:
//   IdentifyPlugIn(id)            once, first; the id comes back on menu and button calls
//   RegisterCallback(n, address)  for each callback it offers
//   OnCreate()                    nothing to do
//   CreateMenuItem(i)             for each menu index; the first call locates the
//                                 plug-in's files and reads its settings
//   OnActivate()                  the fourteen tool buttons
//   onWindowChange()              whenever the active window changes
//   OnMenuClick(i)                a menu item or tool button was clicked
//   Configure(), About()          from the IDE's plug-in manager
//   OnDestroy()                   last; writes the settings
#include <cstdint>
#include <string>

namespace quill::plugin {

extern int32_t PluginId;
extern bool PluginInitialized;

const char* IdentifyPlugIn(int32_t id) noexcept;
// The first-request block, then the menu text (never fails: the text comes from the table).
void InitializeForMenuRequest(int32_t index);
void OnActivate();
// Runs the command of a menu index; a failure reaches the user as a message
// box, after the log (when on) has its line.
void OnMenuClick(int32_t index);
void OnWindowChange();
void OnDestroy();
// The settings dialog, over the IDE's active window. Before any menu request
// the settings file is located first, without moving an older one (the dialog
// then works on it where it is), and nothing is written but by OK.
void Configure();

// A modal message box over the IDE's active window.
void ShowMessage(const std::u16string& text) noexcept;

}  // namespace quill::plugin
