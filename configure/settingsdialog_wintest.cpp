// The settings dialog as a keyboard user meets it, under Wine: the tab order,
// Alt + letter, Enter and Esc through the dialog manager (IsDialogMessage, as
// the modal loop calls it), the system's dialog font, and its place over its owner.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "base/hosttext_win.h"
#include "configure/settingsdialog_win.h"
#include "settings/logger.h"
#include "settings/wintest_util.h"

namespace {

using quill::TfrmSettings;
using quilltest::ReadBytes;
using quilltest::TempFolder;
using quilltest::U16;
using quilltest::WriteBytes;

// What the dialog manager does with one key, as the modal loop hands it over.
void Key(TfrmSettings& form, UINT msg, WPARAM key) {
    MSG m = {};
    m.hwnd = GetFocus() ? GetFocus() : form.handle();
    m.message = msg;
    m.wParam = key;
    m.lParam = msg == WM_SYSCHAR ? (1 | (1 << 29)) : 1;
    EXPECT_TRUE(IsDialogMessageW(form.handle(), &m));
}

struct Dialog {
    TempFolder folder;
    std::wstring ini = folder / L"Quillmendex.ini";
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 700, 500, nullptr,
                                 nullptr, nullptr, nullptr);
    std::unique_ptr<TfrmSettings> form;
    explicit Dialog(const std::string& contents) {
        WriteBytes(ini, contents);
        form = std::make_unique<TfrmSettings>(owner, U16(ini));
        form->CenterOnOwner();
        ShowWindow(form->handle(), SW_SHOW);
        SetFocus(GetNextDlgTabItem(form->handle(), nullptr, FALSE));
    }
    ~Dialog() {
        form.reset();
        DestroyWindow(owner);
    }
};

TEST(SettingsDialog, TabVisitsTheControlsInReadingOrder) {
    Dialog d("[Settings]\r\n");
    TfrmSettings& f = *d.form;
    const HWND order[] = {f.chkKeepStringLiterals->handle(), f.chkTabStops->handle(), f.chkLogging->handle(),
                          f.edtSettingsFile->handle(), f.btnOpenFolder->handle(), f.btnOK.handle(),
                          f.btnCancel.handle(), f.chkKeepStringLiterals->handle()};
    EXPECT_EQ(GetFocus(), order[0]);
    for (size_t i = 1; i < std::size(order); ++i) {
        Key(f, WM_KEYDOWN, VK_TAB);
        EXPECT_EQ(GetFocus(), order[i]) << i;
    }
}

TEST(SettingsDialog, KeysWorkAsInEveryWindowsDialog) {
    struct Case {
        const char* what;
        std::vector<std::pair<UINT, WPARAM>> keys;
        int modalResult;
        std::string after;
    };
    const std::string before = "[Settings]\r\nLogging=0\r\n";
    const Case cases[] = {
        {"Alt+K, Alt+T, then Enter", {{WM_SYSCHAR, 'k'}, {WM_SYSCHAR, 't'}, {WM_KEYDOWN, VK_RETURN}}, IDOK,
         "[Settings]\r\nLogging=0\r\nKeepStringLiterals=1\r\nTabStops=1\r\n"},
        {"Alt+K, then Esc", {{WM_SYSCHAR, 'k'}, {WM_KEYDOWN, VK_ESCAPE}}, IDCANCEL, before},
        {"Alt+K, Tab to Cancel, then Enter: the focused button is pressed",
         {{WM_SYSCHAR, 'k'}, {WM_KEYDOWN, VK_TAB}, {WM_KEYDOWN, VK_TAB}, {WM_KEYDOWN, VK_TAB}, {WM_KEYDOWN, VK_TAB},
          {WM_KEYDOWN, VK_TAB}, {WM_KEYDOWN, VK_TAB}, {WM_KEYDOWN, VK_RETURN}},
         IDCANCEL, before},
        {"Alt+L switches the log on at once", {{WM_SYSCHAR, 'l'}, {WM_KEYDOWN, VK_RETURN}}, IDOK,
         "[Settings]\r\nLogging=1\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Dialog d(before);
        quill::DisableLogging();
        for (const auto& [msg, key] : c.keys) Key(*d.form, msg, key);
        EXPECT_EQ(d.form->ModalResult(), c.modalResult);
        EXPECT_EQ(ReadBytes(d.ini), c.after);
        EXPECT_EQ(quill::IsLoggingEnabled(), d.form->LoggingSwitchedOn());
        quill::DisableLogging();
    }
}

TEST(SettingsDialog, UsesTheDialogFontAndSitsCentredOnItsOwner) {
    Dialog d("");
    TfrmSettings& f = *d.form;
    EXPECT_EQ(GetWindow(f.handle(), GW_OWNER), d.owner);
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    for (HWND control : {f.chkTabStops->handle(), f.btnOK.handle(), f.edtSettingsFile->handle()}) {
        LOGFONTW font = {};
        ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font));
        EXPECT_STREQ(font.lfFaceName, metrics.lfMessageFont.lfFaceName);
        EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight);
    }
    RECT owner = {}, self = {};
    GetWindowRect(d.owner, &owner);
    GetWindowRect(f.handle(), &self);
    EXPECT_NEAR((self.left + self.right) / 2, (owner.left + owner.right) / 2, 1);
    EXPECT_NEAR((self.top + self.bottom) / 2, (owner.top + owner.bottom) / 2, 1);
    // Every check box's text fits on its line, whatever the font.
    for (quill::ui::CheckBox* check : {f.chkKeepStringLiterals, f.chkTabStops, f.chkLogging}) {
        const SIZE text = quill::ui::TextExtent(reinterpret_cast<HFONT>(SendMessageW(check->handle(), WM_GETFONT, 0, 0)),
                                                check->Text());
        EXPECT_LT(text.cx, check->Width());
    }
}

}  // namespace
