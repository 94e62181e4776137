#pragma once
// The editors the stand-in can play (--editor): Wine's EDIT control, a rich edit
// control, and two window classes of its own that keep the text themselves.
#include <windows.h>

#include <string>

#include "quillhost/args.h"

namespace quillhost {

// "edit", "richedit", "plain", "unicode", "richlike".
const char* EditorKindName(EditorKind kind);

// The editor window of a kind other than EDIT (which main_win.cpp makes as it
// always has), a child of parent; nullptr when it cannot be made.
HWND CreateOtherEditor(EditorKind kind, HWND parent, HINSTANCE instance);

// What HostGetSelectedText answers from a rich edit control: EM_GETSELTEXT.
std::wstring RichSelectedText(HWND edit);

// The text with each lone CR or LF made a CR LF (--selected-text crlf).
std::wstring WithCrLf(const std::wstring& text);

}  // namespace quillhost
