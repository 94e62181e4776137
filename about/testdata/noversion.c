/* A DLL with nothing in it: no version resource. The version-text tests load it
   (and, with unicodetable.rc, a DLL whose only string table is 040904B0). */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
