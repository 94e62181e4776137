#include "commands/commands.h"

#include <string>
#include <utility>

#include "commands/pairs.h"
#include "commands/transforms.h"
#include "base/numbers.h"

namespace quill::commands {

int32_t SavedCursorX = 0;
int32_t SavedCursorY = 0;
int32_t TabWidth = 0;

namespace {

void SaveCursor(Editor& editor) {
    SavedCursorX = editor.CursorX();
    SavedCursorY = editor.CursorY();
}

void RestoreCursor(Editor& editor) { editor.SetCursor(SavedCursorX, SavedCursorY); }

// SaveCursor, the body, and RestoreCursor however the body ends. When the body
// failed, its error is the one that goes on, even if restoring fails as well.
template <class Body>
void Frame(Editor& editor, Body&& body) {
    SaveCursor(editor);
    try {
        body();
    } catch (...) {
        try {
            RestoreCursor(editor);
        } catch (...) {
        }
        throw;
    }
    RestoreCursor(editor);
}

// Replaces the selection through the editor window; a handle of zero or less
// drops the text (the editor's ReplaceSelection ignores it).
void WriteSelection(Editor& editor, std::u16string_view text) {
    const int32_t handle = editor.Handle();
    editor.ReplaceSelection(handle, text);
}

// The selection, or the whole text when nothing is selected; the result goes
// back the same way, and only when it differs from what was read.
template <class Transform>
void OnSelectionOrWhole(Editor& editor, Transform&& transform) {
    std::u16string text = editor.SelectedText();
    const bool selection = !text.empty();
    if (!selection) text = editor.Text();
    if (!transform(text)) return;
    if (selection)
        WriteSelection(editor, text);
    else
        editor.SetText(text);
}

// 32-bit signed arithmetic that wraps instead of overflowing.
int32_t Add32(int32_t a, int32_t b) noexcept {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

}  // namespace

void RemoveTrailingSpaces(Editor& editor) {
    Frame(editor, [&] { OnSelectionOrWhole(editor, [](std::u16string& t) { return TrimTrailingSpaces(t); }); });
}

void ReplaceTabBySpaces(Editor& editor) {
    Frame(editor, [&] {
        // The preference is read before the text: a bad value leaves the editor alone.
        TabWidth = StrToInt(editor.Preference("TabPosition"));
        const std::u16string text = editor.Text();
        std::u16string result;
        if (ExpandTabs(text, TabWidth, result)) editor.SetText(result);
    });
}

void RemoveBlankLines(Editor& editor) {
    Frame(editor, [&] { OnSelectionOrWhole(editor, [](std::u16string& t) { return SqueezeBlankLines(t); }); });
}

void AddAroundSelection(Editor& editor, int pairKind) {
    const Pair* pair = PairOf(pairKind);
    if (!pair) return;
    Frame(editor, [&] {
        const std::u16string text = editor.SelectedText();
        std::u16string result;
        result.reserve(text.size() + 2);
        result += pair->open;
        result += text;
        result += pair->close;
        WriteSelection(editor, result);  // always two characters longer
    });
}

void RemoveAroundSelection(Editor& editor, int pairKind) {
    if (!PairOf(pairKind)) return;
    Frame(editor, [&] {
        std::u16string text = editor.SelectedText();
        bool enclosed = IsEnclosed(text, pairKind);
        if (!enclosed) {
            // Once: take in one more character on each side and look again. The
            // edit control decides what start -1 or an end past the text mean.
            const int32_t handle = editor.Handle();
            if (handle > 0) {
                int32_t start = 0, end = 0;
                editor.GetSelection(handle, start, end);
                editor.SetSelection(handle, Add32(start, -1), Add32(end, 1));
                text = editor.SelectedText();
                enclosed = IsEnclosed(text, pairKind);
            }
        }
        if (!enclosed) return;  // a widened selection stays widened
        const std::u16string inner = text.size() > 2 ? text.substr(1, text.size() - 2) : std::u16string();
        WriteSelection(editor, inner);
    });
}

}  // namespace quill::commands
