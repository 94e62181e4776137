#include "commands/commands_win.h"

namespace quill::commands {

void RemoveTrailingSpaces() {}
void ReplaceTabBySpaces() {}
void RemoveBlankLines() {}
void AddAroundSelection(int) {}
void RemoveAroundSelection(int) {}

}  // namespace quill::commands
