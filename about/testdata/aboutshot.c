/* Shows the About window of a Quillmendex.dll for scripts/screenshots-about.sh.
     aboutshot.exe PLUGIN.dll FOLDER [settings]
   Loads the DLL as PL/SQL Developer would (IdentifyPlugIn, CreateMenuItem), then
   calls About. While the window is open it writes FOLDER\labels.ready (the
   window's screen rectangle "left top right bottom") and waits for
   FOLDER\labels.done; then presses Info, lets the text rise for a while, writes
   FOLDER\scrolling.ready and waits for FOLDER\scrolling.done; then presses Close.
   With "settings" it calls Configure instead: FOLDER\settings.ready once the
   settings dialog has painted, then Cancel once FOLDER\settings.done exists.
   Gives up after a minute. Exit status 0 when every step was reached. */
#include <windows.h>

#include <stdio.h>
#include <wchar.h>

typedef const char*(__cdecl* IdentifyFn)(int);
typedef const char*(__cdecl* MenuFn)(int);
typedef const char*(__cdecl* AboutFn)(void);
typedef void(__cdecl* ConfigureFn)(void);

static wchar_t folder[MAX_PATH];
static int step = 0;
static DWORD since = 0;
static HWND about = NULL;
static int settings = 0; /* the settings dialog instead of the About window */

static void Path(wchar_t* out, const wchar_t* name) { swprintf(out, MAX_PATH, L"%ls\\%ls", folder, name); }

static int Exists(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    Path(path, name);
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

static void Ready(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    RECT r;
    char text[64];
    HANDLE file;
    DWORD n;
    Path(path, name);
    GetWindowRect(about, &r);
    n = (DWORD)snprintf(text, sizeof text, "%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    WriteFile(file, text, n, &n, NULL);
    CloseHandle(file);
}

static HWND found;
static BOOL CALLBACK FindButton(HWND hwnd, LPARAM caption) {
    wchar_t text[32];
    GetWindowTextW(hwnd, text, 32);
    if (lstrcmpW(text, (const wchar_t*)caption) == 0) {
        found = hwnd;
        return FALSE;
    }
    return TRUE;
}

static void Press(const wchar_t* caption) {
    found = NULL;
    EnumChildWindows(about, FindButton, (LPARAM)caption);
    if (found) SendMessageW(found, BM_CLICK, 0, 0);
}

static void CALLBACK Drive(HWND hwnd, UINT msg, UINT_PTR id, DWORD now) {
    (void)hwnd;
    (void)msg;
    (void)id;
    if (!about) {
        about = FindWindowW(settings ? L"TfrmQuillmendexSettings" : L"TfrmAbout", NULL);
        if (about) since = now;
        return;
    }
    if (settings) {
        if (step == 0 && now - since > 1500) {
            Ready(L"settings.ready");
            step = 1;
        } else if (step == 1 && Exists(L"settings.done")) {
            Press(L"Cancel");
            step = 4;
        }
        return;
    }
    switch (step) {
        case 0:  /* let it paint first */
            if (now - since > 1500) {
                Ready(L"labels.ready");
                step = 1;
            }
            break;
        case 1:
            if (Exists(L"labels.done")) {
                Press(L"Info");
                since = now;
                step = 2;
            }
            break;
        case 2:  /* about 160 pixels of rising text */
            if (now - since > 4000) {
                Ready(L"scrolling.ready");
                step = 3;
            }
            break;
        case 3:
            if (Exists(L"scrolling.done")) {
                Press(L"Close");
                step = 4;
            }
            break;
        default: break;
    }
}

static void CALLBACK GiveUp(HWND hwnd, UINT msg, UINT_PTR id, DWORD now) {
    (void)hwnd;
    (void)msg;
    (void)id;
    (void)now;
    if (about) PostMessageW(about, WM_CLOSE, 0, 0);
}

int wmain(int argc, wchar_t** argv) {
    HMODULE plugin;
    IdentifyFn identify;
    MenuFn menu;
    AboutFn show;
    ConfigureFn configure;
    if (argc != 3 && !(argc == 4 && lstrcmpW(argv[3], L"settings") == 0)) {
        fwprintf(stderr, L"usage: aboutshot PLUGIN.dll FOLDER [settings]\n");
        return 2;
    }
    settings = argc == 4;
    lstrcpynW(folder, argv[2], MAX_PATH);
    plugin = LoadLibraryW(argv[1]);
    if (!plugin) {
        fwprintf(stderr, L"aboutshot: cannot load %ls\n", argv[1]);
        return 2;
    }
    identify = (IdentifyFn)GetProcAddress(plugin, "IdentifyPlugIn");
    menu = (MenuFn)GetProcAddress(plugin, "CreateMenuItem");
    show = (AboutFn)GetProcAddress(plugin, "About");
    configure = (ConfigureFn)GetProcAddress(plugin, "Configure");
    if (!identify || !menu || !show || !configure) return 2;
    identify(1);
    menu(1);
    SetTimer(NULL, 0, 50, Drive);
    SetTimer(NULL, 0, 60000, GiveUp);
    if (settings)
        configure();
    else
        show();
    return step == 4 ? 0 : 1;
}
