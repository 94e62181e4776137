/* A plug-in that ends the host in every way a plug-in can, for the tests of the
   stand-in's last word (tests/e2e/lastword_e2e.cpp): each menu item is one way.

     1  writes through a null pointer (access violation)
     2  calls abort()
     3  recurses until the stack is gone (stack overflow)
     4  raises an exception of its own that nothing catches
     5  writes through a null pointer, and does so again whenever the editor
        window is asked anything afterwards (it has subclassed the editor), so
        the host faults a second time while it reports the first
     6  ends the process at once with status 1, without a word
     7  faults with the stack pointer at the very end of the stack: Wine then
        has nowhere to handle the exception and ends the process itself, with
        status 1 and only a message of its own, hidden under WINEDEBUG=-all */
#include <windows.h>

#include <stdlib.h>

typedef int(__cdecl* HandleCallback)(void);

static HandleCallback hostGetEditorHandle;
static volatile int* volatile nowhere;
static volatile int stop;
static WNDPROC editorProc;

static int Deep(volatile char* above) {
    volatile char frame[4096];
    frame[0] = above[0];
    if (stop) return frame[0];
    return Deep(frame) + frame[1];
}

/* The lowest address of the thread's stack (the TEB's DeallocationStack). */
static char* StackEnd(void) {
    char* end;
#ifdef _WIN64
    __asm__("mov %%gs:0x1478, %0" : "=r"(end));
#else
    __asm__("mov %%fs:0xE0C, %0" : "=r"(end));
#endif
    return end;
}

static void FaultWithNoStackLeft(void) {
    char* sp = StackEnd() + 512;
#ifdef _WIN64
    __asm__ volatile("mov %0, %%rsp\n\tmovl $7, 0" : : "r"(sp) : "memory");
#else
    __asm__ volatile("mov %0, %%esp\n\tmovl $7, 0" : : "r"(sp) : "memory");
#endif
}

static LRESULT CALLBACK BrokenEditor(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    (void)hwnd; (void)msg; (void)wp; (void)lp;
    *nowhere = 2;
    return CallWindowProcW(editorProc, hwnd, msg, wp, lp);
}

__declspec(dllexport) const char* __cdecl IdentifyPlugIn(int id) {
    (void)id;
    return "Crash";
}

__declspec(dllexport) void __cdecl RegisterCallback(int index, void* address) {
    if (index == 33) hostGetEditorHandle = (HandleCallback)address;
}

__declspec(dllexport) const char* __cdecl CreateMenuItem(int index) {
    switch (index) {
        case 1: return "Edit / Crash / Access violation";
        case 2: return "Edit / Crash / abort";
        case 3: return "Edit / Crash / Stack overflow";
        case 4: return "Edit / Crash / Own exception";
        case 5: return "Edit / Crash / Twice";
        case 6: return "Edit / Crash / Silent end";
        case 7: return "Edit / Crash / No stack left";
        default: return "";
    }
}

__declspec(dllexport) void __cdecl OnMenuClick(int index) {
    volatile char start = 0;
    switch (index) {
        case 1: *nowhere = 1; break;
        case 2: abort();
        case 3: Deep(&start); break;
        case 4: RaiseException(0xE0001234, EXCEPTION_NONCONTINUABLE, 0, NULL); break;
        case 5: {
            HWND editor = hostGetEditorHandle ? (HWND)(INT_PTR)hostGetEditorHandle() : NULL;
            if (editor) editorProc = (WNDPROC)SetWindowLongPtrW(editor, GWLP_WNDPROC, (LONG_PTR)BrokenEditor);
            *nowhere = 1;
            break;
        }
        case 6: TerminateProcess(GetCurrentProcess(), 1); break;
        case 7: FaultWithNoStackLeft(); break;
        default: break;
    }
}

__declspec(dllexport) void __cdecl OnCreate(void) {}
__declspec(dllexport) void __cdecl OnActivate(void) {}
__declspec(dllexport) void __cdecl onWindowChange(void) {}
__declspec(dllexport) void __cdecl OnDestroy(void) {}
__declspec(dllexport) void __cdecl Configure(void) {}
__declspec(dllexport) const char* __cdecl About(void) { return NULL; }
