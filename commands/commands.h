#pragma once
// The editor commands, written against Editor. Every command runs in the
// command frame: the cursor is saved first and restored at the end, also when
// the command fails; errors go on to the caller.
#include <cstdint>

#include "commands/editor.h"

namespace quill::commands {

// Module state: the cursor saved by the last command, and the tab width last
// read from the IDE's "TabPosition" preference.
extern int32_t SavedCursorX;
extern int32_t SavedCursorY;
extern int32_t TabWidth;

void RemoveTrailingSpaces(Editor& editor);
void ReplaceTabBySpaces(Editor& editor);
void RemoveBlankLines(Editor& editor);
// A kind outside 0 to 4 does nothing.
void AddAroundSelection(Editor& editor, int pairKind);
void RemoveAroundSelection(Editor& editor, int pairKind);

}  // namespace quill::commands
