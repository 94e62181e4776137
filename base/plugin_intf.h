#pragma once
// The registry of the IDE's callbacks. PL/SQL Developer hands each service over
// as a numbered callback through RegisterCallback; each accepted number has a
// slot of its own, empty until registered. Nothing here calls a callback: the
// typed, checked calls are in callbacks_win.h.
#include <cstdint>

namespace quill::intf {

inline constexpr int kSlotCount = 173;

// The slot of an accepted callback index, or -1 for an index the IDE may not use.
int SlotOf(int32_t index) noexcept;

// Stores addr in the slot of index (a null addr empties it); refused indexes are dropped.
void RegisterCallback(int32_t index, void* addr) noexcept;

// The address last registered for index, or null.
void* Callback(int32_t index) noexcept;

// Empties every slot (for tests).
void ClearCallbacks() noexcept;

// Indexes of the callbacks the plug-in calls.
enum Index : int32_t {
    HostSettingsKey = 2,
    HostRootDir = 3,
    HostSetMenuState = 10,
    HostWindowType = 14,
    HostGetText = 30,
    HostGetSelectedText = 31,
    HostGetEditorHandle = 33,
    HostSetText = 34,
    HostGetCursorX = 141,
    HostGetCursorY = 142,
    HostSetCursor = 143,
    HostCreateToolButton = 150,
    HostGetPreference = 218,
};

// "HostGetText" for 30 and so on; null for an index the plug-in never calls.
const char* CallbackName(int32_t index) noexcept;

}  // namespace quill::intf
