#pragma once
namespace quill {
// Shows the modal About window; returns once it has closed and the settings are written.
void ShowAboutWindow();
}
