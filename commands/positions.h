#pragma once
// What the editor window's selection positions mean, proven from its own
// answers. The IDE promises only that its editor answers EM_GETSEL, EM_SETSEL
// and EM_REPLACESEL; a Win32 EDIT control counts its positions in the UTF-16
// units of its text (WM_GETTEXT), a rich edit control counts a CR LF as one.
// A command takes a selection out of the window's text only where the IDE's own
// answers prove the former for the selection (commands.cpp).
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quill::commands {

// Whether EM_SETSEL(0, -1) answered with end (EM_GETSEL) can mean "all of the
// window's text is selected": its length, with or without one more position (a
// rich edit control's final paragraph mark), counting a CR LF as two or as one.
bool SelectsAll(std::u16string_view window, int64_t end) noexcept;

// Whether a surrogate pair (one character) starts at the unit at.
bool IsSurrogatePairAt(std::u16string_view text, size_t at) noexcept;

// The range moved outward so that neither edge splits a surrogate pair: true
// when it moved.
bool ToWholeCharacters(std::u16string_view text, size_t& start, size_t& end) noexcept;

}  // namespace quill::commands
