#include <gtest/gtest.h>

#include <set>
#include <string>

#include "host/menu.h"
#include "host/plugin_intf.h"

namespace {

TEST(MenuTable, TextsOfEveryIndex) {
    EXPECT_STREQ(quill::menu::MenuText(1), "Edit / Quillmendex / [Quillmendex] Remove trailing spaces");
    EXPECT_STREQ(quill::menu::MenuText(9), "Edit / Quillmendex / [Quillmendex] Add \"\" around selection");
    EXPECT_STREQ(quill::menu::MenuText(14), "Edit / Quillmendex / [Quillmendex] Remove \"\" around selection");
    EXPECT_STREQ(quill::menu::MenuText(99), "Edit / Quillmendex / [Quillmendex] About");
    for (int sep : {4, 98}) EXPECT_STREQ(quill::menu::MenuText(sep), "Edit / Quillmendex / -");
    for (int off : {0, 15, 97, 100, -1, 300}) EXPECT_STREQ(quill::menu::MenuText(off), "") << off;
}

TEST(MenuTable, FourteenButtonsWithDistinctBitmaps) {
    std::set<std::string> bitmaps;
    for (const auto& item : quill::menu::Items())
        if (item.bitmap) bitmaps.insert(item.bitmap);
    EXPECT_EQ(bitmaps.size(), 14u);
    EXPECT_TRUE(bitmaps.count("btn_about.bmp"));
    EXPECT_TRUE(bitmaps.count("btn_quillmendex_add().bmp"));
}

TEST(CallbackRegistry, AcceptsOnlyTheIdesNumbers) {
    using namespace quill::intf;
    ClearCallbacks();
    int dummy1 = 0, dummy2 = 0;
    for (int refused : {0, 49, 99, 301, -1, 58, 152, 177, 299}) {
        RegisterCallback(refused, &dummy1);
        EXPECT_EQ(Callback(refused), nullptr) << refused;
    }
    int accepted = 0;
    for (int i = -5; i < 400; ++i) accepted += SlotOf(i) >= 0;
    EXPECT_EQ(accepted, kSlotCount);

    RegisterCallback(30, &dummy1);
    RegisterCallback(30, &dummy2);
    EXPECT_EQ(Callback(30), &dummy2);
    EXPECT_EQ(Callback(31), nullptr);
    RegisterCallback(30, nullptr);
    EXPECT_EQ(Callback(30), nullptr);
    // Neighbouring numbers never share a slot.
    RegisterCallback(48, &dummy1);
    RegisterCallback(50, &dummy2);
    EXPECT_EQ(Callback(48), &dummy1);
    EXPECT_EQ(Callback(50), &dummy2);
    ClearCallbacks();
}

}  // namespace
