#include "commands/positions.h"

#include <gtest/gtest.h>

#include <string>

namespace quill::commands {
namespace {

TEST(Positions, SelectAllEndsThatFitEitherCounting) {
    // The window's units, or a CR LF counted as one; either with a final mark.
    const struct {
        std::u16string_view window;
        int64_t end;
        bool all;
    } cases[] = {
        {u"", 0, true},
        {u"ab", 2, true},
        {u"ab", 3, true},  // a rich edit control's final mark
        {u"ab", 0, false},
        {u"ab", 4, false},
        {u"a\r\nb", 4, true},  // units; or CR LF as one with the final mark
        {u"a\r\nb", 3, true},
        {u"a\r\nb", 5, false},
        {u"a\r\n\r\nb", 6, true},
        {u"a\r\n\r\nb", 5, true},
        {u"a\r\n\r\nb", 4, true},
        {u"a\r\n\r\nb", 7, false},  // a final mark after units counted two to a CR LF
        {u"a\rb\n", 4, true},  // a lone CR or LF is a character like any other
        {u"a\rb\n", 3, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SelectsAll(c.window, c.end), c.all) << c.window.size() << " units, end " << c.end;
}

TEST(Positions, HalfASurrogatePairAtAnEdgeTakesTheWholeCharacter) {
    const std::u16string_view t = u"a\U0001F600b\U0001F600";  // a, pair at 1-2, b at 3, pair at 4-5
    const struct {
        size_t s, e;
        bool moved;
        size_t ws, we;
    } cases[] = {{1, 3, false, 1, 3}, {2, 3, true, 1, 3}, {0, 2, true, 0, 3}, {2, 5, true, 1, 6},
                 {2, 2, true, 1, 3}, {3, 4, false, 3, 4}, {0, 6, false, 0, 6}};
    for (const auto& c : cases) {
        size_t s = c.s, e = c.e;
        EXPECT_EQ(ToWholeCharacters(t, s, e), c.moved) << c.s << ":" << c.e;
        EXPECT_EQ(std::make_pair(s, e), std::make_pair(c.ws, c.we)) << c.s << ":" << c.e;
    }
}

}  // namespace
}  // namespace quill::commands
