#include "about/about_win.h"

#include "about/abouttext.h"
#include "about/frmabout_win.h"
#include "settings/plugincommon_win.h"
#include "settings/settings_win.h"

namespace quill {

void ShowAboutWindow() {
    {
        TfrmAbout form(FromAnsi(IniFileName));
        form.lblAboutText2.SetText(NoticeText(u"2010"));
        form.DestroySettingsPage();
        form.lblAboutText1.SetText(u"Quillmendex plug-in for PL/SQL Developer");
        form.SetInfoText(BuildInfoText());
        form.EnableImageClick();
        form.ShowModal();
    }
    // No window of ours is left; a module loaded again later registers its own classes.
    ui::UnregisterClasses();
    StoreSettingsSilently();
}

}  // namespace quill
