#pragma once
// The plug-in's menu table: index, caption, tool-button bitmap and command.
#include <cstdint>
#include <span>

namespace quill::menu {

enum class Command { None, RemoveTrailingSpaces, ReplaceTabBySpaces, RemoveBlankLines, AddPair, RemovePair, About };

struct Item {
    int32_t index;
    const char* caption;  // null for a separator
    const char* menuText; // "Edit / Quillmendex / " + caption, or "Edit / Quillmendex / -"
    const char* bitmap;   // file name beside the DLL; null for a separator
    Command command;
    int pairKind;         // for AddPair and RemovePair
};

inline constexpr const char* kPluginName = "Quillmendex";

// Items the plug-in names outside the table: the first one (Remove trailing
// spaces), and the About item, which the About export runs as a click would.
inline constexpr int32_t kFirstItem = 1;
inline constexpr int32_t kAboutItem = 99;

// Every item of the table, in menu order (separators included).
std::span<const Item> Items() noexcept;

// The item of a menu index, or null when the index is not in the table.
const Item* Find(int32_t index) noexcept;

// The text CreateMenuItem returns: the item's menu text, or "" off the table.
const char* MenuText(int32_t index) noexcept;

}  // namespace quill::menu
