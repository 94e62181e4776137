#pragma once
// Tabs to tab stops, as the editor shows them: each tab becomes the spaces up
// to the next multiple of the width, counting columns from the start of its
// line. Only CR LF ends a line (a lone CR or LF is one column, like any other
// character); each UTF-16 unit is one column, except that a surrogate pair is
// one. One linear pass, or two when the result could be far longer than the
// text.
//
// The text is always a whole editor text (Replace tab by spaces never works on
// a selection): the first line starts at its first character.
#include <cstdint>
#include <string>
#include <string_view>

#include "commands/transforms.h"

namespace quill::commands {

// Into out, whose memory is reused: true when the text changed and out holds
// the result; false when no tab is to be replaced (out is then left as it
// was). With keepLiterals, a tab inside a string literal or quoted identifier
// (literals.h) stays a tab and takes the column to its next stop. A width of 0
// or less deletes the tabs, exactly as ExpandTabs does (and its overload that
// keeps literals). Throws ResultTooLong when the result would be longer than
// limit (transforms.h), before out is touched.
bool ExpandTabsToStops(std::u16string_view text, int32_t width, std::u16string& out, bool keepLiterals = false,
                       MaxLength limit = MaxLength(kMaxTextLength));

}  // namespace quill::commands
