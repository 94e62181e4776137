// The editor as PL/SQL Developer offers it: text and cursor through the IDE's
// callbacks, the selection through edit-control messages to its editor window.
#include "commands/commands_win.h"

#include <windows.h>

#include "commands/commands.h"
#include "base/callbacks_win.h"
#include "base/hosttext_win.h"

namespace quill::commands {
namespace {

class HostEditor final : public Editor {
public:
    int32_t CursorX() override { return host::GetCursorX(); }
    int32_t CursorY() override { return host::GetCursorY(); }
    void SetCursor(int32_t x, int32_t y) override { host::SetCursor(x, y); }
    std::u16string Text() override { return host::GetText(); }
    std::u16string SelectedText() override { return host::GetSelectedText(); }

    void SetText(std::u16string_view text) override {
        HostText buffer = ToHostText(text);  // released once the IDE has returned
        host::SetText(buffer.get());
    }

    int32_t Handle() override { return host::GetEditorHandle(); }
    std::u16string Preference(const char* name) override { return host::GetPreference(name); }

    void ReplaceSelection(int32_t handle, std::u16string_view text) override {
        if (handle <= 0) return;  // no editor window: the text is dropped
        // Through the ANSI code page and back, as the IDE's own text travels.
        const std::u16string wide = FromAnsi(ToAnsi(text));
        SendMessageW(EditorWindow(handle), EM_REPLACESEL, 1, reinterpret_cast<LPARAM>(W(wide)));
    }

    void GetSelection(int32_t handle, int32_t& start, int32_t& end) override {
        start = 0;
        end = 0;
        SendMessageW(EditorWindow(handle), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
    }

    void SetSelection(int32_t handle, int32_t start, int32_t end) override {
        // Both widened with their sign: -1 stays -1.
        SendMessageW(EditorWindow(handle), EM_SETSEL, static_cast<WPARAM>(static_cast<intptr_t>(start)),
                     static_cast<LPARAM>(end));
    }
};

HostEditor editor;

}  // namespace

void RemoveTrailingSpaces() { RemoveTrailingSpaces(editor); }
void ReplaceTabBySpaces() { ReplaceTabBySpaces(editor); }
void RemoveBlankLines() { RemoveBlankLines(editor); }
void AddAroundSelection(int pairKind) { AddAroundSelection(editor, pairKind); }
void RemoveAroundSelection(int pairKind) { RemoveAroundSelection(editor, pairKind); }

}  // namespace quill::commands
