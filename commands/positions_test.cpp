#include "commands/positions.h"

#include <gtest/gtest.h>

#include <string>

namespace quill::commands {
namespace {

TEST(Positions, SelectAllEndsThatFitEachCounting) {
    const struct {
        std::u16string_view window;
        int64_t end;
        bool units, lineBreaks, all;
    } cases[] = {
        {u"", 0, true, true, true},
        {u"ab", 2, true, true, true},
        {u"ab", 3, true, true, true},  // a rich edit control's final mark, no CR LF
        {u"ab", 0, false, false, false},
        {u"a\r\nb", 4, true, true, true},   // one CR LF: EDIT's length is a rich edit's length + 1
        {u"a\r\nb", 3, false, true, true},
        {u"a\r\nb", 5, false, false, false},
        {u"a\r\n\r\nb", 6, true, false, true},
        {u"a\r\n\r\nb", 5, false, true, true},
        {u"a\r\n\r\nb", 4, false, true, true},
        {u"a\rb\n", 4, true, true, true},  // a lone CR or LF is a character like any other
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.window.size() << " units, end " << c.end);
        EXPECT_EQ(UnitCountingFits(c.window, c.end), c.units);
        EXPECT_EQ(LineBreakCountingFits(c.window, c.end), c.lineBreaks);
        EXPECT_EQ(SelectsAll(c.window, c.end), c.all);
    }
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
