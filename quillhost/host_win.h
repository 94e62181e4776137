#pragma once
// State of the host stand-in: the loaded plug-in, the editor and what was recorded.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "quillhost/args.h"

namespace quillhost {

using json = nlohmann::ordered_json;

std::string Utf8(const std::wstring& w);

struct Exports {
    const char*(__cdecl* IdentifyPlugIn)(int32_t) = nullptr;
    void(__cdecl* RegisterCallback)(int32_t, void*) = nullptr;
    const char*(__cdecl* CreateMenuItem)(int32_t) = nullptr;
    void(__cdecl* OnCreate)() = nullptr;
    void(__cdecl* OnActivate)() = nullptr;
    void(__cdecl* OnMenuClick)(int32_t) = nullptr;
    void(__cdecl* onWindowChange)() = nullptr;
    void(__cdecl* OnDestroy)() = nullptr;
    void(__cdecl* Configure)() = nullptr;
    const char*(__cdecl* About)() = nullptr;
};

struct Host {
    Options opt;
    std::wstring rootDir;
    HMODULE module = nullptr;
    Exports ex;
    std::string missingExport;

    HWND main = nullptr, edit = nullptr, toolbar = nullptr;
    WNDPROC editProc = nullptr;
    int pluginDepth = 0;  // > 0 while an export runs
    int internal = 0;     // > 0 while the host itself talks to the editor
    bool undoableText = false;  // the window for people: HostSetText can be undone

    int32_t pluginId = 0;
    std::string pluginName;
    json menu = json::object();
    std::map<int32_t, std::wstring> menuTexts;
    json buttons = json::array();
    json calls = json::array();
    json exports = json::array();
    std::vector<double> exportMs;  // the time each export took, in the order of exports
    json aboutResult;
    bool aboutRan = false;  // the About step ran: the report gives aboutResult
    std::map<int32_t, int32_t> menuState;
    std::map<int, std::string> textResults;
    std::vector<std::wstring> messages, windows;
    std::set<HWND> handled;
    std::string fault;
    std::wstring initialText;
    json snapshots = json::array();
    size_t memoryBefore = 0;
    std::wstring unknownStep;

    bool Has(const std::vector<int32_t>& list, int32_t index) const;
    void Record(const std::string& name, json args, json result = nullptr);

    std::wstring EditorText() const;
    void SetEditorText(const std::wstring& text);
    std::pair<size_t, size_t> Selection() const;
    std::pair<int32_t, int32_t> Cursor() const;  // x = 1 + column, y = 1 + line
    void SetCursor(int32_t x, int32_t y);
    void AddButton(int32_t index, std::wstring caption, std::wstring bitmap);

    bool Load();
    template <class Fn, class... A>
    auto CallExport(const char* name, Fn fn, A... args);
    void Identify(int32_t id);
    void RegisterAll();
    void CreateMenuItem(int32_t index);
    void Click(int32_t index);
    void RunStep(const std::wstring& step);
    std::vector<std::wstring> Steps() const;

    bool CreateEditor(bool visible);
    std::wstring LoadInput();  // an error message, empty when the text is in
    void ApplyLimit();
    void ApplySelection();
    void ResetEditor();
    std::wstring WriteOutput();  // an error message, empty when written
    void WriteReport();
    void PrintSummary() const;
    int RunScripted();

    // The window for people (host_window_win.cpp).
    int RunInteractive();
    void OnButtonCreated(int32_t index, const std::wstring& caption, const std::wstring& bitmap);
};

extern Host g;

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace quillhost
