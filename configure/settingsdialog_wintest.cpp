// The settings dialog as a keyboard user meets it, under Wine: the modal dialog
// runs as Configure runs it, and a timer on the thread hands it one key after
// another as they would arrive (the dialog manager's loop takes them). Also
// its layout: every text fits its control, and it sits centred on its owner.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "configure/settingsdialog_ids.h"
#include "configure/settingsdialog_win.h"
#include "settings/logger.h"
#include "settings/wintest_util.h"

namespace {

using quilltest::ReadBytes;
using quilltest::TempFolder;
using quilltest::U16;
using quilltest::WriteBytes;

using Step = std::function<void(HWND dialog)>;
const std::vector<Step>* steps = nullptr;
size_t next = 0;

// One step each tick once the dialog is shown; after the last one, the close box.
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = FindWindowW(L"TfrmQuillmendexSettings", nullptr);
    if (!dialog || !IsWindowVisible(dialog) || !IsWindowEnabled(dialog)) return;
    if (next < steps->size())
        (*steps)[next++](dialog);
    else
        PostMessageW(dialog, WM_CLOSE, 0, 0);
}

struct Dialog {
    TempFolder folder;
    std::wstring ini = folder / L"Quillmendex.ini";
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 700, 500, nullptr,
                                 nullptr, nullptr, nullptr);
    explicit Dialog(const std::string& contents) { WriteBytes(ini, contents); }
    ~Dialog() { DestroyWindow(owner); }
    quill::SettingsDialogResult Run(const std::vector<Step>& script) {
        steps = &script;
        next = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, Tick);
        const quill::SettingsDialogResult result = quill::ShowSettingsDialog(owner, U16(ini));
        KillTimer(nullptr, timer);
        EXPECT_EQ(next, script.size());
        return result;
    }
};

// A key as it arrives at the control with the focus; Alt + letter as WM_SYSCHAR.
Step Key(WPARAM key) {
    return [key](HWND) { PostMessageW(GetFocus(), WM_KEYDOWN, key, 1); };
}
Step Alt(char letter) {
    return [letter](HWND) { PostMessageW(GetFocus(), WM_SYSCHAR, static_cast<WPARAM>(letter), 1 | (1 << 29)); };
}

TEST(SettingsDialog, KeysWorkAsInEveryWindowsDialog) {
    struct Case {
        const char* what;
        std::vector<Step> keys;
        bool saved;
        std::string after;
    };
    const std::string before = "[Settings]\r\nLogging=0\r\n";
    const Step tab = Key(VK_TAB);
    const Case cases[] = {
        {"Alt+K, Alt+T, then Enter", {Alt('k'), Alt('t'), Key(VK_RETURN)}, true,
         "[Settings]\r\nLogging=0\r\nKeepStringLiterals=1\r\nTabStops=1\r\n"},
        {"Alt+K, then Esc", {Alt('k'), Key(VK_ESCAPE)}, false, before},
        {"Alt+K, Tab to Cancel, then Enter: the focused button is pressed",
         {Alt('k'), tab, tab, tab, tab, tab, tab, Key(VK_RETURN)}, false, before},
        {"Alt+K, Tab to OK, then Enter", {Alt('k'), tab, tab, tab, tab, tab, Key(VK_RETURN)}, true,
         "[Settings]\r\nLogging=0\r\nKeepStringLiterals=1\r\n"},
        {"Alt+L switches the log on at once", {Alt('l'), Key(VK_RETURN)}, true, "[Settings]\r\nLogging=1\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Dialog d(before);
        quill::DisableLogging();
        const quill::SettingsDialogResult result = d.Run(c.keys);
        EXPECT_EQ(result.saved, c.saved);
        EXPECT_EQ(ReadBytes(d.ini), c.after);
        EXPECT_EQ(quill::IsLoggingEnabled(), result.loggingSwitchedOn);
        quill::DisableLogging();
    }
}

// The text a control shows, in its own font, in pixels.
SIZE TextSize(HWND control) {
    wchar_t text[512] = {};
    const int n = GetWindowTextW(control, text, 512);
    std::wstring shown;
    for (int i = 0; i < n; ++i)
        if (text[i] != L'&') shown += text[i];
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

TEST(SettingsDialog, EveryTextFitsAndTheDialogSitsCentredOnItsOwner) {
    Dialog d("");
    d.Run({[&](HWND dialog) {
        // The check box's square and the gap after it take about 16 pixels at 96 dpi.
        const struct {
            int id, besides;
        } texts[] = {{IDC_KEEPSTRINGLITERALS, 16}, {IDC_KEEPSTRINGLITERALS_LINE, 0}, {IDC_TABSTOPS, 16},
                     {IDC_TABSTOPS_LINE, 0},          {IDC_LOGGING, 16},             {IDC_LOGGING_LINE, 0},
                     {IDC_OPENFOLDER, 8},             {IDOK, 8},                     {IDCANCEL, 8}};
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        for (const auto& t : texts) {
            HWND control = GetDlgItem(dialog, t.id);
            RECT r = {};
            GetClientRect(control, &r);
            const SIZE text = TextSize(control);
            EXPECT_LE(text.cx + MulDiv(t.besides, dpi, 96), r.right) << t.id;
            EXPECT_LE(text.cy, r.bottom) << t.id;
        }
        // Nothing reaches past the dialog's client area, and nothing hidden takes room at its foot.
        RECT client = {}, ok = {};
        GetClientRect(dialog, &client);
        GetWindowRect(GetDlgItem(dialog, IDOK), &ok);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&ok), 2);
        EXPECT_GT(ok.bottom, client.bottom - 2 * (ok.bottom - ok.top));
        EXPECT_LE(ok.bottom, client.bottom);

        RECT owner = {}, self = {};
        GetWindowRect(d.owner, &owner);
        GetWindowRect(dialog, &self);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), d.owner);
        EXPECT_NEAR((self.left + self.right) / 2, (owner.left + owner.right) / 2, 1);
        EXPECT_NEAR((self.top + self.bottom) / 2, (owner.top + owner.bottom) / 2, 1);
    }});
}

}  // namespace
