// The editor as PL/SQL Developer offers it: text and cursor through the IDE's
// callbacks, the selection and the window's own text through edit-control
// messages to its editor window.
#include "commands/commands_win.h"

#include <windows.h>

#include <algorithm>

#include "base/callbacks_win.h"
#include "base/hosttext_win.h"
#include "base/plugin_intf.h"
#include "settings/settings_win.h"

namespace quill::commands {
namespace {

class HostEditor final : public Editor {
public:
    int32_t CursorX() override { return host::GetCursorX(); }
    int32_t CursorY() override { return host::GetCursorY(); }
    void SetCursor(int32_t x, int32_t y) override { host::SetCursor(x, y); }
    std::string_view Text() override { return host::GetText(); }
    std::string_view SelectedText() override { return host::GetSelectedText(); }

    void SetText(std::u16string_view text) override {
        HostText buffer = ToHostText(text);  // released once the IDE has returned
        host::SetText(buffer.get());
    }

    bool HasText() override { return intf::Callback(intf::HostGetText) != nullptr; }
    bool HasSetText() override { return intf::Callback(intf::HostSetText) != nullptr; }
    bool HasHandle() override { return host::HasEditorHandle(); }
    int32_t Handle() override { return host::GetEditorHandle(); }
    std::u16string Preference(const char* name) override { return host::GetPreference(name); }

    std::u16string FromAnsi(std::string_view bytes) override { return quill::FromAnsi(bytes); }
    std::string ToAnsi(std::u16string_view text) override { return quill::ToAnsi(text); }
    bool AnsiIsUtf8() override { return quill::AnsiIsUtf8(); }

    void ReplaceSelection(int32_t handle, std::u16string_view text) override {
        const std::u16string copy(text);  // NUL-terminated; an empty text is "", never null
        SendMessageW(EditorWindow(handle), EM_REPLACESEL, 1, reinterpret_cast<LPARAM>(W(copy)));
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

    size_t TextLength(int32_t handle) override {
        const LRESULT n = SendMessageW(EditorWindow(handle), WM_GETTEXTLENGTH, 0, 0);
        return n > 0 ? static_cast<size_t>(n) : 0;
    }

    std::u16string WindowText(int32_t handle, size_t length) override {
        std::u16string text(length + 1, u'\0');
        const LRESULT n = SendMessageW(EditorWindow(handle), WM_GETTEXT, static_cast<WPARAM>(length + 1),
                                       reinterpret_cast<LPARAM>(text.data()));
        text.resize(n > 0 ? std::min(static_cast<size_t>(n), length) : 0);
        return text;
    }

    size_t LimitText(int32_t handle) override {
        return static_cast<size_t>(SendMessageW(EditorWindow(handle), EM_GETLIMITTEXT, 0, 0));
    }
};

HostEditor editor;

}  // namespace

// The settings are read at each click, so a change counts from the next one.
void RemoveTrailingSpaces(Outcome& outcome) { RemoveTrailingSpaces(editor, KeepStringLiterals(), &outcome); }
void ReplaceTabBySpaces(Outcome& outcome) {
    ReplaceTabBySpaces(editor, KeepStringLiterals(), TabStops(), &outcome);
}
void RemoveBlankLines(Outcome& outcome) { RemoveBlankLines(editor, KeepStringLiterals(), &outcome); }
void AddAroundSelection(int pairKind, Outcome& outcome) { AddAroundSelection(editor, pairKind, &outcome); }
void RemoveAroundSelection(int pairKind, Outcome& outcome) { RemoveAroundSelection(editor, pairKind, &outcome); }

}  // namespace quill::commands
