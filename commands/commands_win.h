#pragma once
// The thirteen editor commands on the IDE's active editor, each run inside the
// command frame (cursor saved before, restored after, also on error). Errors go
// on to the caller; outcome says what the command did, also when it failed.
#include "commands/commands.h"

namespace quill::commands {

void RemoveTrailingSpaces(Outcome& outcome);
void ReplaceTabBySpaces(Outcome& outcome);
void RemoveBlankLines(Outcome& outcome);
void AddAroundSelection(int pairKind, Outcome& outcome);
void RemoveAroundSelection(int pairKind, Outcome& outcome);

}  // namespace quill::commands
