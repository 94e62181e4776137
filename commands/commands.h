#pragma once
// The editor commands, written against Editor. Every command runs in the
// command frame: the cursor is saved first and restored at the end, also when
// the command fails; errors go on to the caller.
//
// Before a command changes anything it compares the editor window's own text
// with the IDE's ANSI text. When the IDE's text is a lossy image of it
// (characters the ANSI code page cannot hold), the command works on the
// window's text and writes through the window in UTF-16, so nothing is
// damaged; otherwise it reads and writes through the IDE as it always has.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "commands/editor.h"

namespace quill::commands {

// Module state: the cursor saved by the last command, and the tab width last
// read from the IDE's "TabPosition" preference.
extern int32_t SavedCursorX;
extern int32_t SavedCursorY;
extern int32_t TabWidth;

// What a command did, for the diagnostic log.
struct Outcome {
    enum class Scope { None, Selection, Whole };
    enum class Way { Nothing, HostSetText, Selection, Window };
    Scope scope = Scope::None;  // what it read, once it has
    size_t read = 0;            // UTF-16 units it worked on
    bool changed = false;       // its result differed from what it read
    size_t written = 0;         // UTF-16 units it wrote, when way is not Nothing
    Way way = Way::Nothing;     // the IDE's set-text call, the selection, or the window in UTF-16
    bool lossy = false;         // the IDE's text was a lossy image of the window's
    bool keepLiterals = false;  // string literals were left as they are
    std::optional<bool> tabStops;  // Replace tab by spaces only: tabs went to tab stops
    // Why a changed result was not written, when it was not.
    enum class NotWritten { No, NoEditorWindow, NoHostSetText, OverLimit, Failed };
    NotWritten notWritten = NotWritten::No;
    // With keepLiterals on a selection: neither the window's text nor the IDE's
    // whole text showed what stands before it, so it was scanned from its own start.
    bool literalsFromOwnStart = false;
};

// The three whitespace commands; keepLiterals leaves PL/SQL string literals and
// quoted identifiers as they are.
void RemoveTrailingSpaces(Editor& editor, bool keepLiterals = false, Outcome* outcome = nullptr);
void ReplaceTabBySpaces(Editor& editor, bool keepLiterals = false, Outcome* outcome = nullptr);
void RemoveBlankLines(Editor& editor, bool keepLiterals = false, Outcome* outcome = nullptr);
// tabStops: each tab becomes the spaces up to its next tab stop (tabstops.h)
// instead of TabPosition spaces.
void ReplaceTabBySpaces(Editor& editor, bool keepLiterals, bool tabStops, Outcome* outcome);
// A kind outside 0 to 4 does nothing.
void AddAroundSelection(Editor& editor, int pairKind, Outcome* outcome = nullptr);
void RemoveAroundSelection(Editor& editor, int pairKind, Outcome* outcome = nullptr);

// The longest result Replace tab by spaces makes (256 Mi characters, 512 MiB):
// no editor holds a longer text usefully, and laying one out can end the IDE.
// A longer result is refused before it is built, as is one longer than the
// editor's own limit, unless it is no longer than the text.
inline constexpr size_t kMaxResultLength = size_t{1} << 28;

// What the user reads when the text was written but the cursor could not be put back.
inline constexpr char16_t kCursorNotRestoredText[] =
    u"The command changed the text, but PL/SQL Developer did not let Quillmendex put the cursor back.";

}  // namespace quill::commands
