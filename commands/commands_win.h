#pragma once
// The thirteen editor commands, each run inside the command frame (cursor saved
// before, restored after, also on error). Errors go on to the caller.
namespace quill::commands {

void RemoveTrailingSpaces();
void ReplaceTabBySpaces();
void RemoveBlankLines();
void AddAroundSelection(int pairKind);
void RemoveAroundSelection(int pairKind);

}  // namespace quill::commands
