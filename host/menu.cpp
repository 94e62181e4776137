#include "host/menu.h"

namespace quill::menu {
namespace {

#define QM_PREFIX "Edit / Quillmendex / "
#define QM_ITEM(idx, cap, bmp, cmd, kind) \
    Item { idx, "[Quillmendex] " cap, QM_PREFIX "[Quillmendex] " cap, bmp, Command::cmd, kind }
#define QM_SEPARATOR(idx) \
    Item { idx, nullptr, QM_PREFIX "-", nullptr, Command::None, 0 }

constexpr Item kItems[] = {
    QM_ITEM(1, "Remove trailing spaces", "btn_quillmendex_removetrailingspaces.bmp", RemoveTrailingSpaces, 0),
    QM_ITEM(2, "Replace tab by spaces", "btn_quillmendex_tab2space.bmp", ReplaceTabBySpaces, 0),
    QM_ITEM(3, "Remove blank lines", "btn_quillmendex_removeblanklines.bmp", RemoveBlankLines, 0),
    QM_SEPARATOR(4),
    QM_ITEM(5, "Add () around selection", "btn_quillmendex_add().bmp", AddPair, 0),
    QM_ITEM(6, "Add [] around selection", "btn_quillmendex_add[].bmp", AddPair, 1),
    QM_ITEM(7, "Add {} around selection", "btn_quillmendex_add{}.bmp", AddPair, 2),
    QM_ITEM(8, "Add quotes around selection", "btn_quillmendex_addquotes.bmp", AddPair, 3),
    QM_ITEM(9, "Add \"\" around selection", "btn_quillmendex_adddoublequotes.bmp", AddPair, 4),
    QM_ITEM(10, "Remove () around selection", "btn_quillmendex_remove().bmp", RemovePair, 0),
    QM_ITEM(11, "Remove [] around selection", "btn_quillmendex_remove[].bmp", RemovePair, 1),
    QM_ITEM(12, "Remove {} around selection", "btn_quillmendex_remove{}.bmp", RemovePair, 2),
    QM_ITEM(13, "Remove quotes around selection", "btn_quillmendex_removequotes.bmp", RemovePair, 3),
    QM_ITEM(14, "Remove \"\" around selection", "btn_quillmendex_removedoublequotes.bmp", RemovePair, 4),
    QM_SEPARATOR(98),
    QM_ITEM(99, "About", "btn_about.bmp", About, 0),
};

}  // namespace

std::span<const Item> Items() noexcept { return kItems; }

const Item* Find(int32_t index) noexcept {
    for (const Item& item : kItems)
        if (item.index == index) return &item;
    return nullptr;
}

const char* MenuText(int32_t index) noexcept {
    const Item* item = Find(index);
    return item ? item->menuText : "";
}

}  // namespace quill::menu
