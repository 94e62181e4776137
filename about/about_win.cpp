#include "about/about_win.h"

#include "about/abouttext.h"
#include "about/frmabout_win.h"
#include "base/hosttext_win.h"
#include "settings/settings_win.h"

namespace quill {

void ShowAboutWindow() {
    {
        // Once no window of ours is left (also after a failure), the window classes
        // go, so that a module loaded again later registers its own.
        struct ClassesGone {
            ~ClassesGone() { ui::UnregisterClasses(); }
        } classesGone;
        TfrmAbout form(FromAnsi(IniFileName));
        form.lblAboutText2.SetText(NoticeText(u"2010"));
        form.DestroySettingsPage();
        form.lblAboutText1.SetText(u"Quillmendex plug-in for PL/SQL Developer");
        form.SetInfoText(BuildInfoText());
        form.EnableImageClick();
        form.ShowModal();
    }
    StoreSettingsSilently();
}

}  // namespace quill
