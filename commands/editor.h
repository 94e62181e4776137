#pragma once
// What the editor commands need of the IDE's active editor. The plug-in's
// implementation (commands_win.cpp) goes through the IDE's callbacks and the
// edit-control messages; tests put a recording editor in its place.
#include <cstdint>
#include <string>
#include <string_view>

namespace quill::commands {

class Editor {
public:
    virtual ~Editor() = default;

    virtual int32_t CursorX() = 0;                       // HostGetCursorX
    virtual int32_t CursorY() = 0;                       // HostGetCursorY
    virtual void SetCursor(int32_t x, int32_t y) = 0;    // HostSetCursor
    virtual std::u16string Text() = 0;                   // HostGetText
    virtual std::u16string SelectedText() = 0;           // HostGetSelectedText; "" when none
    virtual void SetText(std::u16string_view text) = 0;  // HostSetText, whole text
    virtual int32_t Handle() = 0;                        // HostGetEditorHandle
    virtual std::u16string Preference(const char* name) = 0;  // HostGetPreference

    // Edit-control messages to the window a handle names (handle > 0).
    virtual void ReplaceSelection(int32_t handle, std::u16string_view text) = 0;  // EM_REPLACESEL, undoable
    virtual void GetSelection(int32_t handle, int32_t& start, int32_t& end) = 0;  // EM_GETSEL
    virtual void SetSelection(int32_t handle, int32_t start, int32_t end) = 0;    // EM_SETSEL
};

}  // namespace quill::commands
