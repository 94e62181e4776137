#pragma once
// The texts the About window shows: the plug-in's name from the settings-file
// path, the notice of years and makers, and the framed information text.
// Each call returns a new text or list; nothing is kept.
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// The settings-file name with its extension turned into ".dll", its folder cut
// off and every ".dll" (exact case) taken out: "C:\x\Quillmendex.ini" gives
// "Quillmendex", "a.dll.b.ini" gives "a.b", "A.DLL.ini" gives "A.DLL". Empty on failure.
std::u16string GetPluginName(std::u16string_view path) noexcept;

// The current local year in decimal digits.
std::u16string CurrentYearText();

// "(c) 2010-2026 Quillmendex authors"; the first year alone when it is the current one.
std::u16string NoticeText(std::u16string_view firstYear);
std::u16string NoticeText(std::u16string_view firstYear, std::u16string_view currentYear);

// The 64 lines of the information text, each 41 characters wide in a framed box.
// Only line 3 (the notice from 2010) depends on the year.
std::vector<std::u16string> BuildInfoText();
std::vector<std::u16string> BuildInfoText(std::u16string_view currentYear);

// The information text as the About window keeps it: 6 empty lines, the given
// lines, 16 empty lines.
std::vector<std::u16string> PaddedInfoText(const std::vector<std::u16string>& lines);

}  // namespace quill
