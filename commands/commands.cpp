#include "commands/commands.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "base/convert.h"
#include "base/error.h"
#include "base/numbers.h"
#include "commands/literals.h"
#include "commands/pairs.h"
#include "commands/positions.h"
#include "commands/tabstops.h"
#include "commands/transforms.h"

namespace quill::commands {

int32_t SavedCursorX = 0;
int32_t SavedCursorY = 0;
int32_t TabWidth = 0;

namespace {

std::u16string Number(uint64_t n) { return Utf8ToUtf16(std::to_string(n)); }

void SaveCursor(Editor& editor) {
    SavedCursorX = editor.CursorX();
    SavedCursorY = editor.CursorY();
}

void RestoreCursor(Editor& editor) { editor.SetCursor(SavedCursorX, SavedCursorY); }

// SaveCursor, the body, and RestoreCursor however the body ends. When the body
// failed, its error is the one that goes on, even if restoring fails as well;
// when only restoring failed after the text was written, the user learns that
// the text did change. The body fills the caller's outcome, or one of its own.
template <class Body>
void Frame(Editor& editor, Outcome* out, bool keepLiterals, Body&& body) {
    Outcome local;
    Outcome& outcome = out ? *out : local;
    outcome.keepLiterals = keepLiterals;
    SaveCursor(editor);
    try {
        body(outcome);
    } catch (...) {
        try {
            RestoreCursor(editor);
        } catch (...) {
        }
        throw;
    }
    try {
        RestoreCursor(editor);
    } catch (...) {
        if (outcome.way != Outcome::Way::Nothing) throw Error(kCursorNotRestoredText);
        throw;
    }
}

// What a command works on and how it came: through the IDE's ANSI callbacks,
// compared with the editor window's own UTF-16 text where that can be read and
// its positions are proven.
struct Source {
    bool selection = false;          // the selection, else the whole text
    std::u16string text;             // what the command works on
    std::optional<int32_t> handle;   // asked once; empty when the IDE offers no way to ask
    bool windowRead = false;         // the window's text agrees with the IDE's, positions proven
    bool lossy = false;              // the IDE's text is a lossy image: text is the window's own
    std::u16string window;           // the window's whole text, when the command keeps it
    size_t length = 0;               // of the window's text
    size_t start = 0, end = 0;       // the part of the window's text that text stands for
    bool widened = false;            // start and end were moved out to whole characters
    bool allSelected = false;        // the whole text, lossy: the window's text is all selected
    int32_t savedStart = 0, savedEnd = 0;  // the selection before, put back when nothing is written
    std::u16string ide;              // the IDE's whole text, for the literals of a selection
    std::optional<size_t> ideStart;  // where the IDE placed the selection in it
    // A selection as the control gave it (its own positions, EM_GETSEL's order)
    // and as the IDE gave it, kept for a command that moves the selection.
    int32_t givenStart = 0, givenEnd = 0;
    std::string selBytes, wholeBytes;
};

enum class Scope { SelectionOrWhole, Selection, Whole };

bool Fits(int32_t s, int32_t e, size_t length) {
    return s >= 0 && e >= s && static_cast<size_t>(e) <= length;
}

// The window's text, when it can be trusted as far as its length goes: no
// longer than the IDE's bytes can explain (each character the IDE converted is
// at least one byte and at most two UTF-16 units), copied whole, with no NUL.
std::optional<std::u16string> ReadWindow(Editor& editor, int32_t handle, size_t ideBytes) {
    const size_t length = editor.TextLength(handle);
    if (length > static_cast<size_t>(std::numeric_limits<int32_t>::max()) || length > 2 * ideBytes) return {};
    std::u16string window = editor.WindowText(handle, length);
    if (window.size() != length || window.find(u'\0') != std::u16string::npos) return {};
    return window;
}

// Whether the IDE's conversion turns text into exactly bytes; converted a
// piece at a time (never splitting a surrogate pair), so a text of megabytes
// needs no second copy of itself.
bool ConvertsTo(Editor& editor, std::u16string_view text, std::string_view bytes) {
    constexpr size_t kPiece = size_t{1} << 16;
    size_t at = 0;
    while (!text.empty()) {
        size_t n = std::min(kPiece, text.size());
        if (n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
        const std::string piece = editor.ToAnsi(text.substr(0, n));
        if (bytes.size() - at < piece.size() || bytes.compare(at, piece.size(), piece) != 0) return false;
        at += piece.size();
        text.remove_prefix(n);
    }
    return at == bytes.size();
}

// Whether a part of the window's text explains what the IDE gave for it: the
// same text, or one that the IDE's conversion turns into exactly those bytes.
enum class Match { No, Same, Image };
Match Explains(Editor& editor, std::u16string_view part, std::u16string_view text, std::string_view bytes) {
    if (part == text) return Match::Same;
    if (editor.AnsiIsUtf8() || !ConvertsTo(editor, part, bytes)) return Match::No;
    return Match::Image;
}

// EM_GETSEL in either order: a start after the end is the same selection.
// given keeps the control's own order, to put the selection back as it was.
void GetSelection(Editor& editor, int32_t handle, int32_t& start, int32_t& end, int32_t* givenStart = nullptr,
                  int32_t* givenEnd = nullptr) {
    editor.GetSelection(handle, start, end);
    if (givenStart) *givenStart = start, *givenEnd = end;
    if (start > end) std::swap(start, end);
}

// What the IDE says stands before the selection [s, e) (EM_SETSEL(0, s)) and
// after it (EM_SETSEL(e, -1)), in the control's own positions whatever they
// count; the selection is put back as it was given. Empty unless the two answers
// and the selection's own tile the IDE's whole text: then they are the three
// parts of it, whatever the control counts and however often the text repeats.
struct Placement {
    std::string before, after;
};
std::optional<Placement> Place(Editor& editor, int32_t handle, int32_t s, int32_t e, int32_t givenStart,
                               int32_t givenEnd, std::string_view sel, std::string_view whole) {
    Placement p;
    if (s > 0) {
        editor.SetSelection(handle, 0, s);
        p.before = editor.SelectedText();
    }
    editor.SetSelection(handle, e, -1);
    p.after = editor.SelectedText();
    editor.SetSelection(handle, givenStart, givenEnd);
    if (p.before.size() + sel.size() + p.after.size() != whole.size() || !whole.starts_with(p.before) ||
        whole.compare(p.before.size(), sel.size(), sel) != 0 || !whole.ends_with(p.after))
        return {};
    return p;
}

// Whether the unit offset p of the window's text is told apart from its
// neighbour by what the IDE gives for the text before it: not where p splits a
// surrogate pair or follows one whose image is no longer than its first half's.
bool Distinct(Editor& editor, std::u16string_view window, size_t p) {
    size_t at = 0;
    if (p >= 1 && IsSurrogatePairAt(window, p - 1)) at = p - 1;
    else if (p >= 2 && IsSurrogatePairAt(window, p - 2)) at = p - 2;
    else return true;
    return editor.ToAnsi(window.substr(at, 2)).size() > editor.ToAnsi(window.substr(at, 1)).size();
}

// Whether the control's positions s and e are the window text's UTF-16 units
// there: what the IDE placed before and after the selection is exactly the
// image of the window's text before unit s and after unit e.
bool UnitsProven(Editor& editor, std::u16string_view window, int32_t s, int32_t e, const Placement& p) {
    const auto us = static_cast<size_t>(s), ue = static_cast<size_t>(e);
    return Distinct(editor, window, us) && Distinct(editor, window, ue) &&
           ConvertsTo(editor, window.substr(0, us), p.before) && ConvertsTo(editor, window.substr(ue), p.after);
}

// The whole text: a lossy image is replaced by the window's text once all of
// the window's text is selected (EM_SETSEL(0, -1)): EM_GETSEL's end must fit
// its length, or else the IDE must give its whole text as the selection. The
// selection before is kept to put back when nothing is written.
void CompareWholeWithWindow(Editor& editor, Source& src, std::string_view bytes) {
    const int32_t handle = *src.handle;
    std::optional<std::u16string> window = ReadWindow(editor, handle, bytes.size());
    if (!window) return;
    if (*window == src.text) {
        src.windowRead = true;
        src.length = src.end = window->size();
        return;
    }
    if (editor.AnsiIsUtf8() || !ConvertsTo(editor, *window, bytes)) return;
    editor.GetSelection(handle, src.savedStart, src.savedEnd);
    editor.SetSelection(handle, 0, -1);
    int32_t s = -1, e = -1;
    GetSelection(editor, handle, s, e);
    if (s != 0 || !SelectsAll(*window, e)) {
        const std::string whole(bytes);  // the next call to the IDE spoils them
        if (editor.SelectedText() != whole) {
            editor.SetSelection(handle, src.savedStart, src.savedEnd);
            return;
        }
    }
    src.windowRead = src.lossy = src.allSelected = true;
    src.length = src.end = window->size();
    src.text = std::move(*window);  // taken over instead of copied
}

// The selection [s, e) of the window's text taken for src where the IDE's
// answers prove the control's positions to be its UTF-16 units (UnitsProven);
// src.windowRead says whether it was. For a lossy image the window's characters
// replace the IDE's. needPositions: proven even where the window's text is the
// IDE's own. The placement, when the IDE was asked, is handed back.
std::optional<Placement> Prove(Editor& editor, Source& src, std::u16string_view window, int32_t s, int32_t e,
                               int32_t givenStart, int32_t givenEnd, bool needPositions) {
    src.windowRead = false;
    if (!Fits(s, e, window.size())) return {};
    const std::u16string_view part = window.substr(s, e - s);
    const Match match = Explains(editor, part, src.text, src.selBytes);
    if (match == Match::No || (match == Match::Same && !needPositions)) return {};
    std::optional<Placement> placed =
        Place(editor, *src.handle, s, e, givenStart, givenEnd, src.selBytes, src.wholeBytes);
    if (!placed || !UnitsProven(editor, window, s, e, *placed)) return placed;
    src.windowRead = true;
    src.start = static_cast<size_t>(s);
    src.end = static_cast<size_t>(e);
    if (match == Match::Image) {
        src.lossy = true;
        src.text.assign(part);
    }
    return placed;
}

// A selection: taken from the window's text only when the whole window text
// converts to exactly the IDE's whole text and the selection's positions are
// proven (Prove). needPositions: the command needs them even for a text the
// code page holds (the literals' context, the widening of Remove).
std::optional<Placement> CompareSelectionWithWindow(Editor& editor, Source& src, bool needPositions) {
    const int32_t handle = *src.handle;
    std::optional<std::u16string> window = ReadWindow(editor, handle, src.wholeBytes.size());
    if (!window || !ConvertsTo(editor, *window, src.wholeBytes)) return {};
    int32_t s = 0, e = 0;
    GetSelection(editor, handle, s, e, &src.givenStart, &src.givenEnd);
    std::optional<Placement> placed = Prove(editor, src, *window, s, e, src.givenStart, src.givenEnd, needPositions);
    if (!src.windowRead) return placed;
    src.length = window->size();
    // Half a surrogate pair at an edge: the whole character is taken.
    if (src.lossy) {
        src.widened = ToWholeCharacters(*window, src.start, src.end);
        if (src.widened) src.text.assign(*window, src.start, src.end - src.start);
    }
    if (needPositions) src.window = std::move(*window);
    return placed;
}

// Where the IDE placed the selection in its own whole text, for the literals
// when the window's positions are not proven: the text before it, as the IDE
// gave it, must convert to exactly the start of the IDE's whole text.
void PlaceInIde(Editor& editor, Source& src, std::optional<Placement> placed) {
    if (!placed) {
        int32_t s = 0, e = 0;
        GetSelection(editor, *src.handle, s, e, &src.givenStart, &src.givenEnd);
        placed = Place(editor, *src.handle, s, e, src.givenStart, src.givenEnd, src.selBytes, src.wholeBytes);
        if (!placed) return;
    }
    const std::u16string before = editor.FromAnsi(placed->before);
    const std::u16string_view ide(src.ide);
    if (ide.starts_with(before) && ide.substr(before.size()).starts_with(src.text)) src.ideStart = before.size();
}

// The selection (or, for SelectionOrWhole, the whole text when nothing is
// selected) as the IDE gives it, and, when the IDE offers the editor's handle,
// the check against the window's own text. The handle is asked once, first.
// keepWindow: the command needs the window's text and positions for a
// selection; literals: also where the IDE places it, should the window fail.
Source Read(Editor& editor, Scope scope, bool keepWindow, bool literals, Outcome& outcome) {
    Source src;
    if (editor.HasHandle()) src.handle = editor.Handle();
    const bool window = src.handle && *src.handle > 0;
    std::string_view bytes;
    if (scope != Scope::Whole) {
        bytes = editor.SelectedText();
        src.text = editor.FromAnsi(bytes);
        src.selection = scope == Scope::Selection || !src.text.empty();
    }
    if (!src.selection) {
        bytes = editor.Text();
        src.text = editor.FromAnsi(bytes);
        if (window) CompareWholeWithWindow(editor, src, bytes);
    } else if (window && editor.HasText()) {
        src.selBytes = bytes;  // the next call to the IDE spoils them
        src.wholeBytes = editor.Text();
        if (literals) src.ide = editor.FromAnsi(src.wholeBytes);
        std::optional<Placement> placed = CompareSelectionWithWindow(editor, src, keepWindow || literals);
        if (literals && !src.windowRead) PlaceInIde(editor, src, std::move(placed));
    }
    outcome.scope = src.selection ? Outcome::Scope::Selection : Outcome::Scope::Whole;
    outcome.read = src.text.size();
    outcome.lossy = src.lossy;
    return src;
}

// The selection read again after the editor's selection moved; taken from the
// window's text (which has not changed) only where its positions are proven
// again.
void ReadSelectionAgain(Editor& editor, Source& src, Outcome& outcome) {
    src.selBytes = editor.SelectedText();
    src.text = editor.FromAnsi(src.selBytes);
    src.lossy = src.widened = false;
    if (src.windowRead) {
        int32_t s = 0, e = 0, givenStart = 0, givenEnd = 0;
        GetSelection(editor, *src.handle, s, e, &givenStart, &givenEnd);
        Prove(editor, src, src.window, s, e, givenStart, givenEnd, true);
    }
    outcome.read = src.text.size();
    outcome.lossy = src.lossy;
}

constexpr char16_t kKeepsItsText[] = u"the editor keeps its text.";

// The message for a result of length characters, over limit: the editor's own
// (editors) or the one Quillmendex keeps to.
std::u16string TooLongText(uint64_t length, size_t limit, bool editors) {
    return u"The result would make the editor's text " + Number(length) + u" characters long, more than " +
           (editors ? u"the editor takes (" : u"Quillmendex puts into an editor (") + Number(limit) + u").";
}

// The longest result Replace tab by spaces makes: never more than
// kMaxResultLength, and where the result goes through the window (EM_REPLACESEL
// keeps to it), the editor's limit when it tells one (EM_GETLIMITTEXT). The
// IDE's set-text call is not held to that limit, so neither is its result.
struct Limit {
    size_t length;
    bool editors;  // the editor's own
};
Limit ResultLimit(Editor& editor, const Source& src) {
    const size_t editors = src.lossy && src.handle && *src.handle > 0 ? editor.LimitText(*src.handle) : 0;
    if (editors != 0 && editors < kMaxResultLength) return {editors, true};
    return {kMaxResultLength, false};
}

void Wrote(Outcome& outcome, Outcome::Way way, size_t units) {
    outcome.way = way;
    outcome.written = units;
    outcome.notWritten = Outcome::NotWritten::No;
}

// The window's text, replaced in UTF-16 with no ANSI round trip: the selection
// (first moved out to whole characters, where it split one), or the whole text,
// which Read selected. The result must fit the control's limit when it tells
// one, and afterwards the window must hold exactly as many characters as meant.
void WriteToWindow(Editor& editor, const Source& src, std::u16string_view result, Outcome& outcome) {
    const int32_t handle = *src.handle;
    const size_t expected = src.length - (src.end - src.start) + result.size();
    const size_t limit = editor.LimitText(handle);  // 0: the control tells no limit
    if (limit != 0 && expected > limit) {
        outcome.notWritten = Outcome::NotWritten::OverLimit;
        throw Error(TooLongText(expected, limit, true) + u" Quillmendex did not write it; " + kKeepsItsText);
    }
    if (src.widened)
        editor.SetSelection(handle, static_cast<int32_t>(src.start), static_cast<int32_t>(src.end));
    editor.ReplaceSelection(handle, result);
    Wrote(outcome, Outcome::Way::Window, result.size());
    const size_t now = editor.TextLength(handle);
    if (now != expected) {
        throw Error(u"Quillmendex replaced the text, but the editor now holds " + Number(now) +
                    u" characters where " + Number(expected) +
                    u" were expected. Please check the text; Undo takes the change back.");
    }
}

// Writes a changed result the way the text was read.
void Write(Editor& editor, const Source& src, std::u16string_view result, Outcome& outcome) {
    outcome.changed = true;
    outcome.notWritten = Outcome::NotWritten::Failed;  // until it is written
    if (src.lossy) return WriteToWindow(editor, src, result, outcome);
    if (!src.selection) {
        if (!editor.HasSetText()) outcome.notWritten = Outcome::NotWritten::NoHostSetText;
        editor.SetText(result);
        Wrote(outcome, Outcome::Way::HostSetText, result.size());
        return;
    }
    const int32_t handle = src.handle ? *src.handle : editor.Handle();
    if (handle <= 0) {  // no editor window: the change is dropped
        outcome.notWritten = Outcome::NotWritten::NoEditorWindow;
        return;
    }
    // Through the ANSI code page and back, as the IDE's own text travels.
    const std::u16string text = editor.FromAnsi(editor.ToAnsi(result));
    editor.ReplaceSelection(handle, text);
    Wrote(outcome, Outcome::Way::Selection, text.size());
}

// Nothing to write: a whole text selected to be replaced gets its selection back.
void Unchanged(Editor& editor, const Source& src) {
    if (src.allSelected) editor.SetSelection(*src.handle, src.savedStart, src.savedEnd);
}

// Where the text a command works on stands, for finding the string literals
// it must leave alone: a selection within the window's whole text, or within
// the IDE's whole text where the selection stands there exactly; the text
// itself when it is the whole text, or when neither shows what stands before
// a selection (then it is scanned from its own start, and the log says so).
TextContext LiteralContext(const Source& src, Outcome& outcome) {
    if (!src.selection) return {};
    if (src.windowRead && !src.window.empty()) return {src.window, src.start};
    if (src.ideStart) return {src.ide, *src.ideStart};
    outcome.literalsFromOwnStart = true;
    return {};
}

// The selection, or the whole text when nothing is selected; the result goes
// back the same way, and only when it differs from what was read. With
// keepLiterals the selection's context is kept to scan.
template <class Transform>
void OnSelectionOrWhole(Editor& editor, bool keepLiterals, Outcome& outcome, Transform&& transform) {
    Source src = Read(editor, Scope::SelectionOrWhole, false, keepLiterals, outcome);
    const bool changed = keepLiterals ? transform(src.text, LiteralContext(src, outcome)) : transform(src.text);
    if (changed) Write(editor, src, src.text, outcome);
    else Unchanged(editor, src);
}

// 32-bit signed arithmetic that wraps instead of overflowing.
int32_t Add32(int32_t a, int32_t b) noexcept {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// Selects one more position on each side of start..end. The edit control
// decides what start -1 or an end past the text mean.
void Widen(Editor& editor, int32_t handle, int32_t start, int32_t end) {
    editor.SetSelection(handle, Add32(start, -1), Add32(end, 1));
}

// The same around the editor's selection as it stands.
void Widen(Editor& editor, int32_t handle) {
    int32_t start = 0, end = 0;
    GetSelection(editor, handle, start, end);
    Widen(editor, handle, start, end);
}

}  // namespace

void RemoveTrailingSpaces(Editor& editor, bool keepLiterals, Outcome* out) {
    Frame(editor, out, keepLiterals, [&](Outcome& outcome) {
        OnSelectionOrWhole(editor, keepLiterals, outcome,
                           [](std::u16string& t, auto&&... context) { return TrimTrailingSpaces(t, context...); });
    });
}

void ReplaceTabBySpaces(Editor& editor, bool keepLiterals, Outcome* out) {
    ReplaceTabBySpaces(editor, keepLiterals, false, out);
}

void ReplaceTabBySpaces(Editor& editor, bool keepLiterals, bool tabStops, Outcome* out) {
    Frame(editor, out, keepLiterals, [&](Outcome& outcome) {
        outcome.tabStops = tabStops;
        // The preference is read before the text: a bad value leaves the editor alone.
        TabWidth = StrToInt(editor.Preference("TabPosition"));
        // Always the whole text, so every column counts from its line's true start.
        const Source src = Read(editor, Scope::Whole, false, false, outcome);
        const Limit limit = ResultLimit(editor, src);
        // A result no longer than the text is never refused.
        const MaxLength allowed(std::max(limit.length, std::min(src.text.size(), kMaxTextLength)));
        std::u16string result;
        bool changed = false;
        try {
            changed = tabStops       ? ExpandTabsToStops(src.text, TabWidth, result, keepLiterals, allowed)
                      : keepLiterals ? ExpandTabs(src.text, TabWidth, result, TextContext{}, allowed)
                                     : ExpandTabs(src.text, TabWidth, result, allowed);
        } catch (const ResultTooLong& e) {
            Unchanged(editor, src);
            outcome.changed = true;
            outcome.notWritten = Outcome::NotWritten::OverLimit;
            throw Error(TooLongText(e.length, limit.length, limit.editors) + u" Quillmendex did not make it; " +
                        kKeepsItsText);
        }
        if (changed) Write(editor, src, result, outcome);
        else Unchanged(editor, src);
    });
}

void RemoveBlankLines(Editor& editor, bool keepLiterals, Outcome* out) {
    Frame(editor, out, keepLiterals, [&](Outcome& outcome) {
        OnSelectionOrWhole(editor, keepLiterals, outcome,
                           [](std::u16string& t, auto&&... context) { return SqueezeBlankLines(t, context...); });
    });
}

void AddAroundSelection(Editor& editor, int pairKind, Outcome* out) {
    const Pair* pair = PairOf(pairKind);
    if (!pair) return;
    Frame(editor, out, false, [&](Outcome& outcome) {
        const Source src = Read(editor, Scope::Selection, false, false, outcome);
        std::u16string result;
        result.reserve(src.text.size() + 2);
        result += pair->open;
        result += src.text;
        result += pair->close;
        Write(editor, src, result, outcome);  // always two characters longer
    });
}

void RemoveAroundSelection(Editor& editor, int pairKind, Outcome* out) {
    if (!PairOf(pairKind)) return;
    Frame(editor, out, false, [&](Outcome& outcome) {
        // The window's text is kept: a widened selection is checked against it too.
        Source src = Read(editor, Scope::Selection, true, false, outcome);
        bool enclosed = IsEnclosed(src.text, pairKind);
        if (!enclosed) {
            // Once: take in one more character on each side and look again.
            const int32_t handle = src.handle ? *src.handle : editor.Handle();
            if (handle > 0) {
                const bool proven = src.windowRead;
                if (proven)  // the selection as the command took it, whole characters
                    Widen(editor, handle, static_cast<int32_t>(src.start), static_cast<int32_t>(src.end));
                else
                    Widen(editor, handle);
                const std::string given = src.selBytes;
                ReadSelectionAgain(editor, src, outcome);
                if (proven && !src.windowRead) {
                    // The widened selection is not proven: the IDE's way from the
                    // selection as it was given, so that no mix of the two is written.
                    src.text = editor.FromAnsi(given);
                    src.lossy = false;
                    editor.SetSelection(handle, src.givenStart, src.givenEnd);
                    if (!IsEnclosed(src.text, pairKind)) {
                        Widen(editor, handle);
                        src.text = editor.FromAnsi(editor.SelectedText());
                    }
                }
                enclosed = IsEnclosed(src.text, pairKind);
            }
        }
        if (!enclosed) return;  // a widened selection stays widened
        const std::u16string& text = src.text;
        const std::u16string inner = text.size() > 2 ? text.substr(1, text.size() - 2) : std::u16string();
        Write(editor, src, inner, outcome);
    });
}

}  // namespace quill::commands
