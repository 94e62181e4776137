// The stand-in's window for people: the editor filling the window.
#include "quillhost/host_win.h"

namespace quillhost {

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            if (g.edit) MoveWindow(g.edit, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
            return 0;
        case WM_COMMAND:
            if (HIWORD(wp) == 0 && LOWORD(wp) >= 1000) {
                g.Click(static_cast<int32_t>(LOWORD(wp)) - 1000);
                return 0;
            }
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void Host::OnButtonCreated(int32_t, const std::wstring&, const std::wstring&) {}

int Host::RunInteractive() {
    if (!CreateEditor(true) || !LoadInput()) return 2;
    for (const auto& step : Steps())
        if (step != L"OnDestroy") RunStep(step);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    RunStep(L"OnDestroy");
    return 0;
}

}  // namespace quillhost
