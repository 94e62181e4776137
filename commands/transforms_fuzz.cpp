// Fuzzes the whitespace transforms against the slow reference of repeated
// replacement, tabs to tab stops against their plain reference, and the pair
// check against what the bracket commands mean by it.
// The first input byte gives the tab width, the second where the text sits in
// the buffer ExpandTabs reads from; the rest spell the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

#include "commands/pairs.h"
#include "commands/reference_for_tests.h"
#include "commands/tabstops.h"
#include "commands/tabstops_reference_for_tests.h"
#include "commands/transforms.h"

namespace {

using namespace quill::commands;

// Pieces of text by the low four bits of a byte: spaces, tabs and CR LF pairs
// meet often, next to the lone CR, the lone LF and the reversed pair, which are
// ordinary characters. U+0920 and U+0D0A carry the bytes of a space, tab, CR or
// LF in one code unit and must not be taken for them.
constexpr std::u16string_view kPieces[16] = {
    u" ", u" ", u"\t", u"\r\n", u"\r\n", u" \r\n", u"\r", u"\n",
    u"a", u"\u00e9", u"\u8868", u"\u0920", u"\u0d0a", u"\t ", u"\n\r", u"\r\r\n",
};
// How often a piece repeats, by the high four bits: mostly once, sometimes a
// run that crosses the 16- and 32-character blocks the searches work in.
constexpr int kRepeats[16] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 8, 16, 17};

// The reference is quadratic in the longest run of spaces before a line break.
constexpr size_t kMaxText = 2048;

std::u16string Spell(const uint8_t* data, size_t size) {
    std::u16string text;
    for (size_t i = 0; i < size && text.size() < kMaxText; ++i)
        for (int r = 0; r < kRepeats[data[i] >> 4]; ++r) text += kPieces[data[i] & 15];
    return text;
}

// An in-place transform: the reference's result, "changed" exactly when the
// text differs, and nothing left to do when applied to its own result.
void CheckInPlace(bool (*transform)(std::u16string&), std::u16string (*reference)(std::u16string_view),
                  const std::u16string& text) {
    std::u16string result = text;
    const bool changed = transform(result);
    if (result != reference(text)) std::abort();
    if (changed != (result != text)) std::abort();
    const std::u16string again = result;
    if (transform(result) || result != again) std::abort();
}

void CheckExpandTabs(const std::u16string& text, int32_t width, uint8_t layout) {
    // The text is read through a view into a buffer with tabs on both sides,
    // starting at any of eight offsets: nothing outside the view may count. A
    // tab right at the view's end would look like none found, so one other
    // character stands between.
    const size_t before = layout & 7;
    std::u16string buffer(before, u'\t');
    buffer += text;
    buffer += u'#';
    buffer.append(32, u'\t');
    const std::u16string_view view(buffer.data() + before, text.size());
    // out's old content, whatever its length, must not show through.
    const std::u16string old(static_cast<size_t>(layout >> 3) * 5, u'#');
    std::u16string out = old;
    const bool changed = ExpandTabs(view, width, out);
    const bool hasTab = text.find(u'\t') != std::u16string::npos;
    if (changed != hasTab) std::abort();
    if (!changed) {
        if (out != old) std::abort();
        return;
    }
    const std::u16string expected = reference::ExpandTabs(text, width);
    if (out != expected) std::abort();
    if (out == text) std::abort();  // a tab always turns into something else
}

// Tab stops count columns: pieces by the low four bits of a byte again, now
// with what moves a column other than by one (surrogate pairs, lone halves,
// tabs inside literals) and what starts a line or only looks like it.
constexpr std::u16string_view kStopPieces[16] = {
    u"\t", u"\t", u"\t\t", u"\r\n", u"\r", u"\n", u"a", u" ",
    u"'", u"\"", u"q'[", u"]'", u"\U0001F600", u"\xD800", u"\xDC00", u"--",
};

void CheckTabStops(const uint8_t* data, size_t size, int32_t width, uint8_t layout) {
    std::u16string text;
    for (size_t i = 0; i < size && text.size() < kMaxText; ++i)
        for (int r = 0; r < kRepeats[data[i] >> 4]; ++r) text += kStopPieces[data[i] & 15];
    // Through a view with tabs and a CR LF around it, as above.
    const size_t before = layout & 7;
    std::u16string buffer = u"\r\n" + std::u16string(before, u'\t');
    buffer += text;
    buffer += u"#\t\t";
    const std::u16string_view view(buffer.data() + 2 + before, text.size());
    for (const bool keep : {false, true}) {
        const std::u16string old(static_cast<size_t>(layout >> 3) * 3, u'#');
        std::u16string out = old;
        const bool changed = ExpandTabsToStops(view, width, out, keep);
        const std::u16string expected = reference::ExpandTabsToStops(text, width, keep);
        if (changed != (expected != text)) std::abort();
        if (changed ? out != expected : out != old) std::abort();
        // Without literals no tab is left, and none grew past the full width.
        if (!keep && changed && out.find(u'\t') != std::u16string::npos) std::abort();
        if (!keep && changed && out.size() > reference::ExpandTabs(text, width).size()) std::abort();
    }
}

// The bracket and quote characters, a letter, and a character past ASCII.
constexpr char16_t kPairChars[] = u"()[]{}'\"a\u00e9";

void CheckPairs(const uint8_t* data, size_t size) {
    std::u16string text;
    for (size_t i = 0; i < size && i < 64; ++i) text += kPairChars[data[i] % (std::size(kPairChars) - 1)];
    for (int kind = -2; kind <= 6; ++kind) {
        const Pair* pair = PairOf(kind);
        if ((pair != nullptr) != (kind >= 0 && kind <= 4)) std::abort();
        // Read through a view with the pair's characters just outside it, the
        // wrong way round: an empty text must not look at them.
        std::u16string buffer;
        if (pair) buffer += pair->close;
        buffer += text;
        if (pair) buffer += pair->open;
        const bool enclosed = IsEnclosed(std::u16string_view(buffer).substr(pair ? 1 : 0, text.size()), kind);
        if (!pair) {
            if (enclosed) std::abort();
            continue;
        }
        // Enclosed: at least the two ends, or one quote character that is both.
        bool expected = false;
        if (text.size() >= 2) expected = text.front() == pair->open && text.back() == pair->close;
        if (text.size() == 1) expected = pair->open == pair->close && text[0] == pair->open;
        if (enclosed != expected) std::abort();
        // What the add command writes is always enclosed, whatever it holds.
        std::u16string added;
        added += pair->open;
        added += text;
        added += pair->close;
        if (!IsEnclosed(added, kind)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int32_t width = static_cast<int32_t>(data[0] % 19) - 2;  // -2 to 16
    const uint8_t layout = data[1];
    const std::u16string text = Spell(data + 2, size - 2);
    CheckInPlace(TrimTrailingSpaces, reference::TrimTrailingSpaces, text);
    CheckInPlace(SqueezeBlankLines, reference::SqueezeBlankLines, text);
    CheckExpandTabs(text, width, layout);
    CheckTabStops(data + 2, size - 2, width, layout);
    CheckPairs(data + 2, size - 2);
    return 0;
}
