#include <gtest/gtest.h>

#include <set>
#include <string>

#include "host/menu.h"

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

}  // namespace
