// quillhost.exe: plays PL/SQL Developer for the Quillmendex plug-in. It loads the
// DLL through its exports, registers real callbacks, holds the editor as a real
// multi-line EDIT control and records every callback call and every edit-control
// message the plug-in sends. Scripted runs write a JSON report; without --click,
// --out, --report or --sequence it opens a window for people (host_window_win.cpp).
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "quillhost/args.h"
#include "quillhost/dialogs_win.h"
#include "quillhost/editors_win.h"
#include "quillhost/host_win.h"
#include "quillhost/lastword_win.h"
#include "quillhost/stack_win.h"

namespace quillhost {

Host g;

namespace {

// ---- text helpers -------------------------------------------------------

std::string Narrow(const std::wstring& w, UINT cp) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Widen(const std::string& s, UINT cp) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

// Texts in the report: UTF-8; very long ones (editor texts of megabytes) are
// summarised, as --out carries the real text.
constexpr size_t kMaxRecordedText = 1 << 20;

json TextValue(const std::wstring& w) {
    if (w.size() > kMaxRecordedText) return "<" + std::to_string(w.size()) + " characters>";
    return Utf8(w);
}

json AnsiValue(const char* s) {
    if (!s) return nullptr;
    return TextValue(Widen(s, CP_ACP));
}

// ---- the editor -----------------------------------------------------------

// The host's own access to the editor is not recorded; only the plug-in's is.
struct Internal {
    Internal() { ++g.internal; }
    ~Internal() { --g.internal; }
    Internal(const Internal&) = delete;
    Internal& operator=(const Internal&) = delete;
};

// Timing runs: the next call recorded gets "ms", the time from here to the end
// of the scope (recording and the editor's own work included).
class Timed {
public:
    Timed() : index_(g.calls.size()) { QueryPerformanceCounter(&start_); }
    ~Timed() {
        LARGE_INTEGER end, frequency;
        QueryPerformanceCounter(&end);
        QueryPerformanceFrequency(&frequency);
        if (g.calls.size() <= index_) return;
        g.calls[index_]["ms"] =
            static_cast<double>(end.QuadPart - start_.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
    }
    Timed(const Timed&) = delete;
    Timed& operator=(const Timed&) = delete;

private:
    size_t index_;
    LARGE_INTEGER start_;
};

// What the control itself answers, past the recording and the faults.
LRESULT Control(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    return CallWindowProcW(g.editProc, hwnd, msg, wp, lp);
}

// The plug-in's WM_GETTEXT: recorded with the buffer size and the number of
// characters copied (never the text: it may be megabytes).
LRESULT PluginGetText(HWND hwnd, WPARAM size, LPARAM buffer) {
    Timed timed;
    const WindowFaults& f = g.opt.windowFaults;
    WPARAM room = size;
    if (f.shortText) {
        // A buffer of `length` characters takes at most length - 1 and the NUL.
        const auto length = static_cast<WPARAM>(Control(hwnd, WM_GETTEXTLENGTH));
        if (length > 0) room = std::min(room, length);
    }
    const LRESULT copied = Control(hwnd, WM_GETTEXT, room, buffer);
    if (f.nulText && copied > 0 && buffer) reinterpret_cast<wchar_t*>(buffer)[0] = L'\0';
    g.Record("WM_GETTEXT", json::array({static_cast<uint64_t>(size)}), static_cast<int64_t>(copied));
    return copied;
}

// The plug-in's EM_GETSEL: recorded with the start and end it was given.
LRESULT PluginGetSel(HWND hwnd, WPARAM startOut, LPARAM endOut) {
    DWORD s = 0, e = 0;
    LRESULT result = Control(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    const WindowFaults& f = g.opt.windowFaults;
    if (f.selOutside) e = static_cast<DWORD>(Control(hwnd, WM_GETTEXTLENGTH) + 5);
    if (f.selReversed) std::swap(s, e);
    if (f.selOutside || f.selReversed) {
        // Both words of the answer, or -1 when either does not fit in one.
        result = s > 0xFFFF || e > 0xFFFF ? -1 : static_cast<LRESULT>(MAKELONG(s, e));
    }
    if (startOut) *reinterpret_cast<DWORD*>(startOut) = s;
    if (endOut) *reinterpret_cast<DWORD*>(endOut) = e;
    g.Record("EM_GETSEL", json::array(), json::array({s, e}));
    return result;
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (g.pluginDepth == 0 || g.internal > 0) return Control(hwnd, msg, wp, lp);
    switch (msg) {
        case EM_SETSEL: {
            Timed timed;
            g.Record("EM_SETSEL", json::array({static_cast<int64_t>(static_cast<intptr_t>(wp)),
                                                static_cast<int64_t>(lp)}));
            return Control(hwnd, msg, wp, lp);
        }
        case EM_REPLACESEL: {
            Timed timed;
            g.Record("EM_REPLACESEL", json::array({static_cast<int64_t>(wp),
                                                    TextValue(lp ? reinterpret_cast<const wchar_t*>(lp) : L"")}));
            return Control(hwnd, msg, wp, lp);
        }
        case EM_GETSEL: return PluginGetSel(hwnd, wp, lp);
        case WM_GETTEXT: return PluginGetText(hwnd, wp, lp);
        case WM_GETTEXTLENGTH: {
            Timed timed;
            const LRESULT length = g.opt.windowFaults.zeroLength ? 0 : Control(hwnd, msg, wp, lp);
            g.Record("WM_GETTEXTLENGTH", json::array(), static_cast<int64_t>(length));
            return length;
        }
        case EM_GETLIMITTEXT: {
            const LRESULT limit = Control(hwnd, msg, wp, lp);
            g.Record("EM_GETLIMITTEXT", json::array(), static_cast<int64_t>(limit));
            return limit;
        }
        default: return Control(hwnd, msg, wp, lp);
    }
}

// ---- callbacks --------------------------------------------------------------

const char* TextResult(int index, std::string value) {
    if (g.Has(g.opt.nullText, index)) return nullptr;
    if (g.Has(g.opt.emptyText, index)) value.clear();
    std::string& slot = g.textResults[index];
    slot = std::move(value);
    return slot.c_str();
}

const char* __cdecl CbSettingsKey() {
    g.Record("HostSettingsKey", json::array());
    return TextResult(2, Narrow(g.opt.settingsKey, CP_ACP));
}

const char* __cdecl CbRootDir() {
    g.Record("HostRootDir", json::array());
    return TextResult(3, Narrow(g.rootDir, CP_ACP));
}

void __cdecl CbSetMenuState(int32_t id, int32_t index, int32_t enabled) {
    g.Record("HostSetMenuState", json::array({id, index, enabled}));
    g.menuState[index] = enabled;
}

int32_t __cdecl CbWindowType() {
    g.Record("HostWindowType", json::array());
    return g.opt.windowType;
}

const char* __cdecl CbGetText() {
    Timed timed;
    g.Record("HostGetText", json::array());
    Internal in;
    return TextResult(30, Narrow(g.EditorText(), CP_ACP));
}

const char* __cdecl CbGetSelectedText() {
    Timed timed;
    g.Record("HostGetSelectedText", json::array());
    Internal in;
    if (g.opt.editor == EditorKind::RichEdit) {
        std::wstring sel = RichSelectedText(g.edit);
        if (g.opt.selectedTextCrLf) sel = WithCrLf(sel);
        return TextResult(31, Narrow(sel, CP_ACP));
    }
    auto [s, e] = g.Selection();
    std::wstring text = g.EditorText();
    std::wstring sel = s < e && e <= text.size() ? text.substr(s, e - s) : std::wstring();
    return TextResult(31, Narrow(sel, CP_ACP));
}

int32_t __cdecl CbGetEditorHandle() {
    g.Record("HostGetEditorHandle", json::array());
    if (g.opt.editorHandle) return *g.opt.editorHandle;
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(g.edit));
}

void __cdecl CbSetText(const char* text) {
    Timed timed;
    g.Record("HostSetText", json::array({AnsiValue(text)}));
    Internal in;
    g.SetEditorText(text ? Widen(text, CP_ACP) : std::wstring());
}

int32_t __cdecl CbGetCursorX() {
    Timed timed;
    g.Record("HostGetCursorX", json::array());
    Internal in;
    return g.Cursor().first;
}

int32_t __cdecl CbGetCursorY() {
    Timed timed;
    g.Record("HostGetCursorY", json::array());
    Internal in;
    return g.Cursor().second;
}

void __cdecl CbSetCursor(int32_t x, int32_t y) {
    Timed timed;
    g.Record("HostSetCursor", json::array({x, y}));
    Internal in;
    g.SetCursor(x, y);
}

void __cdecl CbCreateToolButton(int32_t id, int32_t index, const char* caption, const char* bitmap, intptr_t handle) {
    g.Record("HostCreateToolButton",
             json::array({id, index, AnsiValue(caption), AnsiValue(bitmap), static_cast<int64_t>(handle)}));
    g.AddButton(index, caption ? Widen(caption, CP_ACP) : L"", bitmap ? Widen(bitmap, CP_ACP) : L"");
}

const char* __cdecl CbGetPreference(const char* name) {
    g.Record("HostGetPreference", json::array({AnsiValue(name)}));
    std::wstring key = name ? Widen(name, CP_ACP) : L"";
    std::wstring value;
    for (auto& [k, v] : g.opt.prefs)
        if (k == key) value = v;
    return TextResult(218, Narrow(value, CP_ACP));
}

// Callbacks the plug-in does not use: recorded by number, answer 0.
template <int N>
intptr_t __cdecl CbUnused() {
    g.Record("Callback" + std::to_string(N), json::array());
    return 0;
}

// The address the plug-in is given for a callback: called on the stack the
// host would give it.
template <auto Callback>
void* Given() {
    return reinterpret_cast<void*>(&HostStackCallback<Callback>::Call);
}

template <int... N>
std::array<void*, sizeof...(N)> MakeUnused(std::integer_sequence<int, N...>) {
    return {Given<&CbUnused<N>>()...};
}

void* CallbackAddress(int index) {
    static const auto unused = MakeUnused(std::make_integer_sequence<int, 301>{});
    switch (index) {
        case 2: return Given<&CbSettingsKey>();
        case 3: return Given<&CbRootDir>();
        case 10: return Given<&CbSetMenuState>();
        case 14: return Given<&CbWindowType>();
        case 30: return Given<&CbGetText>();
        case 31: return Given<&CbGetSelectedText>();
        case 33: return Given<&CbGetEditorHandle>();
        case 34: return Given<&CbSetText>();
        case 141: return Given<&CbGetCursorX>();
        case 142: return Given<&CbGetCursorY>();
        case 143: return Given<&CbSetCursor>();
        case 150: return Given<&CbCreateToolButton>();
        case 218: return Given<&CbGetPreference>();
        default: return unused[static_cast<size_t>(index)];
    }
}

// ---- windows the plug-in opens --------------------------------------------

BOOL CALLBACK CollectStatic(HWND child, LPARAM lp) {
    auto* texts = reinterpret_cast<std::wstring*>(lp);
    if (_wcsicmp(ClassOf(child).c_str(), L"Static") == 0) {
        std::wstring t = TextOf(child);
        if (!t.empty()) {
            if (!texts->empty()) texts->append(L"\n");
            texts->append(t);
        }
    }
    return TRUE;
}

BOOL CALLBACK CloseForeign(HWND hwnd, LPARAM) {
    if (hwnd == g.main || !IsWindowVisible(hwnd) || g.handled.count(hwnd)) return TRUE;
    if ((GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION) != WS_CAPTION) return TRUE;
    g.handled.insert(hwnd);
    const bool scripted = DialogOpened(hwnd);  // a --dialog acts on it instead of the rule below
    if (ClassOf(hwnd) == L"#32770") {
        std::wstring text;
        EnumChildWindows(hwnd, CollectStatic, reinterpret_cast<LPARAM>(&text));
        g.messages.push_back(text);
        if (!scripted) PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else {
        g.windows.push_back(TextOf(hwnd));
        if (!scripted) PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), CloseForeign, 0);
    DriveDialogs();
}

}  // namespace

// ---- Host -----------------------------------------------------------------------

std::string Utf8(const std::wstring& w) { return Narrow(w, CP_UTF8); }

bool Host::Has(const std::vector<int32_t>& list, int32_t index) const {
    for (int32_t n : list)
        if (n == index) return true;
    return false;
}

void Host::Record(const std::string& name, json args, json result) {
    if (pluginDepth == 0 && name.rfind("EM_", 0) == 0) return;
    json call = {{"name", name}, {"args", std::move(args)}};
    if (!result.is_null()) call["result"] = std::move(result);
    calls.push_back(std::move(call));
}

std::wstring Host::EditorText() const { return TextOf(edit); }

void Host::SetEditorText(const std::wstring& text) {
    if (undoableText) {  // the window for people: replace all, as an undoable edit
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        return;
    }
    SetWindowTextW(edit, text.c_str());
}

std::pair<size_t, size_t> Host::Selection() const {
    DWORD s = 0, e = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    return {s, e};
}

std::pair<int32_t, int32_t> Host::Cursor() const {
    auto [s, e] = Selection();
    (void)s;
    LRESULT line = SendMessageW(edit, EM_LINEFROMCHAR, e, 0);
    LRESULT start = SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    return {static_cast<int32_t>(e - static_cast<size_t>(start)) + 1, static_cast<int32_t>(line) + 1};
}

void Host::SetCursor(int32_t x, int32_t y) {
    LRESULT lines = SendMessageW(edit, EM_GETLINECOUNT, 0, 0);
    int64_t line = std::min<int64_t>(std::max<int64_t>(int64_t{y} - 1, 0), std::max<LRESULT>(lines, 1) - 1);
    LRESULT start = SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    LRESULT length = SendMessageW(edit, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
    int64_t column = std::min<int64_t>(std::max<int64_t>(int64_t{x} - 1, 0), length);
    WPARAM pos = static_cast<WPARAM>(start + column);
    SendMessageW(edit, EM_SETSEL, pos, static_cast<LPARAM>(pos));
}

void Host::AddButton(int32_t index, std::wstring caption, std::wstring bitmap) {
    buttons.push_back(json{{"index", index}, {"caption", Utf8(caption)}, {"bitmap", Utf8(bitmap)}});
    OnButtonCreated(index, caption, bitmap);
}

void Host::WriteReport() {
    if (!opt.report) return;
    json r;
#ifdef _WIN64
    r["architecture"] = "x64";
#else
    r["architecture"] = "x86";
#endif
    r["stack_alignment"] = StackAlignment();
    r["plugin_name"] = pluginName;
    r["plugin_id"] = pluginId;
    r["editor"] = EditorKindName(opt.editor);
    r["positions"] = Utf8(opt.positions.given);
    if (opt.selectedTextCrLf) r["selected_text"] = "crlf";
    r["menu"] = menu;
    r["buttons"] = buttons;
    r["calls"] = calls;
    r["exports"] = exports;
    r["export_ms"] = exportMs;
    if (aboutRan) r["about_result"] = aboutResult;
    r["menu_state"] = json::object();
    for (auto& [k, v] : menuState) r["menu_state"][std::to_string(k)] = v;
    if (edit) {
        Internal in;
        auto [s, e] = Selection();
        r["selection"] = {s, e};
        auto [x, y] = Cursor();
        r["cursor"] = {x, y};
        r["can_undo"] = SendMessageW(edit, EM_CANUNDO, 0, 0) != 0;
    }
    json msgs = json::array(), wins = json::array();
    for (auto& m : messages) msgs.push_back(Utf8(m));
    for (auto& w : windows) wins.push_back(Utf8(w));
    r["messages"] = msgs;
    r["windows"] = wins;
    r["opened_windows"] = OpenedWindows();
    r["ansi_code_page"] = GetACP();
    if (!snapshots.empty()) r["snapshots"] = snapshots;
    PROCESS_MEMORY_COUNTERS mem = {};
    mem.cb = sizeof mem;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &mem, sizeof mem)) {
        // Private bytes before the first export call and at their peak over the run.
        r["memory"] = {{"private_before_run", memoryBefore}, {"peak_private", mem.PeakPagefileUsage},
                       {"peak_working_set", mem.PeakWorkingSetSize}};
    }
    if (!fault.empty()) r["fault"] = fault;
    lastword::AddTo(r);
    const std::string text = r.dump(1, ' ', false, json::error_handler_t::replace);
    if (lastword::WriteReport(text)) return;
    std::ofstream f(std::filesystem::path(*opt.report), std::ios::binary);
    f << text;
}

// Calls one export, with the plug-in's own calls recorded.
template <class Fn, class... A>
auto Host::CallExport(const char* name, Fn fn, A... args) {
    exports.push_back(name);
    long long first = 0;  // what ran, for the last word should it not return
    if constexpr (sizeof...(A) > 0) first = static_cast<long long>(std::get<0>(std::make_tuple(args...)));
    lastword::Enter(name, sizeof...(A) > 0 ? &first : nullptr);
    ++pluginDepth;
    struct Leave {
        int& depth;
        LARGE_INTEGER start;
        ~Leave() {
            lastword::Leave();
            --depth;
            LARGE_INTEGER end, frequency;  // how long the export took, for timing runs
            QueryPerformanceCounter(&end);
            QueryPerformanceFrequency(&frequency);
            g.exportMs.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
                                 static_cast<double>(frequency.QuadPart));
        }
    } leave{pluginDepth, {}};
    QueryPerformanceCounter(&leave.start);
    return OnHostStack(fn, args...);
}

bool Host::Load() {
    module = LoadLibraryW(opt.plugin.c_str());
    if (!module) return false;
    auto get = [&](auto& fn, const char* name) {
        fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(
            reinterpret_cast<void*>(GetProcAddress(module, name)));
        if (!fn) missingExport = name;
        return fn != nullptr;
    };
    bool ok = true;
    ok &= get(ex.IdentifyPlugIn, "IdentifyPlugIn");
    ok &= get(ex.RegisterCallback, "RegisterCallback");
    ok &= get(ex.CreateMenuItem, "CreateMenuItem");
    ok &= get(ex.OnCreate, "OnCreate");
    ok &= get(ex.OnActivate, "OnActivate");
    ok &= get(ex.OnMenuClick, "OnMenuClick");
    ok &= get(ex.onWindowChange, "onWindowChange");
    ok &= get(ex.OnDestroy, "OnDestroy");
    ok &= get(ex.Configure, "Configure");
    ok &= get(ex.About, "About");
    return ok;
}

void Host::Identify(int32_t id) {
    pluginId = id;
    const char* name = CallExport("IdentifyPlugIn", ex.IdentifyPlugIn, id);
    pluginName = name ? Utf8(Widen(name, CP_ACP)) : "";
}

void Host::RegisterAll() {
    for (int index = 1; index <= 300; ++index) {
        if (Has(opt.unregister, index)) continue;
        CallExport("RegisterCallback", ex.RegisterCallback, index, CallbackAddress(index));
    }
}

void Host::CreateMenuItem(int32_t index) {
    const char* text = CallExport("CreateMenuItem", ex.CreateMenuItem, index);
    std::wstring w = text ? Widen(text, CP_ACP) : L"";
    if (!w.empty()) {
        menu[std::to_string(index)] = Utf8(w);
        menuTexts[index] = w;
    }
}

void Host::Click(int32_t index) { CallExport("OnMenuClick", ex.OnMenuClick, index); }

void Host::RunStep(const std::wstring& step) {
    std::wstring name = step, arg;
    if (auto at = step.find(L':'); at != std::wstring::npos) {
        name = step.substr(0, at);
        arg = step.substr(at + 1);
    }
    auto number = [&](int32_t fallback) {
        auto n = ParseInt32(arg);
        return n ? *n : fallback;
    };
    // "A:B" (or "A" alone) as the indexes A to B; nothing when either is no integer.
    auto range = [&]() -> std::pair<int64_t, int64_t> {
        std::wstring from = arg, to = arg;
        if (auto at = arg.find(L':'); at != std::wstring::npos) {
            from = arg.substr(0, at);
            to = arg.substr(at + 1);
        }
        auto a = ParseInt32(from), b = ParseInt32(to);
        if (!a || !b) return {0, -1};
        return {*a, *b};
    };
    if (name == L"IdentifyPlugIn") Identify(number(1));
    else if (name == L"RegisterAll") RegisterAll();
    else if (name == L"OnCreate") CallExport("OnCreate", ex.OnCreate);
    else if (name == L"CreateMenuItem") CreateMenuItem(number(1));
    else if (name == L"CreateMenuItems") for (int32_t i = 1; i <= 99; ++i) CreateMenuItem(i);
    else if (name == L"OnActivate") CallExport("OnActivate", ex.OnActivate);
    else if (name == L"onWindowChange") CallExport("onWindowChange", ex.onWindowChange);
    else if (name == L"OnMenuClick") Click(number(0));
    else if (name == L"Clicks") for (int32_t i : opt.clicks) Click(i);
    else if (name == L"Each") {
        // Every index from A to B on a fresh copy of the initial text and selection,
        // with a snapshot of the editor after each.
        const auto [a, b] = range();
        for (int64_t i = a; i <= b; ++i) {
            ResetEditor();
            const size_t messagesBefore = messages.size(), windowsBefore = windows.size();
            Click(static_cast<int32_t>(i));
            Internal in;
            auto [s, e] = Selection();
            json shown = json::array();
            for (size_t m = messagesBefore; m < messages.size(); ++m) shown.push_back(Utf8(messages[m]));
            json opened = json::array();
            for (size_t w = windowsBefore; w < windows.size(); ++w) opened.push_back(Utf8(windows[w]));
            snapshots.push_back(json{{"index", i}, {"text", TextValue(EditorText())}, {"selection", {s, e}},
                                     {"messages", shown}, {"windows", opened}});
        }
    }
    else if (name == L"Sweep") {
        const auto [a, b] = range();
        for (int64_t i = a; i <= b; ++i) Click(static_cast<int32_t>(i));
    } else if (name == L"Undo") {  // the user's Ctrl+Z in the editor, between exports
        Internal in;
        SendMessageW(edit, EM_UNDO, 0, 0);
    } else if (name == L"OnDestroy") CallExport("OnDestroy", ex.OnDestroy);
    else if (name == L"Configure") CallExport("Configure", ex.Configure);
    else if (name == L"About") {
        const char* text = CallExport("About", ex.About);
        aboutResult = text ? json(Utf8(Widen(text, CP_ACP))) : json(nullptr);
        aboutRan = true;
    } else {
        unknownStep = step;
    }
}

std::vector<std::wstring> Host::Steps() const {
    std::wstring seq = opt.sequence.value_or(
        L"IdentifyPlugIn:1,RegisterAll,OnCreate,CreateMenuItems,OnActivate,onWindowChange,Clicks,OnDestroy");
    std::vector<std::wstring> steps;
    size_t start = 0;
    while (start <= seq.size()) {
        size_t comma = seq.find(L',', start);
        if (comma == std::wstring::npos) comma = seq.size();
        if (comma > start) steps.push_back(seq.substr(start, comma - start));
        start = comma + 1;
    }
    return steps;
}

bool Host::CreateEditor(bool visible) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuillhostMain";
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&wc);
    main = CreateWindowExW(0, L"QuillhostMain", L"quillhost - PL/SQL Developer stand-in", WS_OVERLAPPEDWINDOW,
                           CW_USEDEFAULT, CW_USEDEFAULT, 900, 640, nullptr, nullptr, wc.hInstance, nullptr);
    if (!main) return false;
    edit = opt.editor != EditorKind::Edit
               ? CreateOtherEditor(opt.editor, main, wc.hInstance)
               : CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                     ES_AUTOHSCROLL | ES_NOHIDESEL | ES_WANTRETURN,
                                 0, 0, 800, 500, main, reinterpret_cast<HMENU>(1), wc.hInstance, nullptr);
    if (!edit) return false;
    // The default limit is 30,000 characters; PL/SQL sources are often larger.
    SendMessageW(edit, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    editProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
    if (visible) ShowWindow(main, SW_SHOW);
    return true;
}

namespace {

std::optional<std::string> ReadBytes(const std::wstring& path) {
    std::ifstream f(std::filesystem::path(path), std::ios::binary);
    if (!f) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream f(std::filesystem::path(path), std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

// A UTF-8 file's bytes as the editor's text, exactly, or an error message. A
// leading byte-order mark is skipped. The system's conversion refuses every
// byte sequence that is not UTF-8 (overlong forms, encoded surrogates, cut-off
// sequences, stray continuation bytes, code points past U+10FFFF); a NUL is
// refused here, as the edit control ends its text at the first one.
std::wstring FromUtf8File(const std::wstring& path, std::string bytes, std::wstring& text) {
    size_t from = bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    if (auto nul = bytes.find('\0', from); nul != std::string::npos)
        return path + L" holds a NUL (byte " + std::to_wstring(nul) + L"), which the editor cannot hold";
    const size_t size = bytes.size() - from;
    if (size > 0x7FFFFFFF) return path + L" is too large";
    text.clear();
    if (size == 0) return {};
    const char* data = bytes.data() + from;
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, data, static_cast<int>(size), nullptr, 0);
    if (n <= 0) return path + L" is not UTF-8 text (it holds a byte sequence that UTF-8 does not allow)";
    text.resize(static_cast<size_t>(n));
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, data, static_cast<int>(size), text.data(), n);
    return {};
}

}  // namespace

std::wstring Host::LoadInput() {
    if (!opt.in && !opt.inUtf8) return {};
    const std::wstring& path = opt.in ? *opt.in : *opt.inUtf8;
    std::optional<std::string> bytes = ReadBytes(path);
    if (!bytes) return L"cannot read " + path;
    if (opt.in) {
        initialText = Widen(*bytes, CP_ACP);
    } else if (std::wstring error = FromUtf8File(path, std::move(*bytes), initialText); !error.empty()) {
        return error;
    }
    Internal in;
    SetEditorText(initialText);
    SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    return {};
}

void Host::ApplyLimit() {
    if (!opt.limitText) return;
    Internal in;
    SendMessageW(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(*opt.limitText), 0);
}

void Host::ApplySelection() {
    if (!opt.select) return;
    Internal in;
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(static_cast<intptr_t>(opt.select->first)),
                 static_cast<LPARAM>(opt.select->second));
}

void Host::ResetEditor() {
    Internal in;
    SetEditorText(initialText);
    SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageW(edit, EM_SETSEL, 0, 0);
    ApplySelection();
}

std::wstring Host::WriteOutput() {
    if (!opt.out && !opt.outUtf8) return {};
    Internal in;
    const std::wstring text = EditorText();
    if (opt.out && !WriteBytes(*opt.out, Narrow(text, CP_ACP))) return L"cannot write " + *opt.out;
    // A lone surrogate becomes U+FFFD.
    if (opt.outUtf8 && !WriteBytes(*opt.outUtf8, Utf8(text))) return L"cannot write " + *opt.outUtf8;
    return {};
}

void Host::PrintSummary() const {
    printf("plug-in: %s (id %d)\n", pluginName.c_str(), pluginId);
    for (auto& [index, text] : menuTexts) printf("menu %3d: %s\n", index, Utf8(text).c_str());
    for (auto& b : buttons)
        printf("button %3d: %s  [%s]\n", b["index"].get<int>(), b["caption"].get<std::string>().c_str(),
               b["bitmap"].get<std::string>().c_str());
    for (auto& m : messages) printf("message box: %s\n", Utf8(m).c_str());
    for (auto& w : windows) printf("window: %s\n", Utf8(w).c_str());
    fflush(stdout);
}

int Host::RunScripted() {
    lastword::Doing("setting up the editor");
    if (!CreateEditor(false)) {
        fwprintf(stderr, L"quillhost: cannot create the editor window\n");
        return 2;
    }
    if (std::wstring error = LoadInput(); !error.empty()) {
        fwprintf(stderr, L"quillhost: %ls\n", error.c_str());
        return 2;
    }
    ApplyLimit();
    ApplySelection();
    PROCESS_MEMORY_COUNTERS before = {};
    before.cb = sizeof before;
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    memoryBefore = before.PagefileUsage;
    SetTimer(nullptr, 0, 10, Watch);
    lastword::Begin(opt.report ? &*opt.report : nullptr);
    for (const auto& step : Steps()) {
        lastword::Step(step);
        RunStep(step);
    }
    if (!unknownStep.empty()) {
        lastword::Discard();
        fwprintf(stderr, L"quillhost: unknown step %ls in --sequence\n", unknownStep.c_str());
        return 2;
    }
    lastword::Doing("writing the report");
    WriteReport();
    lastword::Doing("writing the output");
    PrintSummary();
    if (std::wstring error = WriteOutput(); !error.empty()) {
        fwprintf(stderr, L"quillhost: %ls\n", error.c_str());
        return 2;
    }
    return 0;
}

}  // namespace quillhost

int wmain(int argc, wchar_t** argv) {
    using namespace quillhost;
    std::vector<std::wstring> args(argv + 1, argv + argc);
    ParseResult parsed = ParseArgs(args);
    if (!parsed.options) {
        fwprintf(stderr, L"quillhost: %ls\n%ls", parsed.error.c_str(), Usage());
        return 2;
    }
    g.opt = std::move(*parsed.options);
    if (g.opt.stackAlign) SetStackAlignment(*g.opt.stackAlign);
    for (auto& [name, value] : g.opt.env) SetEnvironmentVariableW(name.c_str(), value.c_str());
    if (g.opt.root) {
        g.rootDir = *g.opt.root;
    } else {
        wchar_t exe[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        g.rootDir = exe;
        g.rootDir.erase(g.rootDir.find_last_of(L'\\') + 1);
    }
    // From here on a scripted run never ends without a word (lastword_win.h),
    // even when the plug-in faults as it is loaded.
    if (!g.opt.interactive()) {
        lastword::Install([](const char* fault) {
            g.fault = fault;
            g.WriteReport();
        });
        lastword::Doing("loading the plug-in");
    }
    if (!g.Load()) {
        if (!g.module)
            fwprintf(stderr, L"quillhost: cannot load %ls (error %lu)\n", g.opt.plugin.c_str(), GetLastError());
        else
            fwprintf(stderr, L"quillhost: the plug-in lacks the export %hs\n", g.missingExport.c_str());
        return 2;
    }
    return g.opt.interactive() ? g.RunInteractive() : g.RunScripted();
}
