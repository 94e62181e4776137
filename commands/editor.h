#pragma once
// What the editor commands need of the IDE's active editor. The plug-in's
// implementation (commands_win.cpp) goes through the IDE's callbacks and the
// edit-control messages; tests put a recording editor in its place.
//
// The IDE hands over its editor's text in the system ANSI code page, where a
// character the code page lacks becomes "?" or a look-alike. The editor window
// itself answers in UTF-16. So the editor offers both, and the conversions the
// IDE uses, for the commands to tell a faithful text from a lossy image.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quill::commands {

class Editor {
public:
    virtual ~Editor() = default;

    // The IDE's callbacks.
    virtual int32_t CursorX() = 0;                       // HostGetCursorX
    virtual int32_t CursorY() = 0;                       // HostGetCursorY
    virtual void SetCursor(int32_t x, int32_t y) = 0;    // HostSetCursor
    // The IDE's ANSI bytes ("" for none), valid until the next call to the IDE.
    virtual std::string_view Text() = 0;                 // HostGetText
    virtual bool HasText() { return true; }              // whether the IDE registered HostGetText
    virtual std::string_view SelectedText() = 0;         // HostGetSelectedText; "" when none
    virtual void SetText(std::u16string_view text) = 0;  // HostSetText with the text in ANSI
    virtual bool HasSetText() { return true; }           // whether the IDE registered HostSetText
    virtual bool HasHandle() = 0;                        // whether HostGetEditorHandle is there to ask
    virtual int32_t Handle() = 0;                        // HostGetEditorHandle
    virtual std::u16string Preference(const char* name) = 0;  // HostGetPreference

    // The system ANSI code page, converted as the IDE converts.
    virtual std::u16string FromAnsi(std::string_view bytes) = 0;
    virtual std::string ToAnsi(std::u16string_view text) = 0;
    virtual bool AnsiIsUtf8() = 0;  // code page 65001

    // Edit-control messages to the window a handle names (handle > 0).
    virtual void ReplaceSelection(int32_t handle, std::u16string_view text) = 0;  // EM_REPLACESEL, undoable
    virtual void GetSelection(int32_t handle, int32_t& start, int32_t& end) = 0;  // EM_GETSEL
    virtual void SetSelection(int32_t handle, int32_t start, int32_t end) = 0;    // EM_SETSEL
    virtual size_t TextLength(int32_t handle) = 0;                                 // WM_GETTEXTLENGTH
    // WM_GETTEXT with room for length characters: what the window copied.
    virtual std::u16string WindowText(int32_t handle, size_t length) = 0;
    virtual size_t LimitText(int32_t handle) = 0;  // EM_GETLIMITTEXT; 0: no limit known
};

}  // namespace quill::commands
