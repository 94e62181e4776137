#pragma once
// The module's file version, as its version resource states it.
#include <string>

namespace quill {

// "FileVersion" of the string table "040904E4" in the version resource of the
// file at path; empty when the file, the resource, that table or the value is
// missing, or on any other failure. No other table and no numeric version is used.
std::u16string FileVersionText(const std::u16string& path) noexcept;

// FileVersionText of the module holding this code (the plug-in DLL, not the IDE).
std::u16string GetFileVersionText() noexcept;

}  // namespace quill
