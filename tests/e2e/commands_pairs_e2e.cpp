// Add (5 to 9) and remove (10 to 14) a pair around the selection, through the
// real DLL and the stand-in's real EDIT control: the text afterwards, the edit
// messages the plug-in sent and the cursor handed back.
#include <gtest/gtest.h>

#include <optional>

#include "harness.h"

namespace {

using quilltest::HostRun;
using quilltest::json;
using quilltest::Result;

struct Case {
    int click;
    std::string in;
    int start, end;          // --select
    std::string out;
    std::optional<json> widened;  // the EM_SETSEL arguments, when the selection was widened
    std::optional<std::string> replaced;  // the EM_REPLACESEL text, when one was sent
};

Result Run(const Case& c) {
    HostRun run;
    return run.input(c.in).select(c.start, c.end).click(c.click).go();
}

void Check(const Case& c) {
    SCOPED_TRACE(testing::Message() << c.click << " on " << testing::PrintToString(c.in) << " " << c.start << ":"
                                    << c.end);
    const Result r = Run(c);
    ASSERT_EQ(r.exit, 0) << r.stderrText;
    EXPECT_EQ(r.out, c.out);
    EXPECT_TRUE(r.Messages().empty());
    EXPECT_EQ(r.Calls("HostGetText").size(), 1u);  // only for the window's text to be checked against
    EXPECT_TRUE(r.Calls("HostSetText").empty());
    const auto gets = r.Calls("EM_GETSEL"), sets = r.Calls("EM_SETSEL"), replaces = r.Calls("EM_REPLACESEL");
    // The selection is read from the window to check the IDE's text against;
    // its positions are proven by asking the IDE what stands before it
    // (EM_SETSEL(0, start)) and after it (EM_SETSEL(end, -1)) and putting the
    // selection back; then it is widened once and the widened one proven too.
    ASSERT_FALSE(gets.empty());
    EXPECT_EQ(gets[0]["result"], json::array({c.start, c.end}));
    EXPECT_EQ(r.Calls("HostGetEditorHandle").size(), 1u);
    const json back = json::array({c.start, c.end});
    auto probe = [](const json& args, const json& sel) {
        return (args[0] == 0 && args[1] == sel[0]) || (args[0] == sel[1] && args[1] == -1);
    };
    // After the widening, what the control made of it (EM_GETSEL's last answer)
    // is proven and put back in the same way; never the selection before.
    const json now = gets.back()["result"];
    size_t widenedAt = sets.size();
    for (size_t i = 0; i < sets.size(); ++i) {
        const json& args = sets[i]["args"];
        if (widenedAt == sets.size()) {
            if (args != back && !probe(args, back)) widenedAt = i;
        } else {
            EXPECT_TRUE(args == now || probe(args, now)) << args;
        }
    }
    if (c.widened) {
        ASSERT_LT(widenedAt, sets.size());
        EXPECT_EQ(sets[widenedAt]["args"], *c.widened);
        EXPECT_TRUE(sets.back()["args"] == *c.widened || sets.back()["args"] == now);
    } else {
        EXPECT_EQ(widenedAt, sets.size());
    }
    if (c.replaced) {
        ASSERT_EQ(replaces.size(), 1u);
        EXPECT_EQ(replaces[0]["args"], json::array({1, *c.replaced}));
        EXPECT_TRUE(r.report["can_undo"]);
    } else {
        EXPECT_TRUE(replaces.empty());
    }
    // Saved first, handed back last: the caret's place before the command
    // (the selection ends on line 1 in every case).
    ASSERT_EQ(r.Calls("HostSetCursor").size(), 1u);
    EXPECT_EQ(r.Calls("HostSetCursor")[0]["args"], json::array({c.end + 1, 1}));
    EXPECT_EQ(r.CallNames()[r.CallNames().size() - 1], "HostSetCursor");
}

TEST(CommandsPairs, EveryMenuIndex) {
    const Case cases[] = {
        {5, "xay", 1, 2, "x(a)y", {}, "(a)"},
        {6, "xay", 1, 2, "x[a]y", {}, "[a]"},
        {7, "xay", 1, 2, "x{a}y", {}, "{a}"},
        {8, "xay", 1, 2, "x'a'y", {}, "'a'"},
        {9, "xay", 1, 2, "x\"a\"y", {}, "\"a\""},
        {10, "x(abc)y", 2, 5, "xabcy", json::array({1, 6}), "abc"},
        {11, "x[abc]y", 1, 6, "xabcy", {}, "abc"},
        {12, "x{abc}y", 2, 5, "xabcy", json::array({1, 6}), "abc"},
        {13, "x'a'y", 1, 4, "xay", {}, "a"},
        {14, "x\"a\"y", 2, 3, "xay", json::array({1, 4}), "a"},
    };
    for (const Case& c : cases) Check(c);
}

TEST(CommandsPairs, EdgeCases) {
    const Case cases[] = {
        {5, "xy", 1, 1, "x()y", {}, "()"},                         // nothing selected: the pair at the caret
        {5, "x(a)y", 1, 4, "x((a))y", {}, "((a))"},                // already enclosed: a second pair
        {10, "x()y", 2, 2, "xy", json::array({1, 3}), ""},         // caret between the brackets
        {10, "xy", 1, 1, "xy", json::array({0, 2}), {}},           // x and y stay selected, nothing written
        {10, "x[abc)y", 2, 5, "x[abc)y", json::array({1, 6}), {}},  // widened, still no pair
        {10, "x(abc]y", 1, 6, "x(abc]y", json::array({0, 7}), {}},  // mixed pair: widening tried
        {13, "a'b", 1, 2, "ab", {}, ""},                           // one quote encloses itself
        {14, "a\"b", 1, 2, "ab", {}, ""},
        {10, "a()b", 1, 3, "ab", {}, ""},
        {10, "((a))", 0, 5, "(a)", {}, "(a)"},                     // only the outer pair
        {11, "[[a]]", 1, 4, "[a]", {}, "a"},
        // At the very start the widened start is -1: the real edit control then
        // drops the selection (it does not clamp to 0 and find the pair), the
        // second read is empty and nothing is written.
        {10, "(a)", 0, 2, "(a)", json::array({-1, 3}), {}},
        {5, "ab", 0, 1, "(a)b", {}, "(a)"},
        // At the very end the widened end lies past the text; the control stops
        // at the end of the text.
        {10, "x(abc)", 2, 6, "xabc", json::array({1, 7}), "abc"},
        {12, "{a}", 1, 2, "a", json::array({0, 3}), "a"},
    };
    for (const Case& c : cases) Check(c);
}

TEST(CommandsPairs, EachEditIsUndoneInOneStep) {
    for (const Case& c : {Case{5, "x(ab)y", 2, 4, "", {}, {}}, Case{10, "x(ab)y", 2, 4, "", {}, {}},
                          Case{9, "xy", 1, 1, "", {}, {}}}) {
        SCOPED_TRACE(c.click);
        HostRun run;
        const Result r =
            run.input(c.in)
                .select(c.start, c.end)
                .click(c.click)
                .args({"--sequence", "IdentifyPlugIn:1,RegisterAll,CreateMenuItems,onWindowChange,Clicks,Undo,OnDestroy"})
                .go();
        ASSERT_EQ(r.exit, 0);
        ASSERT_EQ(r.Calls("EM_REPLACESEL").size(), 1u);
        EXPECT_EQ(r.out, c.in);
    }
}

TEST(CommandsPairs, WithoutAnEditorWindowNothingIsSentWrittenOrShown) {
    for (const char* handle : {"0", "-1"}) {
        for (int click : {5, 9, 10, 14}) {
            SCOPED_TRACE(testing::Message() << handle << " " << click);
            HostRun run;
            const std::string in = click == 10 ? "x(abc)y" : "x\"abc\"y";
            const Result r = run.input(in).select(2, 5).args({"--editor-handle", handle}).click(click).go();
            ASSERT_EQ(r.exit, 0);
            EXPECT_EQ(r.out, in);
            for (const std::string& name : r.CallNames()) EXPECT_NE(name.rfind("EM_", 0), 0u) << name;
            EXPECT_EQ(r.Calls("HostGetEditorHandle").size(), 1u);
            EXPECT_EQ(r.Calls("HostSetCursor").size(), 1u);
            EXPECT_TRUE(r.Messages().empty());
        }
    }
}

TEST(CommandsPairs, OtherCharactersSurviveInCodePages1252And932) {
    struct {
        const char* lang;
        std::string a, b;  // ANSI bytes of two characters
    } pages[] = {
        {"en_US.UTF-8", "\xE9", "\x80"},          // e acute, euro
        {"ja_JP.UTF-8", "\x95\x5C", "\x83\x5C"},  // two Shift-JIS characters whose second byte is '\'
    };
    for (const auto& p : pages) {
        SCOPED_TRACE(p.lang);
        // Positions count characters: a ( a b ) b, the selection "a b" inside the brackets.
        const std::string in = p.a + "(" + p.a + p.b + ")" + p.b;
        HostRun remove;
        Result r = remove.lang(p.lang).input(in).select(2, 4).click(10).go();
        ASSERT_EQ(r.exit, 0);
        EXPECT_EQ(r.out, p.a + p.a + p.b + p.b);
        HostRun add;
        r = add.lang(p.lang).input(in).select(2, 4).click(9).go();
        ASSERT_EQ(r.exit, 0);
        EXPECT_EQ(r.out, p.a + "(\"" + p.a + p.b + "\")" + p.b);
    }
}

}  // namespace
