#include "base/callbacks_win.h"

#include "base/convert.h"
#include "base/error.h"
#include "base/plugin_intf.h"
#include "base/hosttext_win.h"

namespace quill::host {
namespace {

// Every callback uses the C calling convention.
using TextFn = const char*(__cdecl*)();
using TextArgFn = const char*(__cdecl*)(const char*);
using IntFn = int32_t(__cdecl*)();
using VoidTextFn = void(__cdecl*)(const char*);
using MenuStateFn = void(__cdecl*)(int32_t, int32_t, int32_t);
using SetCursorFn = void(__cdecl*)(int32_t, int32_t);
using ToolButtonFn = void(__cdecl*)(int32_t, int32_t, const char*, const char*, intptr_t);

template <class Fn>
Fn Require(int32_t index) {
    void* addr = intf::Callback(index);
    if (!addr) {
        throw Error(u"PL/SQL Developer did not provide the service " + Utf8ToUtf16(intf::CallbackName(index)) +
                    u" (callback " + Utf8ToUtf16(std::to_string(index)) + u") that this command needs.");
    }
    return reinterpret_cast<Fn>(addr);
}

constexpr int32_t kTrue = -1;

std::string Bytes(const char* text) { return text ? std::string(text) : std::string(); }
std::string_view View(const char* text) { return text ? std::string_view(text) : std::string_view(); }

}  // namespace

std::u16string SettingsKey() { return FromAnsi(Require<TextFn>(intf::HostSettingsKey)()); }

std::string RootDir() { return Bytes(Require<TextFn>(intf::HostRootDir)()); }

void SetMenuState(int32_t pluginId, int32_t index, bool enabled) {
    Require<MenuStateFn>(intf::HostSetMenuState)(pluginId, index, enabled ? kTrue : 0);
}

int32_t WindowType() { return Require<IntFn>(intf::HostWindowType)(); }
std::string_view GetText() { return View(Require<TextFn>(intf::HostGetText)()); }
std::string_view GetSelectedText() { return View(Require<TextFn>(intf::HostGetSelectedText)()); }
bool HasEditorHandle() noexcept { return intf::Callback(intf::HostGetEditorHandle) != nullptr; }
int32_t GetEditorHandle() { return Require<IntFn>(intf::HostGetEditorHandle)(); }
void SetText(const char* text) { Require<VoidTextFn>(intf::HostSetText)(text); }
int32_t GetCursorX() { return Require<IntFn>(intf::HostGetCursorX)(); }
int32_t GetCursorY() { return Require<IntFn>(intf::HostGetCursorY)(); }
void SetCursor(int32_t x, int32_t y) { Require<SetCursorFn>(intf::HostSetCursor)(x, y); }

void CreateToolButton(int32_t pluginId, int32_t index, const char* caption, const char* bitmap) {
    Require<ToolButtonFn>(intf::HostCreateToolButton)(pluginId, index, caption, bitmap, 0);
}

std::u16string GetPreference(const char* name) {
    return FromAnsi(Require<TextArgFn>(intf::HostGetPreference)(name));
}

}  // namespace quill::host
