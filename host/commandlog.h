#pragma once
// The diagnostic log's own lines: what the plug-in is and where its files lie,
// once per load, and one line for every command click. They hold sizes, names,
// ways and messages, never the text of the user's code.
#include <cstdint>
#include <string>
#include <string_view>

#include "commands/commands.h"

namespace quill::plugin {

// "Quillmendex 2.2.64.71, 64-bit; plug-in Z:\p\Quillmendex.dll; settings
// Z:\p\Quillmendex.ini; ANSI code page 1252"
std::u16string LoadLogLine(std::u16string_view version, int bits, std::u16string_view dllPath,
                           std::u16string_view iniPath, uint32_t codePage);

// "[Quillmendex] Remove trailing spaces: whole text; read 120 characters; wrote
// 112 characters through HostSetText; IDE text exact; KeepStringLiterals off;
// 3 ms", and the message shown, if any, at the end. showLiterals: the command
// is one of the whitespace commands, for which the setting counts; Replace tab
// by spaces also says "TabStops on" or "TabStops off".
std::u16string CommandLogLine(std::string_view caption, const commands::Outcome& outcome, bool showLiterals,
                              double milliseconds, std::u16string_view message);

// "[Quillmendex] About: 5321 ms", and the message shown, if any.
std::u16string AboutLogLine(std::string_view caption, double milliseconds, std::u16string_view message);

}  // namespace quill::plugin
