#pragma once
// Typed calls of the IDE's callbacks. A callback the IDE never registered is an
// error raised here (quill::Error), not a jump through a null pointer. Texts
// from the IDE come back as UTF-16, or as the IDE's own ANSI bytes where a
// caller needs to see exactly what the IDE gave; a null text counts as empty.
#include <cstdint>
#include <string>
#include <string_view>

namespace quill::host {

std::u16string SettingsKey();
std::string RootDir();  // ANSI bytes, as the IDE gave them
void SetMenuState(int32_t pluginId, int32_t index, bool enabled);
int32_t WindowType();
// The IDE's own ANSI bytes, not copied: valid only until the next call to the
// IDE. GetSelectedText is "" when nothing is selected.
std::string_view GetText();
std::string_view GetSelectedText();
bool HasEditorHandle() noexcept;  // whether the IDE registered HostGetEditorHandle
int32_t GetEditorHandle();
void SetText(const char* text);
int32_t GetCursorX();
int32_t GetCursorY();
void SetCursor(int32_t x, int32_t y);
void CreateToolButton(int32_t pluginId, int32_t index, const char* caption, const char* bitmap);
std::u16string GetPreference(const char* name);

}  // namespace quill::host
