#include "about/frmabout_win.h"

#include <windows.h>

#include "about/abouttext.h"
#include "about/pictures_win.h"
#include "about/scrolling.h"
#include "about/version_win.h"
#include "settings/logger.h"
#include "base/hosttext_win.h"

namespace quill {

namespace {

using ui::Scale;

// Design sizes at 96 dpi.
constexpr int kClientWidth = 429, kClientHeight = 151;
constexpr int kButtonsHeight = 33;
// Info 77 and Close 76 wide, side by side, Close ending 2 pixels inside the
// right edge (as the buttons stand 2 below the top), so its frame is not cut off.
constexpr int kInfoLeft = 274, kCloseLeft = 351;
constexpr int kPictureWidth = 116;
constexpr int kTextPanelWidth = 299, kTextPanelHeight = 88;  // the design size the labels are anchored to
constexpr int kScrollOverhang = 22;                           // the scroll box reaches beyond the panel by this
constexpr UINT_PTR kTimerId = 1;
constexpr int kInfoId = 101;

HFONT Apply(HWND hwnd, HFONT font) {
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return font;
}

ui::Font WithFont(HWND hwnd, ui::Font font) {
    Apply(hwnd, font.get());
    return font;
}

std::u16string FormatWith(int(WINAPI* format)(LCID, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR, int), DWORD flags,
                          const SYSTEMTIME& t) {
    const int n = format(LOCALE_USER_DEFAULT, flags, &t, nullptr, nullptr, 0);
    if (n <= 0) return {};
    std::u16string text(static_cast<size_t>(n), u'\0');
    const int got = format(LOCALE_USER_DEFAULT, flags, &t, nullptr, reinterpret_cast<wchar_t*>(text.data()), n);
    text.resize(got > 0 ? static_cast<size_t>(got - 1) : 0);
    return text;
}

}  // namespace

std::u16string LocalDateTimeText() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return FormatWith(GetDateFormatW, DATE_SHORTDATE, now) + u" " + FormatWith(GetTimeFormatW, 0, now);
}

TfrmAbout::TfrmAbout(std::u16string_view AIniFileName)
    : ui::Form(kClassName, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
               WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT),
      fontTahoma_(WithFont(handle(), ui::MakeFont(L"Tahoma", 11))),
      // Fixed pitch, so that a system without Courier New still shows the framed box.
      fontCourier_(ui::MakeFont(L"Courier New", 11, ANSI_CHARSET, FIXED_PITCH | FF_MODERN)),
      picture_(ui::AboutPicture()),
      infoGlyph_(ui::InfoGlyph(Scale(16), GetSysColor(COLOR_BTNFACE))),
      closeGlyph_(ui::CloseGlyph(Scale(16), GetSysColor(COLOR_BTNFACE))),
      bigIcon_(ui::AboutIcon(GetSystemMetrics(SM_CXICON))),
      smallIcon_(ui::AboutIcon(GetSystemMetrics(SM_CXSMICON))),
      pnlButtons(handle(), 0, Scale(kClientHeight - kButtonsHeight), Scale(kClientWidth), Scale(kButtonsHeight)),
      bbtnInfo(pnlButtons.handle(), Scale(kInfoLeft), Scale(2), Scale(77), Scale(30), kInfoId),
      bbtnClose(pnlButtons.handle(), Scale(kCloseLeft), Scale(2), Scale(76), Scale(30), IDOK),
      pcAboutSettings(handle(), 0, 0, Scale(kClientWidth), Scale(kClientHeight - kButtonsHeight)),
      tsAbout(pcAboutSettings.handle(), 0, 0, 10, 10),
      pnlAbout(tsAbout.handle(), 0, 0, 10, 10),
      imgAboutPicture(pnlAbout.handle(), 0, 0, Scale(kPictureWidth), Scale(117)),
      pnlAboutScroll(pnlAbout.handle(), Scale(kPictureWidth), 0, Scale(kTextPanelWidth), Scale(kTextPanelHeight)),
      pnlAboutText(pnlAbout.handle(), Scale(kPictureWidth), 0, Scale(kTextPanelWidth), Scale(kTextPanelHeight)),
      lblAboutText1(pnlAboutText.handle(), Scale(3), Scale(2), Scale(327), Scale(15), ui::Label::Align::Center),
      lblAboutText2(pnlAboutText.handle(), Scale(166), Scale(74), Scale(131), Scale(13), ui::Label::Align::Right),
      lblAboutText3(pnlAboutText.handle(), Scale(2), Scale(74), Scale(100), Scale(13)),
      // Without borders: the text seems to stand on the panel itself.
      sbAbout(pnlAboutScroll.handle(), 0, 0, Scale(kTextPanelWidth), Scale(kTextPanelHeight), false),
      mmAbout(sbAbout.handle(), 0, 0, Scale(kTextPanelWidth), Scale(kTextPanelHeight), ES_READONLY, false),
      tsSettings(std::make_unique<ui::Panel>(pcAboutSettings.handle(), 0, 0, 10, 10)),
      fraSettings(std::make_unique<Tfrapluginframe>(tsSettings->handle())),
      tmAbout(handle(), kTimerId, 100) {
    // The design.
    SetText(u"About Quillmendex");
    SetClientSize(kClientWidth, kClientHeight);
    SetMinimumSize(434, 172);
    SetIcon(bigIcon_.get(), smallIcon_.get());
    pnlButtons.SetName(u"pnlButtons");
    bbtnInfo.SetName(u"bbtnInfo");
    bbtnInfo.SetText(u"Info");
    bbtnInfo.glyph = [this](HDC dc, const RECT& r) { ui::DrawBitmap(dc, infoGlyph_.get(), r); };
    bbtnInfo.onClick = [this] { actInfoExecute(); };
    bbtnClose.SetName(u"bbtnClose");
    bbtnClose.SetText(u"Close");
    bbtnClose.glyph = [this](HDC dc, const RECT& r) { ui::DrawBitmap(dc, closeGlyph_.get(), r); };
    bbtnClose.onClick = [this] { SetModalResult(IDOK); };
    pcAboutSettings.SetName(u"pcAboutSettings");
    tsAbout.SetName(u"tsAbout");
    pcAboutSettings.AddPage(u"About...", &tsAbout);
    tsSettings->SetName(u"tsSettings");
    pcAboutSettings.AddPage(u"Settings...", tsSettings.get());
    fraSettings->SetName(u"fraSettings");
    pcAboutSettings.SetActivePage(0);
    pnlAbout.SetName(u"pnlAbout");
    imgAboutPicture.SetName(u"imgAboutPicture");
    imgAboutPicture.SetBitmap(picture_.get());
    pnlAboutText.SetName(u"pnlAboutText");
    pnlAboutScroll.SetName(u"pnlAboutScroll");
    for (ui::Label* label : {&lblAboutText1, &lblAboutText2, &lblAboutText3}) {
        label->SetTransparent(true);
        label->SetFontColor(RGB(0, 0, 0));
    }
    lblAboutText1.SetName(u"lblAboutText1");
    lblAboutText1.onMouseDown = [this](ui::MouseButton b, unsigned s, int x, int y) { ToggleLogger(b, s, x, y); };
    lblAboutText2.SetName(u"lblAboutText2");
    lblAboutText3.SetName(u"lblAboutText3");
    sbAbout.SetName(u"sbAbout");
    sbAbout.SetVisible(false);
    mmAbout.SetName(u"mmAbout");
    mmAbout.SetFont(fontCourier_.get());
    mmAbout.SetFontColor(GetSysColor(COLOR_WINDOWTEXT));
    mmAbout.SetColor(GetSysColor(COLOR_BTNFACE));
    mmAbout.SetVisible(false);
    Layout();
    lblAboutText2.SetAutoSize(true);
    lblAboutText3.SetAutoSize(true);
    CenterOnScreen();
    FormCreate();

    // Building it for this settings file.
    pnlAboutText.BringToFront();
    pnlAboutScroll.SendToBack();
    SetIniFileName(AIniFileName);
    SetInfoText({});
    sbAbout.SetVisible(false);
    mmAbout.SetVisible(false);
    EnableImageClick();
    UpdateCaption();
}

TfrmAbout::~TfrmAbout() {
    closing_ = true;
    tmAbout.SetEnabled(false);
}

TfrmAbout* TfrmAbout::FromHandle(HWND hwnd) noexcept {
    wchar_t name[32] = {};
    if (!GetClassNameW(hwnd, name, 32) || lstrcmpW(name, kClassName) != 0) return nullptr;
    return dynamic_cast<TfrmAbout*>(Control::FromHandle(hwnd));
}

// Places the parts for the actual sizes; anchored edges keep their design distances.
void TfrmAbout::Layout() {
    RECT client = {};
    GetClientRect(handle(), &client);
    const int w = client.right, h = client.bottom;
    const int buttonsHeight = Scale(kButtonsHeight);
    pnlButtons.SetBounds(0, h - buttonsHeight, w, buttonsHeight);
    // Both buttons keep their distance from the right edge.
    const int shift = w - Scale(kClientWidth);
    bbtnInfo.SetBounds(Scale(kInfoLeft) + shift, Scale(2), Scale(77), Scale(30));
    bbtnClose.SetBounds(Scale(kCloseLeft) + shift, Scale(2), Scale(76), Scale(30));
    pcAboutSettings.SetBounds(0, 0, w, h - buttonsHeight);

    const RECT page = pcAboutSettings.DisplayRect();
    for (ui::Control* p : {static_cast<ui::Control*>(&tsAbout), static_cast<ui::Control*>(tsSettings.get())})
        if (p) p->SetBounds(page.left, page.top, page.right - page.left, page.bottom - page.top);
    if (fraSettings) fraSettings->SetBounds(0, 0, page.right - page.left, page.bottom - page.top);
    const int pw = page.right - page.left, ph = page.bottom - page.top;
    pnlAbout.SetBounds(0, 0, pw, ph);
    const int pictureWidth = Scale(kPictureWidth);
    imgAboutPicture.SetBounds(0, 0, pictureWidth, ph);
    const int tw = pw - pictureWidth, th = ph;
    pnlAboutText.SetBounds(pictureWidth, 0, tw, th);
    pnlAboutScroll.SetBounds(pictureWidth, 0, tw, th);
    const int dw = tw - Scale(kTextPanelWidth), dh = th - Scale(kTextPanelHeight);
    lblAboutText1.SetBounds(Scale(3), Scale(2), Scale(327) + dw, Scale(15));
    lblAboutText2.SetBounds(Scale(166) + dw, Scale(74) + dh, Scale(131), Scale(13));
    lblAboutText3.SetBounds(Scale(2), Scale(74) + dh, Scale(100), Scale(13));
    sbAbout.SetBounds(0, 0, tw, th);
}

void TfrmAbout::FormCreate() { UpdateCaption(); }

void TfrmAbout::UpdateCaption() {
    if (fIniFileName.empty()) return;
    lblAboutText3.SetText(GetFileVersionText());
    SetText(u"About " + GetPluginName(fIniFileName));
}

void TfrmAbout::SetIniFileName(std::u16string_view value) {
    fIniFileName = value;
    try {
        lblAboutText3.SetText(GetFileVersionText());
        SetText(u"About " + GetPluginName(fIniFileName));
    } catch (...) {
        // The labels keep what they had; the path stays stored.
    }
}

void TfrmAbout::SetInfoText(const std::vector<std::u16string>& lines) {
    if (!fInfoText) fInfoText = std::make_unique<std::vector<std::u16string>>();
    fInfoText->clear();
    *fInfoText = PaddedInfoText(lines);
}

void TfrmAbout::EnableImageClick() {
    imgAboutPicture.onClick = [this] { actInfoExecute(); };
    bbtnInfo.SetVisible(true);
}

void TfrmAbout::DisableImageClick() {
    imgAboutPicture.onClick = nullptr;
    bbtnInfo.SetVisible(false);
}

void TfrmAbout::actInfoExecute() {
    if (AboutboxDisplayed()) {
        sbAbout.SetVisible(false);
        mmAbout.SetVisible(false);
        tmAbout.SetEnabled(false);
        SetAboutboxDisplayed(false);
        pnlAboutText.BringToFront();
        pnlAboutScroll.SendToBack();
        return;
    }
    pcAboutSettings.SetActivePage(0);
    pnlAboutText.SendToBack();
    pnlAboutScroll.BringToFront();
    sbAbout.SetPosition(0);
    sbAbout.SetColor(pnlAboutScroll.Color());
    sbAbout.SetBounds(0, 0, pnlAboutScroll.Width() + Scale(kScrollOverhang),
                      pnlAboutScroll.Height() + Scale(kScrollOverhang));
    mmAbout.SetColor(pnlAboutScroll.Color());
    mmAbout.SetVisible(true);
    mmAbout.SetLines({});
    mmAbout.SetLines(*fInfoText);
    // The height rule counts pixels at 96 dpi; the lines grow with the screen's dpi.
    mmAbout.SetBounds(0, 0, sbAbout.Width(), Scale(TextBoxHeight(static_cast<int64_t>(fInfoText->size()))));
    mmAbout.BringToFront();
    sbAbout.SetRange(mmAbout.Height());
    sbAbout.SetVisible(true);
    tmAbout.SetInterval(25);
    tmAbout.SetEnabled(true);
    SetAboutboxDisplayed(true);
}

void TfrmAbout::actTimerExecute() {
    if (!AboutboxDisplayed()) return;
    sbAbout.SetPosition(
        NextScrollPosition(sbAbout.Position(), sbAbout.Range(), sbAbout.ClientHeight(), sbAbout.Height()));
}

void TfrmAbout::ToggleLogger(ui::MouseButton, unsigned Shift, int, int) {
    if (Shift & ui::ssCtrl) ToggleLogging();
    if (IsLoggingEnabled()) {
        // Without a settings path (the window opened before the IDE asked for
        // any menu item) there is no place for the log: ".log" would land in
        // whatever folder the IDE is in.
        if (!fIniFileName.empty()) SetLogFile(ChangeFileExt(fIniFileName, u".log"));
        lblAboutText2.SetFontColor(RGB(255, 0, 0));
        if (!fIniFileName.empty()) WriteLog(LocalDateTimeText(), 0, 1);
    } else {
        lblAboutText2.SetFontColor(RGB(0, 0, 0));
    }
}

void TfrmAbout::DestroySettingsPage() {
    fraSettings.reset();
    if (tsSettings) {
        pcAboutSettings.DeletePage(1);
        tsSettings.reset();
    }
}

void TfrmAbout::Tick(UINT_PTR id) {
    if (!closing_ && id == tmAbout.id()) actTimerExecute();
}

}  // namespace quill
