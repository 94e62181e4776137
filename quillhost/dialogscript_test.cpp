#include "quillhost/dialogscript.h"

#include <gtest/gtest.h>

namespace quillhost {
namespace {

using Kind = DialogAction::Kind;

TEST(DialogScript, ReadsActionsInOrderAndRefusesWhatItDoesNotKnow) {
    std::wstring why;
    auto actions = ParseDialogScript(L"check:&Keep;uncheck:Tab stops;;click:O&K;key:ESC;key:ENTER;key:TAB", why);
    ASSERT_TRUE(actions) << why.size();
    ASSERT_EQ(actions->size(), 6u);
    const std::pair<Kind, std::wstring> want[] = {{Kind::Check, L"Keep"}, {Kind::Uncheck, L"Tab stops"},
                                                  {Kind::Click, L"OK"}, {Kind::Escape, L""}, {Kind::Enter, L""},
                                                  {Kind::Tab, L""}};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ((*actions)[i].kind, want[i].first) << i;
        EXPECT_EQ((*actions)[i].text, want[i].second) << i;
    }
    EXPECT_EQ((*actions)[2].written, L"click:O&K");
    for (const wchar_t* bad : {L"", L";", L"check:", L"click:&", L"press:OK", L"key:tab", L"key:esc", L"OK"}) {
        why.clear();
        EXPECT_FALSE(ParseDialogScript(bad, why)) << bad;
        EXPECT_FALSE(why.empty()) << bad;
    }
}

TEST(DialogScript, ControlsAreFoundByALeadingPartOfTheirTextWithoutAmpersands) {
    const std::tuple<const wchar_t*, const wchar_t*, bool> cases[] = {
        {L"&Keep string literals", L"Keep", true},   {L"&Keep string literals", L"&Keep string", true},
        {L"Open &folder", L"Open folder", true},     {L"OK", L"OK", true},
        {L"OK", L"OKAY", false},                     {L"Cancel", L"cancel", false},
        {L"Write the diagnostic &log", L"log", false}, {L"", L"", false},
    };
    for (const auto& [text, wanted, match] : cases) EXPECT_EQ(TextMatches(text, wanted), match) << text << L" / " << wanted;
}

}  // namespace
}  // namespace quillhost
