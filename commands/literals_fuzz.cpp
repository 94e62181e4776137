// Fuzzes the literal scanner and the transforms that keep literals against
// the plain reference, on whole texts and on parts of them. The first input
// byte gives the tab width, the next two where the part starts and how long it
// is (as fractions of the text); the rest spell the text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "commands/literals.h"
#include "commands/reference_for_tests.h"
#include "commands/transforms.h"

namespace {

using namespace quill::commands;

// Pieces of text by the low five bits of a byte: what opens and closes
// literals, identifiers and comments, every kind of q-quote delimiter (and a
// surrogate pair, and the second half of one alone), the prefixes and word
// characters around a q, SQL*Plus words, and the whitespace the commands
// change.
constexpr std::u16string_view kPieces[32] = {
    u" ",   u"  ", u"\t", u"\r\n", u"\r",  u"\n", u"'",  u"''",  u"\"", u"q'", u"Q'",
    u"n",   u"N",  u"x",  u"[",    u"]",   u"{",  u"}",  u"(",   u")",  u"<",  u">",
    u"!",   u"\U0001F600", u"\xDE00", u"--", u"/*", u"*/", u"REM", u"prompt", u"\u00e9", u"-",
};
// How often a piece repeats, by the high three bits.
constexpr int kRepeats[8] = {1, 1, 1, 1, 1, 2, 8, 17};

// The reference is quadratic in the longest run of spaces before a line break;
// the scanner decides 2,048 positions at a time, and the texts reach past that.
constexpr size_t kMaxText = 5000;

std::u16string Spell(const uint8_t* data, size_t size) {
    std::u16string text;
    for (size_t i = 0; i < size && text.size() < kMaxText; ++i)
        for (int r = 0; r < kRepeats[data[i] >> 5]; ++r) text += kPieces[data[i] & 31];
    return text;
}

void Check(bool ok) {
    if (!ok) std::abort();
}

// The spans of the whole text, also when all before the end of each span
// handed out is overwritten (as the in-place transforms may do).
void CheckSpans(std::u16string text) {
    std::vector<std::pair<size_t, size_t>> expected;
    for (const auto& s : reference::ProtectedSpans(text)) {
        if (!expected.empty() && expected.back().second == s.begin)
            expected.back().second = s.end;  // spans that meet come as one
        else
            expected.emplace_back(s.begin, s.end);
    }
    for (bool overwrite : {false, true}) {
        std::u16string copy = text;
        std::vector<std::pair<size_t, size_t>> spans;
        LiteralScanner scanner(copy, {});
        for (Span s; scanner.Next(s);) {
            Check(s.begin < s.end && s.end <= copy.size());
            spans.emplace_back(s.begin, s.end);
            if (overwrite) std::fill(copy.begin(), copy.begin() + static_cast<ptrdiff_t>(s.end), u'x');
        }
        Check(spans == expected);
    }
}

// The three transforms of part, whose context is given (or none: the part is
// the whole text), against the reference.
void CheckTransforms(std::u16string_view part, std::u16string_view whole, size_t offset, int32_t width) {
    const TextContext context = whole.empty() ? TextContext{} : TextContext{whole, offset};
    std::u16string trimmed(part), squeezed(part);
    const bool trim = TrimTrailingSpaces(trimmed, context);
    const bool squeeze = SqueezeBlankLines(squeezed, context);
    Check(trimmed == reference::TrimKeepingLiterals(part, whole, offset));
    Check(squeezed == reference::SqueezeKeepingLiterals(part, whole, offset));
    Check(trim == (trimmed != part));
    Check(squeeze == (squeezed != part));
    std::u16string out = u"left alone";
    const bool tabs = ExpandTabs(part, width, out, context);
    const std::u16string expanded = reference::ExpandTabsKeepingLiterals(part, width, whole, offset);
    if (tabs) {
        Check(out == expanded);
    } else {
        Check(out == u"left alone");
        Check(expanded == part);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const int32_t width = static_cast<int32_t>(data[0] % 11) - 2;  // -2 to 8
    const std::u16string text = Spell(data + 3, size - 3);
    CheckSpans(text);
    CheckTransforms(text, {}, 0, width);
    const size_t offset = text.size() * data[1] / 255;
    const size_t length = (text.size() - offset) * data[2] / 255;
    CheckTransforms(std::u16string_view(text).substr(offset, length), text, offset, width);
    return 0;
}
