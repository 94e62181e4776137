// The About window under Wine, driven while it is modal: a timer on the thread
// finds the window once it is shown, sends it real messages (button clicks,
// mouse-downs, timer ticks), checks what they did, and presses Close.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <regex>

#include "about/about_win.h"
#include "about/abouttext.h"
#include "about/frmabout_win.h"
#include "settings/logger.h"
#include "base/hosttext_win.h"
#include "settings/settings_win.h"
#include "settings/wintest_util.h"
#include "base/convert.h"

namespace {

using quill::TfrmAbout;
using quilltest::Exists;
using quilltest::U16;
using quilltest::ReadBytes;
using quilltest::TempFolder;
namespace ui = quill::ui;

std::string U8(const std::u16string& s) { return quill::Utf16ToUtf8(s); }

// A shown window of the class on this thread (tests in other processes may have their own).
HWND ShownWindowOfClass(const wchar_t* cls) {
    struct Search {
        const wchar_t* cls;
        HWND found;
    } search{cls, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        +[](HWND hwnd, LPARAM lp) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            wchar_t name[64] = {};
            GetClassNameW(hwnd, name, 64);
            if (lstrcmpW(name, s->cls) == 0 && IsWindowVisible(hwnd)) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Runs show() (which opens the window modally); once the window is up, script
// runs inside its message loop, then Close is pressed unless the script closed it.
struct Drive {
    std::function<void(HWND)> script;
    bool close = true;  // false: the script makes the window close by itself
    bool ran = false, gaveUp = false;
    UINT_PTR step = 0, giveUp = 0;
};
Drive* drive = nullptr;

void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD) {
    HWND hwnd = ShownWindowOfClass(TfrmAbout::kClassName);
    if (!hwnd || !drive || drive->ran) return;
    KillTimer(nullptr, drive->step);
    drive->ran = true;
    try {
        drive->script(hwnd);
    } catch (...) {
        ADD_FAILURE() << "the script raised an error";
    }
    if (drive->close && IsWindowVisible(hwnd)) PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND hwnd = ShownWindowOfClass(TfrmAbout::kClassName)) {
        if (drive) drive->gaveUp = true;
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
}

// Returns false when the window had to be closed because it stayed open too long.
bool WhileShown(const std::function<void()>& show, std::function<void(HWND)> script, bool close = true) {
    Drive d{std::move(script), close};
    drive = &d;
    d.step = SetTimer(nullptr, 0, 20, Step);
    d.giveUp = SetTimer(nullptr, 0, close ? 30000 : 3000, GiveUp);
    show();
    KillTimer(nullptr, d.step);
    KillTimer(nullptr, d.giveUp);
    drive = nullptr;
    EXPECT_TRUE(d.ran) << "the window was never shown";
    return !d.gaveUp;
}

void Click(const ui::Control& control) { SendMessageW(control.handle(), BM_CLICK, 0, 0); }
void Tick(TfrmAbout& form, int times = 1) {
    for (int i = 0; i < times; ++i) SendMessageW(form.handle(), WM_TIMER, form.tmAbout.id(), 0);
}
int ScrollPos(const TfrmAbout& form) { return GetScrollPos(form.sbAbout.handle(), SB_VERT); }

// The text colour the label's parent hands out for it, as Windows asks when painting.
COLORREF LabelColour(const ui::Control& label) {
    ui::MemoryDC dc(CreateCompatibleDC(nullptr));
    SendMessageW(GetParent(label.handle()), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                 reinterpret_cast<LPARAM>(label.handle()));
    return GetTextColor(dc.get());
}

// Whether a lies in front of b (both children of one parent).
bool InFront(const ui::Control& a, const ui::Control& b) {
    for (HWND h = GetWindow(GetParent(a.handle()), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (h == a.handle()) return true;
        if (h == b.handle()) return false;
    }
    return false;
}

class AboutWindow : public ::testing::Test {
protected:
    void SetUp() override {
        quill::DisableLogging();
        quill::SetLogFile(u"");
        ini = folder / L"Quillmendex.ini";
        quill::IniFileName = quill::ToAnsi(U16(ini));
        quill::ReadSettings();  // no file: defaults, logging off; the close writes them
    }
    void TearDown() override {
        quill::DisableLogging();
        quill::SetLogFile(u"");
        quill::IniFileName.clear();
    }
    bool Show(std::function<void(TfrmAbout&)> script, bool close = true) {
        return WhileShown([] { quill::ShowAboutWindow(); },
                          [&](HWND hwnd) {
                              TfrmAbout* form = TfrmAbout::FromHandle(hwnd);
                              ASSERT_NE(form, nullptr);
                              script(*form);
                          },
                          close);
    }
    TempFolder folder;
    std::wstring ini;
};

TEST_F(AboutWindow, OpensWithTheLabelsAndOnlyTheAboutPage) {
    Show([](TfrmAbout& form) {
        EXPECT_EQ(U8(form.Text()), "About Quillmendex");
        EXPECT_EQ(U8(form.lblAboutText1.Text()), "Quillmendex plug-in for PL/SQL Developer");
        EXPECT_EQ(form.lblAboutText2.Text(), quill::NoticeText(u"2010"));
        EXPECT_EQ(form.lblAboutText3.Text(), u"");  // this test program has no version resource
        EXPECT_EQ(form.InfoText().size(), 86u);
        EXPECT_EQ(form.InfoText()[6], std::u16string(41, u'/'));
        EXPECT_FALSE(form.AboutboxDisplayed());
        EXPECT_FALSE(form.tmAbout.Enabled());
        EXPECT_TRUE(InFront(form.pnlAboutText, form.pnlAboutScroll));
        EXPECT_FALSE(form.sbAbout.Visible());
        EXPECT_FALSE(form.mmAbout.Visible());
        EXPECT_TRUE(form.bbtnInfo.Visible());
        // The "Settings..." page and its frame are gone before the window shows.
        EXPECT_EQ(form.pcAboutSettings.PageCount(), 1);
        EXPECT_EQ(form.tsSettings, nullptr);
        EXPECT_EQ(form.fraSettings, nullptr);
        wchar_t caption[32] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = caption;
        item.cchTextMax = 32;
        SendMessageW(form.pcAboutSettings.handle(), TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(caption, L"About...");
        // Sizes of the design at 96 dpi.
        EXPECT_EQ(form.ClientWidth(), ui::Scale(429));
        EXPECT_EQ(form.ClientHeight(), ui::Scale(151));
        EXPECT_EQ(form.pnlButtons.Height(), ui::Scale(33));
        EXPECT_EQ(form.pcAboutSettings.Height(), ui::Scale(118));
        EXPECT_EQ(form.imgAboutPicture.Width(), ui::Scale(116));
        EXPECT_EQ(form.bbtnInfo.Width(), ui::Scale(77));
        EXPECT_EQ(form.bbtnClose.Width(), ui::Scale(76));
        EXPECT_LE(form.bbtnClose.Bounds().right, form.pnlButtons.ClientWidth());
        EXPECT_EQ(form.lblAboutText1.Bounds().right, form.pnlAboutText.ClientWidth() + ui::Scale(31));
        EXPECT_EQ(form.lblAboutText2.Bounds().right, form.pnlAboutText.ClientWidth() - ui::Scale(2));
        EXPECT_EQ(LabelColour(form.lblAboutText2), RGB(0, 0, 0));
        // A dialog frame with only the close box, centred, no owner.
        const LONG style = GetWindowLongW(form.handle(), GWL_STYLE);
        EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
        EXPECT_NE(style & WS_SYSMENU, 0);
        EXPECT_EQ(GetWindow(form.handle(), GW_OWNER), nullptr);
        EXPECT_NE(SendMessageW(form.handle(), WM_GETICON, ICON_SMALL, 0), 0);
        const RECT r = form.Bounds();
        EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
        EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    });
}

TEST_F(AboutWindow, InfoTwiceStopsAndAThirdTimeStartsAgainFromTheTop) {
    Show([](TfrmAbout& form) {
        Click(form.bbtnInfo);
        EXPECT_TRUE(form.AboutboxDisplayed());
        EXPECT_TRUE(form.tmAbout.Enabled());
        EXPECT_EQ(form.tmAbout.Interval(), 25u);
        EXPECT_TRUE(InFront(form.pnlAboutScroll, form.pnlAboutText));
        EXPECT_TRUE(form.sbAbout.Visible());
        EXPECT_TRUE(form.mmAbout.Visible());
        // 86 lines: 1376 pixels, and the scroll range with them.
        EXPECT_EQ(form.mmAbout.Height(), ui::Scale(1376));
        EXPECT_EQ(form.sbAbout.Range(), ui::Scale(1376));
        EXPECT_EQ(form.mmAbout.LineCount(), 87);  // each line ends with CR LF, so an empty last one follows
        // The scroll box reaches 22 pixels beyond the panel, so its bar is out of sight.
        EXPECT_EQ(form.sbAbout.Width(), form.pnlAboutScroll.Width() + ui::Scale(22));
        EXPECT_EQ(form.sbAbout.Height(), form.pnlAboutScroll.Height() + ui::Scale(22));
        EXPECT_EQ(form.mmAbout.Width(), form.sbAbout.Width());
        EXPECT_EQ(ScrollPos(form), 0);

        Tick(form, 30);
        EXPECT_EQ(ScrollPos(form), 30);
        EXPECT_EQ(form.mmAbout.Top(), -30);  // the text itself rose

        Click(form.bbtnInfo);
        EXPECT_FALSE(form.AboutboxDisplayed());
        EXPECT_FALSE(form.tmAbout.Enabled());
        EXPECT_FALSE(form.sbAbout.Visible());
        EXPECT_FALSE(form.mmAbout.Visible());
        EXPECT_TRUE(InFront(form.pnlAboutText, form.pnlAboutScroll));
        Tick(form, 5);  // a tick that was already queued changes nothing
        EXPECT_EQ(ScrollPos(form), 30);

        Click(form.bbtnInfo);
        EXPECT_TRUE(form.AboutboxDisplayed());
        EXPECT_EQ(ScrollPos(form), 0);
        EXPECT_EQ(form.mmAbout.Top(), 0);
        EXPECT_EQ(form.mmAbout.Height(), ui::Scale(1376));
    });
}

TEST_F(AboutWindow, PictureClickIsTheInfoButton) {
    Show([](TfrmAbout& form) {
        const HWND picture = form.imgAboutPicture.handle();
        SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        EXPECT_FALSE(form.AboutboxDisplayed());  // a click is down and up
        SendMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        EXPECT_TRUE(form.AboutboxDisplayed());
        EXPECT_TRUE(form.tmAbout.Enabled());
        EXPECT_EQ(form.mmAbout.Height(), ui::Scale(1376));
        SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        SendMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        EXPECT_FALSE(form.AboutboxDisplayed());

        form.DisableImageClick();
        EXPECT_FALSE(form.bbtnInfo.Visible());
        SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        SendMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        EXPECT_FALSE(form.AboutboxDisplayed());
        form.EnableImageClick();
        EXPECT_TRUE(form.bbtnInfo.Visible());
    });
}

TEST_F(AboutWindow, TextRisesOnePixelPerTickAndWrapsToTheTop) {
    Show([](TfrmAbout& form) {
        Click(form.bbtnInfo);
        const int range = form.sbAbout.Range(), outer = form.sbAbout.Height();
        ASSERT_EQ(range, ui::Scale(1376));
        int ticks = 0;
        while (ticks < 5000) {
            const int before = ScrollPos(form);
            Tick(form);
            ++ticks;
            if (ScrollPos(form) == 0) {
                EXPECT_EQ(before, range - outer - 1);
                break;
            }
            ASSERT_EQ(ScrollPos(form), before + 1);
        }
        // It went back on the tick that reached the range minus the box's outer height.
        EXPECT_EQ(ticks, range - outer);
        EXPECT_EQ(form.mmAbout.Top(), 0);
        Tick(form);
        EXPECT_EQ(ScrollPos(form), 1);
    });
}

TEST_F(AboutWindow, CtrlMouseDownOnTheFirstLabelSwitchesTheLog) {
    const std::wstring log = folder / L"Quillmendex.log";
    Show([&](TfrmAbout& form) {
        const HWND label = form.lblAboutText1.handle();
        // Without Ctrl, logging off: stays off, black, nothing written.
        SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 5));
        EXPECT_FALSE(quill::IsLoggingEnabled());
        EXPECT_EQ(LabelColour(form.lblAboutText2), RGB(0, 0, 0));
        EXPECT_FALSE(Exists(log));

        // Ctrl: on, the ".log" file beside the settings, red, one line with the date and time.
        SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(5, 5));
        EXPECT_TRUE(quill::IsLoggingEnabled());
        EXPECT_EQ(quill::GetLogFile(), U16(log));
        EXPECT_EQ(LabelColour(form.lblAboutText2), RGB(255, 0, 0));
        const std::string line = ReadBytes(log);
        EXPECT_TRUE(std::regex_match(line, std::regex(R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\] :\S.* \S+\r\n)"))) << line;

        // Ctrl with the right button, as the second of a double click: off, black, nothing more.
        SendMessageW(label, WM_RBUTTONDBLCLK, MK_RBUTTON | MK_CONTROL, MAKELPARAM(5, 5));
        EXPECT_FALSE(quill::IsLoggingEnabled());
        EXPECT_EQ(LabelColour(form.lblAboutText2), RGB(0, 0, 0));
        EXPECT_EQ(ReadBytes(log), line);
    });
    // The switch is not stored in the settings file.
    EXPECT_EQ(ReadBytes(ini).find("Logging"), std::string::npos);
}

TEST_F(AboutWindow, LoggingOnFromTheSettingsMovesToTheLogFileOnAnyMouseDown) {
    const std::wstring dbg = folder / L"Quillmendex.dbg", log = folder / L"Quillmendex.log";
    quill::SetLogFile(U16(dbg));
    quill::EnableLogging();
    Show([&](TfrmAbout& form) {
        EXPECT_EQ(LabelColour(form.lblAboutText2), RGB(0, 0, 0));  // black at opening whatever the log
        SendMessageW(form.lblAboutText1.handle(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(5, 5));
        EXPECT_TRUE(quill::IsLoggingEnabled());
        EXPECT_EQ(quill::GetLogFile(), U16(log));
        EXPECT_EQ(LabelColour(form.lblAboutText2), RGB(255, 0, 0));
        // X buttons count too, and each mouse-down while on writes a line.
        SendMessageW(form.lblAboutText1.handle(), WM_XBUTTONDOWN, MAKEWPARAM(0, XBUTTON1), MAKELPARAM(5, 5));
        EXPECT_TRUE(quill::IsLoggingEnabled());
    });
    EXPECT_FALSE(Exists(dbg));
    const std::string lines = ReadBytes(log);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2) << lines;
}

TEST_F(AboutWindow, FailingLogWriteStaysInsideTheWindow) {
    // The settings path names a missing folder, so the ".log" beside it cannot be made.
    const std::wstring missing = folder / L"missing\\Quillmendex.ini";
    quill::IniFileName = quill::ToAnsi(U16(missing));
    Show([&](TfrmAbout& form) {
        SendMessageW(form.lblAboutText1.handle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(5, 5));
        EXPECT_TRUE(quill::IsLoggingEnabled());
        EXPECT_EQ(LabelColour(form.lblAboutText2), RGB(255, 0, 0));
        // The window goes on working.
        Click(form.bbtnInfo);
        EXPECT_TRUE(form.AboutboxDisplayed());
    });
    // And the settings file that cannot be written afterwards is no error either.
    EXPECT_FALSE(Exists(missing));
}

TEST_F(AboutWindow, WithoutASettingsPathTheSwitchFlipsAndNoLogIsWritten) {
    // Opened before the IDE asked for any menu item: no settings path yet.
    quill::IniFileName.clear();
    wchar_t cwd[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    const std::wstring stray = std::wstring(cwd) + L"\\.log";
    DeleteFileW(stray.c_str());
    Show([&](TfrmAbout& form) {
        SendMessageW(form.lblAboutText1.handle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(5, 5));
        EXPECT_TRUE(quill::IsLoggingEnabled());
        EXPECT_EQ(LabelColour(form.lblAboutText2), RGB(255, 0, 0));
        quill::WriteLog(u"anything", 0, 1);
    });
    EXPECT_FALSE(Exists(stray));
    EXPECT_TRUE(quill::GetLogFile().empty());
}

TEST_F(AboutWindow, CloseEndsTheModalLoopAndTheSettingsAreWritten) {
    bool closed = false;
    Show([&](TfrmAbout& form) {
        Click(form.bbtnClose);
        closed = form.ModalResult() == IDOK;
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(ReadBytes(ini), "[Settings]\r\nSavePosition=1\r\nLeft=0\r\nTop=0\r\n");
    // The close box and Esc close it as well.
    for (auto close : {+[](HWND h) { SendMessageW(h, WM_CLOSE, 0, 0); },
                       +[](HWND h) { SendMessageW(h, WM_COMMAND, IDCANCEL, 0); }}) {
        DeleteFileW(ini.c_str());
        Show([&](TfrmAbout& form) {
            close(form.handle());
            EXPECT_EQ(form.ModalResult(), IDCANCEL);
        });
        EXPECT_TRUE(Exists(ini));
    }
}

bool displayedLater = false;

TEST_F(AboutWindow, KeysThroughItsMessageLoop) {
    // The keys are posted, so the window's own loop handles them as it would typed ones.
    // Esc closes it.
    EXPECT_TRUE(Show([](TfrmAbout&) { PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); }, false));
    // Enter with the focus on the tab closes it as well.
    EXPECT_TRUE(Show(
        [](TfrmAbout& form) {
            SetFocus(form.pcAboutSettings.handle());
            PostMessageW(form.pcAboutSettings.handle(), WM_KEYDOWN, VK_RETURN, 0);
        },
        false));
    // Enter on the focused Info button presses it; the window stays open (and is
    // closed when the test gives up waiting).
    displayedLater = false;
    EXPECT_FALSE(Show(
        [](TfrmAbout& form) {
            SetFocus(form.bbtnInfo.handle());
            PostMessageW(form.bbtnInfo.handle(), WM_KEYDOWN, VK_RETURN, 0);
            SetTimer(nullptr, 0, 300, +[](HWND, UINT, UINT_PTR id, DWORD) CALLBACK {
                KillTimer(nullptr, id);
                if (TfrmAbout* f = TfrmAbout::FromHandle(ShownWindowOfClass(TfrmAbout::kClassName)))
                    displayedLater = f->AboutboxDisplayed();
            });
        },
        false));
    EXPECT_TRUE(displayedLater);
}

TEST_F(AboutWindow, OtherWindowsOfTheThreadTakeNoInputWhileItIsShown) {
    auto make = [] {
        HWND h = CreateWindowExW(0, L"STATIC", L"IDE", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
        return h;
    };
    HWND ide = make(), disabled = make(), hidden = CreateWindowExW(0, L"STATIC", L"hidden", WS_OVERLAPPEDWINDOW, 0,
                                                                   0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    EnableWindow(disabled, FALSE);
    Show([&](TfrmAbout& form) {
        EXPECT_FALSE(IsWindowEnabled(ide));
        EXPECT_FALSE(IsWindowEnabled(disabled));
        EXPECT_TRUE(IsWindowEnabled(form.handle()));
    });
    EXPECT_TRUE(IsWindowEnabled(ide));
    EXPECT_FALSE(IsWindowEnabled(disabled));  // it was disabled before and stays so
    EXPECT_TRUE(IsWindowEnabled(hidden));
    for (HWND h : {ide, disabled, hidden}) DestroyWindow(h);
}

TEST_F(AboutWindow, WithoutASettingsPathTheCaptionIsAboutAlone) {
    quill::IniFileName.clear();
    Show([](TfrmAbout& form) { EXPECT_EQ(U8(form.Text()), "About "); });
}

// ---- the real DLL, loaded into this program ---------------------------------------

std::wstring WinFolder(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

TEST(AboutWindowOfTheDll, ShowsTheDllsOwnVersionAndWritesTheSettingsWhenClosed) {
    TempFolder folder;
    const std::wstring dll = folder / L"Quillmendex.dll";
    ASSERT_TRUE(CopyFileW((WinFolder(QUILL_TEST_PLUGIN_DIR) + L"\\Quillmendex.dll").c_str(), dll.c_str(), TRUE));
    for (int round = 0; round < 2; ++round) {  // loaded again, it registers its window classes anew
        HMODULE module = LoadLibraryW(dll.c_str());
        ASSERT_NE(module, nullptr);
        auto identify = reinterpret_cast<const char*(__cdecl*)(int32_t)>(GetProcAddress(module, "IdentifyPlugIn"));
        auto menu = reinterpret_cast<const char*(__cdecl*)(int32_t)>(GetProcAddress(module, "CreateMenuItem"));
        auto about = reinterpret_cast<const char*(__cdecl*)()>(GetProcAddress(module, "About"));
        ASSERT_TRUE(identify && menu && about);
        identify(1);
        menu(1);
        std::wstring caption, texts = L"|";
        const char* result = nullptr;
        WhileShown([&] { result = about(); },
                   [&](HWND hwnd) {
                       wchar_t text[128] = {};
                       GetWindowTextW(hwnd, text, 128);
                       caption = text;
                       EnumChildWindows(
                           hwnd,
                           +[](HWND child, LPARAM lp) CALLBACK -> BOOL {
                               wchar_t cls[32] = {}, t[128] = {};
                               GetClassNameW(child, cls, 32);
                               GetWindowTextW(child, t, 128);
                               if (lstrcmpiW(cls, L"Static") == 0) *reinterpret_cast<std::wstring*>(lp) += t + std::wstring(L"|");
                               return TRUE;
                           },
                           reinterpret_cast<LPARAM>(&texts));
                   });
        EXPECT_EQ(caption, L"About Quillmendex");
        EXPECT_NE(texts.find(L"|2.2.64.71|"), std::wstring::npos) << std::string(texts.begin(), texts.end());
        EXPECT_NE(texts.find(L"Quillmendex plug-in for PL/SQL Developer|"), std::wstring::npos);
        EXPECT_NE(texts.find(L"(c) 2010-"), std::wstring::npos);
        ASSERT_NE(result, nullptr);
        EXPECT_STREQ(result, "");
        EXPECT_EQ(ReadBytes(folder / L"Quillmendex.ini"), "[Settings]\r\nSavePosition=1\r\nLeft=0\r\nTop=0\r\n");
        DeleteFileW((folder / L"Quillmendex.ini").c_str());
        FreeLibrary(module);
    }
}

}  // namespace
