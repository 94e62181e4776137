#include "base/plugin_intf.h"

#include <array>

namespace quill::intf {
namespace {

struct Range {
    int32_t first, last;
};

// The callback numbers of PL/SQL Developer's plug-in interface.
constexpr Range kAccepted[] = {
    {1, 48},    {50, 57},   {60, 85},   {90, 98},   {100, 113}, {120, 122}, {130, 135},
    {140, 151}, {153, 153}, {160, 162}, {165, 166}, {173, 176}, {178, 178}, {180, 180},
    {190, 192}, {200, 204}, {210, 221}, {230, 231}, {240, 247}, {250, 253}, {300, 300},
};

constexpr int CountSlots() {
    int n = 0;
    for (auto r : kAccepted) n += r.last - r.first + 1;
    return n;
}
static_assert(CountSlots() == kSlotCount);

std::array<void*, kSlotCount> slots{};

}  // namespace

int SlotOf(int32_t index) noexcept {
    int base = 0;
    for (auto r : kAccepted) {
        if (index >= r.first && index <= r.last) return base + (index - r.first);
        base += r.last - r.first + 1;
    }
    return -1;
}

void RegisterCallback(int32_t index, void* addr) noexcept {
    int slot = SlotOf(index);
    if (slot >= 0) slots[slot] = addr;
}

void* Callback(int32_t index) noexcept {
    int slot = SlotOf(index);
    return slot >= 0 ? slots[slot] : nullptr;
}

void ClearCallbacks() noexcept { slots.fill(nullptr); }

const char* CallbackName(int32_t index) noexcept {
    switch (index) {
        case HostSettingsKey: return "HostSettingsKey";
        case HostRootDir: return "HostRootDir";
        case HostSetMenuState: return "HostSetMenuState";
        case HostWindowType: return "HostWindowType";
        case HostGetText: return "HostGetText";
        case HostGetSelectedText: return "HostGetSelectedText";
        case HostGetEditorHandle: return "HostGetEditorHandle";
        case HostSetText: return "HostSetText";
        case HostGetCursorX: return "HostGetCursorX";
        case HostGetCursorY: return "HostGetCursorY";
        case HostSetCursor: return "HostSetCursor";
        case HostCreateToolButton: return "HostCreateToolButton";
        case HostGetPreference: return "HostGetPreference";
        default: return nullptr;
    }
}

}  // namespace quill::intf
