// The plug-in's exported functions, named by Quillmendex.def. Each is thin: it
// calls inside and stops every error in one guard, so nothing is ever thrown
// into PL/SQL Developer. The order in which the IDE calls them is in plugin_win.h.
#include <windows.h>

#include <cstdint>

#include "base/error.h"
#include "host/menu.h"
#include "base/plugin_intf.h"
#include "host/plugin_win.h"

namespace {

enum class OnError { Tell, Quiet };

// Runs body; an error that the user must learn of is shown in a message box,
// one that is to stay silent (at start, at the end, for tool buttons) is dropped.
template <class Body>
void Guard(OnError policy, Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        const std::u16string text = quill::CurrentErrorText();
        if (policy == OnError::Tell && !text.empty()) quill::plugin::ShowMessage(text);
    }
}

}  // namespace

extern "C" {

const char* __cdecl IdentifyPlugIn(int32_t id) { return quill::plugin::IdentifyPlugIn(id); }

void __cdecl RegisterCallback(int32_t index, void* addr) { quill::intf::RegisterCallback(index, addr); }

const char* __cdecl CreateMenuItem(int32_t index) {
    Guard(OnError::Quiet, [&] { quill::plugin::InitializeForMenuRequest(index); });
    return quill::menu::MenuText(index);
}

void __cdecl OnCreate() {}

void __cdecl OnActivate() {
    Guard(OnError::Quiet, [] { quill::plugin::OnActivate(); });
}

void __cdecl OnMenuClick(int32_t index) {
    Guard(OnError::Tell, [&] { quill::plugin::OnMenuClick(index); });
}

void __cdecl onWindowChange() {
    Guard(OnError::Quiet, [] { quill::plugin::OnWindowChange(); });
}

void __cdecl OnDestroy() {
    Guard(OnError::Quiet, [] { quill::plugin::OnDestroy(); });
}

void __cdecl Configure() {
    Guard(OnError::Tell, [] { quill::plugin::Configure(); });
}

const char* __cdecl About() {
    // A click on the About item: the same window, and the same line in the log.
    Guard(OnError::Tell, [] { quill::plugin::OnMenuClick(quill::menu::kAboutItem); });
    return "";
}

}  // extern "C"
