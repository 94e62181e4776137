/* A plug-in of the smallest kind, for the tests of the stand-in itself
   (tests/e2e/standin_e2e.cpp): its menu items ask the editor window and the
   host the things a test wants to see the answers to, and show what they got
   in a message box, which the stand-in records and closes.

     1  WM_GETTEXTLENGTH, WM_GETTEXT (a buffer of length + 1), EM_GETSEL and
        EM_GETLIMITTEXT to the editor of HostGetEditorHandle (callback 33)
     2  EM_REPLACESEL of "<", a lone high surrogate and ">"
     3  HostGetText (callback 30): its bytes in hex
     4  where the stack stood, modulo 16, when the host called OnMenuClick

   About answers the environment variable PROBE_ABOUT, or null without it. */
#define __USE_MINGW_ANSI_STDIO 1
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef const char*(__cdecl* TextCallback)(void);
typedef int(__cdecl* HandleCallback)(void);

static TextCallback hostGetText;
static HandleCallback hostGetEditorHandle;
static char aboutText[256];

static void Show(const char* text) { MessageBoxA(NULL, text, "Probe", MB_OK); }

static void ReadWindow(HWND editor) {
    const LRESULT length = SendMessageW(editor, WM_GETTEXTLENGTH, 0, 0);
    const size_t room = (size_t)(length > 0 ? length : 0) + 1;
    wchar_t* buffer = (wchar_t*)calloc(room + 1, sizeof(wchar_t));
    if (!buffer) return;
    buffer[0] = L'#';  /* shows whether anything was written at all */
    const LRESULT copied = SendMessageW(editor, WM_GETTEXT, (WPARAM)room, (LPARAM)buffer);
    DWORD start = 0xDEAD, end = 0xDEAD;
    const LRESULT answer = SendMessageW(editor, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    const LRESULT limit = SendMessageW(editor, EM_GETLIMITTEXT, 0, 0);
    char text[256];
    snprintf(text, sizeof text, "length %lld, copied %lld, first %04X, selection %lu %lu, answer %lld, limit %lld",
             (long long)length, (long long)copied, (unsigned)buffer[0], (unsigned long)start, (unsigned long)end,
             (long long)answer, (long long)limit);
    free(buffer);
    Show(text);
}

static void ShowHostText(void) {
    const char* got = hostGetText ? hostGetText() : NULL;
    char text[512] = "HostGetText:";
    if (!got) {
        strcat(text, " null");
    } else {
        const size_t n = strlen(got);
        for (size_t i = 0; i < n && i < 64; ++i) {
            char hex[4];
            snprintf(hex, sizeof hex, " %02X", (unsigned char)got[i]);
            strcat(text, hex);
        }
    }
    Show(text);
}

__declspec(dllexport) const char* __cdecl IdentifyPlugIn(int id) {
    (void)id;
    return "Probe";
}

__declspec(dllexport) void __cdecl RegisterCallback(int index, void* address) {
    if (index == 30) hostGetText = (TextCallback)address;
    if (index == 33) hostGetEditorHandle = (HandleCallback)address;
}

__declspec(dllexport) const char* __cdecl CreateMenuItem(int index) {
    switch (index) {
        case 1: return "Edit / Probe / Read the editor window";
        case 2: return "Edit / Probe / Insert a lone surrogate";
        case 3: return "Edit / Probe / Show HostGetText";
        case 4: return "Edit / Probe / Show the stack's alignment";
        default: return "";
    }
}

__declspec(dllexport) void __cdecl OnMenuClick(int index) {
    /* Above the frame: the saved frame pointer, the return address, then the
       host's stack as it was at the call. */
    const uintptr_t atCall = (uintptr_t)__builtin_frame_address(0) + 2 * sizeof(void*);
    char said[64];
    HWND editor = hostGetEditorHandle ? (HWND)(INT_PTR)hostGetEditorHandle() : NULL;
    switch (index) {
        case 1:
            if (editor) ReadWindow(editor);
            break;
        case 2:
            if (editor) SendMessageW(editor, EM_REPLACESEL, TRUE, (LPARAM)L"<\xD800>");
            break;
        case 3: ShowHostText(); break;
        case 4:
            snprintf(said, sizeof said, "stack at %u modulo 16", (unsigned)(atCall % 16));
            Show(said);
            break;
        default: break;
    }
}

__declspec(dllexport) const char* __cdecl About(void) {
    DWORD n = GetEnvironmentVariableA("PROBE_ABOUT", aboutText, sizeof aboutText);
    return n > 0 && n < sizeof aboutText ? aboutText : NULL;
}

__declspec(dllexport) void __cdecl OnCreate(void) {}
__declspec(dllexport) void __cdecl OnActivate(void) {}
__declspec(dllexport) void __cdecl onWindowChange(void) {}
__declspec(dllexport) void __cdecl OnDestroy(void) {}
__declspec(dllexport) void __cdecl Configure(void) {}
