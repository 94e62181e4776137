#pragma once
// The stand-in's command line.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillhost {

// Answers of the editor window that a test can spoil, for what the plug-in
// sends it (the host's own access stays true).
struct WindowFaults {
    bool shortText = false;    // WM_GETTEXT copies at most the text's length - 1 characters
    bool zeroLength = false;   // WM_GETTEXTLENGTH answers 0
    bool nulText = false;      // WM_GETTEXT's first character copied is U+0000
    bool selOutside = false;   // EM_GETSEL's end is the text's length + 5
    bool selReversed = false;  // EM_GETSEL gives start and end swapped
};

// The editor the stand-in plays: EDIT; a rich edit control; a class of its own
// that answers only EM_GETSEL, EM_SETSEL and EM_REPLACESEL (and EM_UNDO); the
// same answering WM_GETTEXT and WM_GETTEXTLENGTH too, but no EM_GETLIMITTEXT;
// the same again answering the line messages (EM_LINEINDEX, EM_LINELENGTH,
// EM_GETLINE, ...) and rich edit's event messages too, counting as EDIT does.
enum class EditorKind { Edit, RichEdit, Plain, Unicode, RichLike };

// How the stand-in's own classes count the positions that EM_GETSEL gives and
// EM_SETSEL takes from the plug-in (--positions): UTF-16 units (as EDIT), code
// points, UTF-8 bytes or the ANSI code page's bytes; a CR LF as one position;
// one position past the text for a final mark (as a rich edit control's final
// paragraph mark, selected by an end past the text); EM_GETSEL as (anchor,
// caret), so a selection made right to left comes with its start after its end.
struct Positions {
    enum class Unit { Utf16, CodePoints, Utf8, Ansi };
    Unit unit = Unit::Utf16;
    bool lineBreakAsOne = false, finalMark = false, anchorCaret = false;
    std::wstring given = L"units";  // as given, for the report
    bool IsUnits() const { return unit == Unit::Utf16 && !lineBreakAsOne && !finalMark && !anchorCaret; }
};

struct Options {
    std::wstring plugin;
    EditorKind editor = EditorKind::Edit;
    Positions positions;
    // HostGetSelectedText of a rich edit control in CR LF, as an IDE that gives
    // its selection with its own line breaks (--selected-text crlf).
    bool selectedTextCrLf = false;
    std::optional<std::wstring> in, out, report, root;
    // The editor's initial text from a UTF-8 file, and its final text as UTF-8.
    std::optional<std::wstring> inUtf8, outUtf8;
    // EM_SETLIMITTEXT on the editor once the initial text is in.
    std::optional<int32_t> limitText;
    std::optional<std::pair<int32_t, int32_t>> select;
    std::vector<std::pair<std::wstring, std::wstring>> prefs, env;
    int32_t windowType = 1;
    std::wstring settingsKey;
    std::vector<int32_t> clicks;
    // Fault injection: callbacks left unregistered, or answering a null or an
    // empty text; an editor handle other than the editor's own.
    std::vector<int32_t> unregister, nullText, emptyText;
    std::optional<int32_t> editorHandle;
    WindowFaults windowFaults;
    // Exports called in an order other than the IDE's: a comma-separated list of
    // export names (with their argument after ':'), run instead of the usual order.
    std::optional<std::wstring> sequence;
    // --dialog: for each window the plug-in opens, in order, the actions taken
    // on it (dialogscript.h); windows beyond these follow the usual rule.
    std::vector<std::wstring> dialogs;
    // --stack-align 4 or 16: the stack at each call into the plug-in, for the
    // 32-bit stand-in (stack_win.h; 4 unless given). The 64-bit one aligns to 16.
    std::optional<int32_t> stackAlign;
    bool interactive() const { return clicks.empty() && !out && !outUtf8 && !report && !sequence; }
};

struct ParseResult {
    std::optional<Options> options;
    std::wstring error;  // set when options is empty
};

ParseResult ParseArgs(const std::vector<std::wstring>& args);

// Signed decimal 32-bit integer, whole text; nothing else.
std::optional<int32_t> ParseInt32(const std::wstring& text);

// "/tmp/x" as Wine's Z: drive path "Z:\tmp\x"; any other path unchanged.
std::wstring WindowsPath(const std::wstring& path);

const wchar_t* Usage();

}  // namespace quillhost
