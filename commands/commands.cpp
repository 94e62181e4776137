#include "commands/commands.h"

#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "base/error.h"
#include "base/numbers.h"
#include "commands/literals.h"
#include "commands/pairs.h"
#include "commands/tabstops.h"
#include "commands/transforms.h"

namespace quill::commands {

int32_t SavedCursorX = 0;
int32_t SavedCursorY = 0;
int32_t TabWidth = 0;

namespace {

std::u16string Number(size_t n) { return Utf8ToUtf16(std::to_string(n)); }

void SaveCursor(Editor& editor) {
    SavedCursorX = editor.CursorX();
    SavedCursorY = editor.CursorY();
}

void RestoreCursor(Editor& editor) { editor.SetCursor(SavedCursorX, SavedCursorY); }

// SaveCursor, the body, and RestoreCursor however the body ends. When the body
// failed, its error is the one that goes on, even if restoring fails as well;
// when only restoring failed after the text was written, the user learns that
// the text did change. The body fills the caller's outcome, or one of its own.
template <class Body>
void Frame(Editor& editor, Outcome* out, bool keepLiterals, Body&& body) {
    Outcome local;
    Outcome& outcome = out ? *out : local;
    outcome.keepLiterals = keepLiterals;
    SaveCursor(editor);
    try {
        body(outcome);
    } catch (...) {
        try {
            RestoreCursor(editor);
        } catch (...) {
        }
        throw;
    }
    try {
        RestoreCursor(editor);
    } catch (...) {
        if (outcome.way != Outcome::Way::Nothing) throw Error(kCursorNotRestoredText);
        throw;
    }
}

// What a command works on and how it came: through the IDE's ANSI callbacks,
// compared with the editor window's own UTF-16 text where that can be read.
struct Source {
    bool selection = false;          // the selection, else the whole text
    std::u16string text;             // what the command works on
    std::optional<int32_t> handle;   // asked once; empty when the IDE offers no way to ask
    bool windowRead = false;         // the window's text was read and agrees with the IDE's
    bool lossy = false;              // the IDE's text is a lossy image: text is the window's own
    std::u16string window;           // the window's whole text, when the command keeps it
    size_t length = 0;               // of the window's text
    size_t start = 0, end = 0;       // the part of the window's text that text stands for
};

enum class Scope { SelectionOrWhole, Selection, Whole };

// The window's selection, when it lies inside a text of the given length.
bool WindowSelection(Editor& editor, int32_t handle, size_t length, size_t& start, size_t& end) {
    int32_t s = 0, e = 0;
    editor.GetSelection(handle, s, e);
    if (s < 0 || e < s || static_cast<size_t>(e) > length) return false;
    start = static_cast<size_t>(s);
    end = static_cast<size_t>(e);
    return true;
}

// Whether part of the window's text explains what the IDE gave (bytes, and
// src.text made of them): the same text, or one that the IDE's conversion
// turns into exactly those bytes. In the second case the command takes the
// window's text instead. Any other difference leaves the IDE's text in charge.
bool Explains(Editor& editor, Source& src, std::u16string_view part, std::string_view bytes) {
    if (part == src.text) return true;
    if (editor.AnsiIsUtf8() || editor.ToAnsi(part) != bytes) return false;
    src.lossy = true;
    src.text.assign(part);
    return true;
}

// Reads the window's text and compares it with the IDE's. Silent: a window
// that cannot be read, or whose text differs otherwise, leaves the IDE's way.
// The window's text is kept for a selection when keepWindow asks for it.
void CompareWithWindow(Editor& editor, Source& src, std::string_view bytes, bool keepWindow) {
    keepWindow = keepWindow && src.selection;
    const int32_t handle = *src.handle;
    const size_t length = editor.TextLength(handle);
    if (length > static_cast<size_t>(std::numeric_limits<int32_t>::max())) return;
    std::u16string window = editor.WindowText(handle, length);
    if (window.size() != length || window.find(u'\0') != std::u16string::npos) return;
    size_t start = 0, end = length;
    if (src.selection && !WindowSelection(editor, handle, length, start, end)) return;
    if (!src.selection && window != src.text) {
        // The whole text, which nothing else needs the window's for: taken
        // over instead of copied.
        if (editor.AnsiIsUtf8() || editor.ToAnsi(window) != bytes) return;
        src.lossy = true;
        src.text = std::move(window);
    } else if (!Explains(editor, src, std::u16string_view(window).substr(start, end - start), bytes)) {
        return;
    }
    src.windowRead = true;
    src.length = length;
    src.start = start;
    src.end = end;
    if (keepWindow) src.window = std::move(window);
}

// The selection (or, for SelectionOrWhole, the whole text when nothing is
// selected) as the IDE gives it, and, when the IDE offers the editor's handle,
// the check against the window's own text. The handle is asked once, first:
// the IDE's bytes are compared before the next call to the IDE, uncopied.
Source Read(Editor& editor, Scope scope, bool keepWindow, Outcome& outcome) {
    Source src;
    if (editor.HasHandle()) src.handle = editor.Handle();
    std::string_view bytes;
    if (scope != Scope::Whole) {
        bytes = editor.SelectedText();
        src.text = editor.FromAnsi(bytes);
        src.selection = scope == Scope::Selection || !src.text.empty();
    }
    if (!src.selection) {
        bytes = editor.Text();
        src.text = editor.FromAnsi(bytes);
    }
    if (src.handle && *src.handle > 0) CompareWithWindow(editor, src, bytes, keepWindow);
    outcome.scope = src.selection ? Outcome::Scope::Selection : Outcome::Scope::Whole;
    outcome.read = src.text.size();
    outcome.lossy = src.lossy;
    return src;
}

// The selection read again after the editor's selection moved; checked against
// the window's text (which has not changed) as the first reading was.
void ReadSelectionAgain(Editor& editor, Source& src, Outcome& outcome) {
    const std::string_view bytes = editor.SelectedText();
    src.text = editor.FromAnsi(bytes);
    src.lossy = false;
    if (src.windowRead) {
        src.windowRead =
            WindowSelection(editor, *src.handle, src.length, src.start, src.end) &&
            Explains(editor, src, std::u16string_view(src.window).substr(src.start, src.end - src.start), bytes);
    }
    outcome.read = src.text.size();
    outcome.lossy = src.lossy;
}

void Wrote(Outcome& outcome, Outcome::Way way, size_t units) {
    outcome.way = way;
    outcome.written = units;
}

// The window's text, replaced in UTF-16 with no ANSI round trip: the selection,
// or the whole text once it is selected. The result must fit the control, and
// afterwards the window must hold exactly what was meant.
void WriteToWindow(Editor& editor, const Source& src, std::u16string_view result, Outcome& outcome) {
    const int32_t handle = *src.handle;
    const size_t expected = src.length - (src.end - src.start) + result.size();
    const size_t limit = editor.LimitText(handle);
    if (expected > limit) {
        throw Error(u"The result would make the editor's text " + Number(expected) +
                    u" characters long, more than the editor takes (" + Number(limit) +
                    u"). Quillmendex did not write it; the editor keeps its text.");
    }
    if (!src.selection) {
        const auto length = static_cast<int32_t>(src.length);
        editor.SetSelection(handle, 0, length);
        int32_t start = -1, end = -1;
        editor.GetSelection(handle, start, end);
        if (start != 0 || end != length) {
            throw Error(u"Quillmendex could not select the editor's whole text to replace it. The command was not "
                        u"completed; the editor keeps its text.");
        }
    }
    editor.ReplaceSelection(handle, result);
    Wrote(outcome, Outcome::Way::Window, result.size());
    const size_t now = editor.TextLength(handle);
    if (now != expected) {
        throw Error(u"Quillmendex replaced the text, but the editor now holds " + Number(now) +
                    u" characters where " + Number(expected) +
                    u" were expected. Please check the text; Undo takes the change back.");
    }
}

// Writes a changed result the way the text was read.
void Write(Editor& editor, const Source& src, std::u16string_view result, Outcome& outcome) {
    outcome.changed = true;
    if (src.lossy) return WriteToWindow(editor, src, result, outcome);
    if (!src.selection) {
        editor.SetText(result);
        Wrote(outcome, Outcome::Way::HostSetText, result.size());
        return;
    }
    const int32_t handle = src.handle ? *src.handle : editor.Handle();
    if (handle <= 0) return;  // no editor window: the change is dropped
    // Through the ANSI code page and back, as the IDE's own text travels.
    const std::u16string text = editor.FromAnsi(editor.ToAnsi(result));
    editor.ReplaceSelection(handle, text);
    Wrote(outcome, Outcome::Way::Selection, text.size());
}

// Where the text a command works on stands, for finding the string literals
// it must leave alone: a selection within the window's whole text, scanned
// from its start; the text itself when it is the whole text, or when the
// window could not be read (then a selection is scanned from its own start).
TextContext LiteralContext(const Source& src) {
    if (src.selection && src.windowRead) return {src.window, src.start};
    return {};
}

// The selection, or the whole text when nothing is selected; the result goes
// back the same way, and only when it differs from what was read. With
// keepLiterals the selection's context, the window's text, is kept to scan.
template <class Transform>
void OnSelectionOrWhole(Editor& editor, bool keepLiterals, Outcome& outcome, Transform&& transform) {
    Source src = Read(editor, Scope::SelectionOrWhole, keepLiterals, outcome);
    const bool changed = keepLiterals ? transform(src.text, LiteralContext(src)) : transform(src.text);
    if (changed) Write(editor, src, src.text, outcome);
}

// 32-bit signed arithmetic that wraps instead of overflowing.
int32_t Add32(int32_t a, int32_t b) noexcept {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

}  // namespace

void RemoveTrailingSpaces(Editor& editor, bool keepLiterals, Outcome* out) {
    Frame(editor, out, keepLiterals, [&](Outcome& outcome) {
        OnSelectionOrWhole(editor, keepLiterals, outcome,
                           [](std::u16string& t, auto&&... context) { return TrimTrailingSpaces(t, context...); });
    });
}

void ReplaceTabBySpaces(Editor& editor, bool keepLiterals, Outcome* out) {
    ReplaceTabBySpaces(editor, keepLiterals, false, out);
}

void ReplaceTabBySpaces(Editor& editor, bool keepLiterals, bool tabStops, Outcome* out) {
    Frame(editor, out, keepLiterals, [&](Outcome& outcome) {
        outcome.tabStops = tabStops;
        // The preference is read before the text: a bad value leaves the editor alone.
        TabWidth = StrToInt(editor.Preference("TabPosition"));
        // Always the whole text, so every column counts from its line's true start.
        const Source src = Read(editor, Scope::Whole, false, outcome);
        std::u16string result;
        const bool changed = tabStops       ? ExpandTabsToStops(src.text, TabWidth, result, keepLiterals)
                             : keepLiterals ? ExpandTabs(src.text, TabWidth, result, TextContext{})
                                            : ExpandTabs(src.text, TabWidth, result);
        if (changed) Write(editor, src, result, outcome);
    });
}

void RemoveBlankLines(Editor& editor, bool keepLiterals, Outcome* out) {
    Frame(editor, out, keepLiterals, [&](Outcome& outcome) {
        OnSelectionOrWhole(editor, keepLiterals, outcome,
                           [](std::u16string& t, auto&&... context) { return SqueezeBlankLines(t, context...); });
    });
}

void AddAroundSelection(Editor& editor, int pairKind, Outcome* out) {
    const Pair* pair = PairOf(pairKind);
    if (!pair) return;
    Frame(editor, out, false, [&](Outcome& outcome) {
        const Source src = Read(editor, Scope::Selection, false, outcome);
        std::u16string result;
        result.reserve(src.text.size() + 2);
        result += pair->open;
        result += src.text;
        result += pair->close;
        Write(editor, src, result, outcome);  // always two characters longer
    });
}

void RemoveAroundSelection(Editor& editor, int pairKind, Outcome* out) {
    if (!PairOf(pairKind)) return;
    Frame(editor, out, false, [&](Outcome& outcome) {
        // The window's text is kept: a widened selection is checked against it too.
        Source src = Read(editor, Scope::Selection, true, outcome);
        bool enclosed = IsEnclosed(src.text, pairKind);
        if (!enclosed) {
            // Once: take in one more character on each side and look again. The
            // edit control decides what start -1 or an end past the text mean.
            const int32_t handle = src.handle ? *src.handle : editor.Handle();
            if (handle > 0) {
                int32_t start = 0, end = 0;
                editor.GetSelection(handle, start, end);
                editor.SetSelection(handle, Add32(start, -1), Add32(end, 1));
                ReadSelectionAgain(editor, src, outcome);
                enclosed = IsEnclosed(src.text, pairKind);
            }
        }
        if (!enclosed) return;  // a widened selection stays widened
        const std::u16string& text = src.text;
        const std::u16string inner = text.size() > 2 ? text.substr(1, text.size() - 2) : std::u16string();
        Write(editor, src, inner, outcome);
    });
}

}  // namespace quill::commands
