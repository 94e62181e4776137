// The stand-in's last word (lastword_win.h). Everything a fault handler does is
// done with fixed buffers and direct system calls: the fault may have come from
// a broken heap, or with almost no stack left.
#include "quillhost/lastword_win.h"

#include <windows.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>

namespace quillhost::lastword {
namespace {

// A fixed buffer that text is appended to; what does not fit is cut.
struct Line {
    char text[1536];
    size_t n = 0;

    Line& Clear() {
        n = 0;
        text[0] = '\0';
        return *this;
    }

    Line& Add(const char* s) {
        while (s && *s && n + 1 < sizeof text) text[n++] = *s++;
        text[n] = '\0';
        return *this;
    }
    Line& Hex(uint64_t v, int digits) {
        char d[17];
        for (int i = digits - 1; i >= 0; --i, v >>= 4) d[i] = "0123456789ABCDEF"[v & 15];
        d[digits] = '\0';
        return Add(d);
    }
    Line& Dec(long long v) {
        char d[24];
        int i = 23;
        d[i] = '\0';
        const bool negative = v < 0;
        unsigned long long u = negative ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
        do d[--i] = static_cast<char>('0' + u % 10); while ((u /= 10) != 0);
        if (negative) d[--i] = '-';
        return Add(d + i);
    }
    // A JSON string: quotes, backslashes and control characters escaped; the
    // bytes are UTF-8 already.
    Line& Json(const char* s) {
        Add("\"");
        for (; s && *s; ++s) {
            const auto c = static_cast<unsigned char>(*s);
            if (c == '"' || c == '\\') {
                const char e[3] = {'\\', static_cast<char>(c), '\0'};
                Add(e);
            } else if (c < 0x20) {
                Add("\\u00").Hex(c, 2);
            } else {
                const char e[2] = {static_cast<char>(c), '\0'};
                Add(e);
            }
        }
        return Add("\"");
    }
};

// ---- what the run is doing -----------------------------------------------------

FullReport g_full = nullptr;
HANDLE g_file = INVALID_HANDLE_VALUE;
std::wstring g_path;
char g_export[64];        // the export running, with its argument: "OnMenuClick(5)"
int g_depth = 0;
char g_step[256];         // the --sequence step, UTF-8
char g_doing[64];         // the stand-in's own work, when no export runs
volatile LONG g_faults = 0;
bool g_complete = false;  // the complete report is written: nothing is written over it but a fault
// The first fault, kept for the complete report and for a second fault.
char g_fault[48];
char g_detail[1024];
char g_address[300];
char g_during[340];

// The lines of the fault path, kept off the stack (after a stack overflow
// 32-bit Wine leaves less than they need): a set for each of the two faults
// reported, and one for the unfaulted run.
Line& Scratch(int slot) {
    static Line lines[3][8];
    const LONG level = g_faults > 2 ? 2 : g_faults;
    return lines[level][slot].Clear();
}

void During(Line& l) {
    if (g_depth > 0) l.Add(g_export);
    else if (g_doing[0]) l.Add(g_doing);
    else l.Add("the stand-in, between exports");
}

void Copy(char* to, size_t size, const char* from) {
    size_t i = 0;
    for (; from && from[i] && i + 1 < size; ++i) to[i] = from[i];
    to[i] = '\0';
}

// Writes the text from the file's start and cuts the file there.
bool Put(const char* text, size_t n) {
    if (g_file == INVALID_HANDLE_VALUE) return false;
    if (SetFilePointer(g_file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    while (n > 0) {
        DWORD chunk = n > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n), written = 0;
        if (!WriteFile(g_file, text, chunk, &written, nullptr) || written == 0) return false;
        text += written;
        n -= written;
    }
    return SetEndOfFile(g_file) != 0;
}

// The small report: the fault (or "ended early" while the run is still going)
// and where the run was.
void PutSmall(const char* fault, const char* detail, const char* second) {
    if (g_file == INVALID_HANDLE_VALUE) return;
    Line& l = Scratch(0);
    l.Add("{\n \"fault\": ").Json(fault).Add(",\n \"fault_detail\": ").Json(detail);
    Line& during = Scratch(1);
    During(during);
    l.Add(",\n \"fault_during\": ").Json(g_fault[0] ? g_during : during.text);
    l.Add(",\n \"fault_step\": ").Json(g_step);
    if (g_address[0]) l.Add(",\n \"fault_address\": ").Json(g_address);
    if (second) l.Add(",\n \"fault_second\": ").Json(second);
    l.Add(",\n \"complete\": false\n}");
    Put(l.text, l.n);
}

const char kEndedEarly[] =
    "the stand-in ended before it finished: killed, or ended by Wine without a word (Wine ends a process with "
    "status 1 and nothing on stderr under WINEDEBUG=-all when an exception finds no stack left to be handled on)";

void PutUnfinished() {
    if (g_faults == 0 && !g_complete) PutSmall("ended early", kEndedEarly, nullptr);
}

void Say(const char* text) {
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (err == nullptr || err == INVALID_HANDLE_VALUE) return;
    Line& l = Scratch(2);
    l.Add("quillhost: ").Add(text).Add("\n");
    DWORD written = 0;
    WriteFile(err, l.text, static_cast<DWORD>(l.n), &written, nullptr);
}

const char* ExceptionName(DWORD code) {
    switch (code) {
        case EXCEPTION_ACCESS_VIOLATION: return "access violation";
        case EXCEPTION_STACK_OVERFLOW: return "stack overflow";
        case EXCEPTION_INT_DIVIDE_BY_ZERO: return "integer division by zero";
        case EXCEPTION_INT_OVERFLOW: return "integer overflow";
        case EXCEPTION_ILLEGAL_INSTRUCTION: return "illegal instruction";
        case EXCEPTION_PRIV_INSTRUCTION: return "privileged instruction";
        case EXCEPTION_BREAKPOINT: return "breakpoint";
        case EXCEPTION_ARRAY_BOUNDS_EXCEEDED: return "array bounds exceeded";
        case EXCEPTION_IN_PAGE_ERROR: return "in-page error";
        case EXCEPTION_NONCONTINUABLE_EXCEPTION: return "noncontinuable exception";
        case EXCEPTION_DATATYPE_MISALIGNMENT: return "datatype misalignment";
        case EXCEPTION_FLT_DIVIDE_BY_ZERO: return "floating-point division by zero";
        case EXCEPTION_FLT_INVALID_OPERATION: return "floating-point invalid operation";
        case 0xC0000374: return "heap corruption";
        case 0xC0000409: return "stack buffer overrun";
        case 0xC0000417: return "invalid C runtime parameter";
        case 0x20474343: return "C++ exception of GCC that nothing caught";
        case 0xE06D7363: return "C++ exception of MSVC that nothing caught";
        default: return "exception";
    }
}

// "Quillmendex.dll+0x1A2B", or the bare address outside every module.
void AddressText(Line& l, const void* address) {
    HMODULE module = nullptr;
    wchar_t path[MAX_PATH];
    if (address &&
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCWSTR>(address), &module) &&
        GetModuleFileNameW(module, path, MAX_PATH) > 0) {
        const wchar_t* name = path;
        for (const wchar_t* p = path; *p; ++p)
            if (*p == L'\\' || *p == L'/') name = p + 1;
        char narrow[MAX_PATH * 3];
        if (WideCharToMultiByte(CP_UTF8, 0, name, -1, narrow, sizeof narrow, nullptr, nullptr) <= 0)
            Copy(narrow, sizeof narrow, "?");
        const uint64_t offset = reinterpret_cast<uintptr_t>(address) - reinterpret_cast<uintptr_t>(module);
        int digits = 1;
        for (uint64_t v = offset >> 4; v; v >>= 4) ++digits;
        l.Add(narrow).Add("+0x").Hex(offset, digits);
        return;
    }
    l.Add("0x").Hex(reinterpret_cast<uintptr_t>(address), 16);
}

enum class Kind { Exception, Abort, Terminate };

[[noreturn]] void Fault(Kind kind, DWORD code, const void* address, const char* what) {
    const LONG n = InterlockedIncrement(&g_faults);
    if (n > 2) TerminateProcess(GetCurrentProcess(), 1);
    Line &fault = Scratch(3), &detail = Scratch(4), &place = Scratch(5);
    if (kind == Kind::Exception) {
        fault.Add("exception 0x").Hex(code, 8);
        AddressText(place, address);
        detail.Add(fault.text).Add(" (").Add(ExceptionName(code)).Add(") at ").Add(place.text);
    } else if (kind == Kind::Abort) {
        fault.Add("abort");
        detail.Add("abort() was called");
    } else {
        fault.Add("std::terminate");
        detail.Add("std::terminate was called in the stand-in");
        if (what && *what) detail.Add(" (").Add(what).Add(")");
    }
    Line& during = Scratch(6);
    During(during);
    detail.Add(g_depth > 0 ? " in the plug-in's export " : " during ").Add(during.text);
    if (g_step[0]) detail.Add(", step ").Add(g_step);
    if (n == 2) {
        // The first fault is reported already; the complete report was being
        // written, so the small one is written again over what it left.
        Line& second = Scratch(7);
        second.Add("a second fault, ").Add(detail.text).Add(", while the first was reported");
        Say(second.text);
        PutSmall(g_fault, g_detail, second.text);
        TerminateProcess(GetCurrentProcess(), 1);
    }
    Copy(g_fault, sizeof g_fault, fault.text);
    Copy(g_detail, sizeof g_detail, detail.text);
    Copy(g_address, sizeof g_address, place.text);
    Copy(g_during, sizeof g_during, during.text);
    Say(detail.text);
    PutSmall(g_fault, g_detail, nullptr);
    fflush(stdout);
    // After a stack overflow the complete report would need the stack that is
    // not there: the small one stays.
    if (g_full && !(kind == Kind::Exception && code == EXCEPTION_STACK_OVERFLOW)) {
        Copy(g_doing, sizeof g_doing, "writing the report after the fault");
        g_depth = 0;
        g_full(g_fault);
    }
    TerminateProcess(GetCurrentProcess(), 1);
    for (;;) Sleep(INFINITE);
}

// First chance, for a stack overflow: it is handled while the little stack
// that is left still holds (SetThreadStackGuarantee keeps some). And for an
// error while a fault is reported: 32-bit Wine gives an exception raised
// within the handling of another to no filter, and ends the process.
LONG CALLBACK OnFirstChance(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* rec = info ? info->ExceptionRecord : nullptr;
    if (rec && (rec->ExceptionCode == EXCEPTION_STACK_OVERFLOW || (g_faults > 0 && rec->ExceptionCode >= 0xC0000000)))
        Fault(Kind::Exception, rec->ExceptionCode, rec->ExceptionAddress, nullptr);
    return EXCEPTION_CONTINUE_SEARCH;
}

LONG WINAPI OnUnhandled(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* rec = info ? info->ExceptionRecord : nullptr;
    Fault(Kind::Exception, rec ? rec->ExceptionCode : 0, rec ? rec->ExceptionAddress : nullptr, nullptr);
}

void OnAbort(int) { Fault(Kind::Abort, 0, nullptr, nullptr); }

void OnTerminate() {
    static char what[256];
    try {
        if (std::exception_ptr e = std::current_exception()) std::rethrow_exception(e);
    } catch (const std::exception& e) {
        Copy(what, sizeof what, e.what());
    } catch (...) {
        Copy(what, sizeof what, "an exception that is no std::exception");
    }
    Fault(Kind::Terminate, 0, nullptr, what);
}

}  // namespace

void Install(FullReport full) {
    g_full = full;
    ULONG guarantee = 64 * 1024;
    SetThreadStackGuarantee(&guarantee);
    AddVectoredExceptionHandler(1, OnFirstChance);
    SetUnhandledExceptionFilter(OnUnhandled);
    signal(SIGABRT, OnAbort);
    std::set_terminate(OnTerminate);
}

void Begin(const std::wstring* reportPath) {
    if (!reportPath) return;
    g_path = *reportPath;
    g_file = CreateFileW(reportPath->c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    PutUnfinished();
}

void Enter(const char* exportName, const long long* arg) {
    ++g_depth;
    Line l;
    l.Add(exportName);
    if (arg) l.Add("(").Dec(*arg).Add(")");
    Copy(g_export, sizeof g_export, l.text);
    // Hundreds of these come at start; the steps around them say enough.
    if (strcmp(exportName, "RegisterCallback") != 0 && strcmp(exportName, "CreateMenuItem") != 0) PutUnfinished();
}

void Leave() {
    if (g_depth > 0) --g_depth;
}

void Step(const std::wstring& step) {
    if (WideCharToMultiByte(CP_UTF8, 0, step.c_str(), -1, g_step, sizeof g_step, nullptr, nullptr) <= 0)
        g_step[0] = '\0';
    g_doing[0] = '\0';
    PutUnfinished();
}

void Doing(const char* what) {
    Copy(g_doing, sizeof g_doing, what);
    PutUnfinished();
}

bool WriteReport(const std::string& text) {
    if (g_file == INVALID_HANDLE_VALUE) return false;
    g_complete = Put(text.data(), text.size());
    return true;
}

void AddTo(nlohmann::ordered_json& report) {
    if (g_fault[0]) {
        report["fault_detail"] = g_detail;
        report["fault_during"] = g_during;
        report["fault_step"] = g_step;
        if (g_address[0]) report["fault_address"] = g_address;
    }
    report["complete"] = true;
}

void Discard() {
    if (g_file == INVALID_HANDLE_VALUE) return;
    CloseHandle(g_file);
    g_file = INVALID_HANDLE_VALUE;
    DeleteFileW(g_path.c_str());
}

}  // namespace quillhost::lastword
