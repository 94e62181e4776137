#pragma once
// The About window: a picture, a line naming the plug-in, the version and the
// notice of years and makers. Info (or a click on the picture) swaps the labels
// for the information text, which rises one pixel every 25 ms and starts again
// from the top; Info again swaps back. A mouse-down on the first label with
// Ctrl held switches the diagnostic log, and the second label turns red while
// it is on.
//
// Layout at 96 dpi (scaled for the screen), client area 429 x 151:
//   pcAboutSettings  0,0 429x118  pages "About..." and, in the design only,
//                                 "Settings..." with a settings frame
//     tsAbout / pnlAbout          imgAboutPicture 116 wide on the left, then
//                                 pnlAboutText (labels) in front of
//                                 pnlAboutScroll (sbAbout holding mmAbout)
//   pnlButtons       0,118 429x33 bbtnInfo, bbtnClose
//
// The controls are public so that tests can reach them, as the window's design would.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls_win.h"
#include "ui/pluginframe_win.h"

namespace quill {

class TfrmAbout : public ui::Form {
public:
    // Builds the window (hidden, no owner) for the settings-file path.
    explicit TfrmAbout(std::u16string_view AIniFileName);
    ~TfrmAbout() override;

    // The wrapper of a window of this class, or null.
    static TfrmAbout* FromHandle(HWND hwnd) noexcept;
    static constexpr const wchar_t* kClassName = L"TfrmAbout";

    // Stores the path, then fills the version label and the caption; a failure
    // while doing so is dropped, the path stays.
    const std::u16string& IniFileName() const noexcept { return fIniFileName; }
    void SetIniFileName(std::u16string_view value);
    // Kept with 6 empty lines before and 16 after; the given list stays the caller's.
    const std::vector<std::u16string>& InfoText() const noexcept { return *fInfoText; }
    void SetInfoText(const std::vector<std::u16string>& lines);
    bool AboutboxDisplayed() const noexcept { return fAboutboxDisplayed; }
    void SetAboutboxDisplayed(bool value) noexcept { fAboutboxDisplayed = value; }

    // A click on the picture runs actInfoExecute and Info is shown; or neither.
    void EnableImageClick();
    void DisableImageClick();

    // Info and the picture: labels to rising text and back.
    void actInfoExecute();
    // One tick of tmAbout: the text one pixel up, or back to the top.
    void actTimerExecute();
    // Mouse-down on lblAboutText1: Ctrl switches the log; the label colour and,
    // when on, the ".log" file and one line with the date and time follow.
    void ToggleLogger(ui::MouseButton Button, unsigned Shift, int X, int Y);

    // Takes the "Settings..." page and its frame away; the user never sees them.
    void DestroySettingsPage();

    // Design parts, in the order they are built (parents first).
private:
    ui::Font fontTahoma_, fontCourier_;
    ui::Bitmap picture_, infoGlyph_, closeGlyph_;
    ui::Icon bigIcon_, smallIcon_;

public:
    ui::Panel pnlButtons;
    ui::Button bbtnInfo, bbtnClose;
    ui::TabControl pcAboutSettings;
    ui::Panel tsAbout;
    ui::Panel pnlAbout;
    ui::Picture imgAboutPicture;
    ui::Panel pnlAboutScroll, pnlAboutText;
    ui::Label lblAboutText1, lblAboutText2, lblAboutText3;
    ui::ScrollBox sbAbout;
    ui::Memo mmAbout;
    std::unique_ptr<ui::Panel> tsSettings;
    std::unique_ptr<Tfrapluginframe> fraSettings;
    ui::Timer tmAbout;

protected:
    void Tick(UINT_PTR id) override;

private:
    void FormCreate();
    void UpdateCaption();
    void Layout();

    std::u16string fIniFileName;
    std::unique_ptr<std::vector<std::u16string>> fInfoText;
    bool fAboutboxDisplayed = false;
    bool closing_ = false;
};

// The local date and time in the user's short-date and long-time formats.
std::u16string LocalDateTimeText();

}  // namespace quill
