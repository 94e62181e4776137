#pragma once
// A panel on which settings controls are laid out and then read and written by
// their names, so that code moves a setting between a control and storage
// knowing only the setting's name, not the control's kind.
//
//   Tfrapluginframe frame(page);                        // fills its parent
//   frame.Add<ui::CheckBox>(u"chkLogging", 8, 8, 120, 17);
//   frame.setSetting(u"CHKLOGGING", true);              // names match in any case
//   Variant v = frame.readSetting(u"chkLogging");       // true
//
// Taking part are the frame's own controls, in the order they were added:
// check boxes, single-line edits, combo boxes and memos, and kinds derived
// from them. Any other control is found by name but neither read nor written.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls_win.h"
#include "ui/variant.h"

namespace quill {

class Tfrapluginframe : public ui::Panel {
public:
    // 451 x 304 at 96 dpi in the design; fills the parent's client area.
    explicit Tfrapluginframe(HWND parent);

    // Makes a control on the frame, owned by it, named name; the other arguments
    // go to the control's constructor after its parent. Names are unique without
    // regard to case (an error otherwise); any number of controls may have none.
    template <class T, class... A>
    T& Add(std::u16string name, A&&... args) {
        return Keep<T>(std::move(name), handle(), std::forward<A>(args)...);
    }
    // A frame over a dialog's window takes the controls that the dialog's
    // template made into it, named as Add names them.
    explicit Tfrapluginframe(ui::Existing dialog) : ui::Panel(dialog) {}
    template <class T>
    T& Adopt(std::u16string name, HWND control) {
        return Keep<T>(std::move(name), ui::Existing{control});
    }

    // The first of the frame's controls, in the order they were added, whose
    // name equals name with a to z folded to upper case; null when none does.
    ui::Control* Find(std::u16string_view name) const noexcept;

    // Check box: checked := value as a Boolean; edit and memo: text := value as
    // text; combo box: selected index := value as an integer. A value that does
    // not convert raises VariantError and leaves the control as it was.
    void setSetting(std::u16string_view ASettingFieldname, const Variant& AValue);
    // Combo box only: its items become the given texts, in order.
    void setItems(std::u16string_view ASettingFieldname, const std::vector<std::u16string>& AValue);
    // Check box: checked; edit and memo: text; combo box: selected index (-1 for none).
    Variant readSetting(std::u16string_view ASettingFieldname) const;
    // As readSetting, but a combo box gives its displayed text and a memo empty text.
    Variant readValue(std::u16string_view ASettingFieldname) const;

private:
    template <class T, class... A>
    T& Keep(std::u16string name, A&&... args) {
        if (!name.empty() && Find(name)) throw Error(u"A control named " + name + u" already exists.");
        components_.reserve(components_.size() + 1);
        auto control = std::make_unique<T>(std::forward<A>(args)...);
        control->SetName(std::move(name));
        T& ref = *control;
        components_.push_back(std::move(control));
        return ref;
    }

    std::vector<std::unique_ptr<ui::Control>> components_;
};

}  // namespace quill
