#include "ui/pluginframe_win.h"

namespace quill {

namespace {

char16_t Upper(char16_t c) noexcept { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool SameName(std::u16string_view a, std::u16string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

}  // namespace

Tfrapluginframe::Tfrapluginframe(HWND parent) : ui::Panel(parent, 0, 0, ui::Scale(451), ui::Scale(304)) {
    RECT r = {};
    if (GetClientRect(parent, &r)) SetBounds(0, 0, r.right, r.bottom);
}

ui::Control* Tfrapluginframe::Find(std::u16string_view name) const noexcept {
    for (const auto& control : components_)
        if (SameName(control->name(), name)) return control.get();
    return nullptr;
}

void Tfrapluginframe::setSetting(std::u16string_view ASettingFieldname, const Variant& AValue) {
    ui::Control* found = Find(ASettingFieldname);
    if (auto* check = dynamic_cast<ui::CheckBox*>(found)) {
        check->SetChecked(AValue.AsBoolean());
    } else if (auto* edit = dynamic_cast<ui::Edit*>(found)) {
        edit->SetText(AValue.AsText());
    } else if (auto* combo = dynamic_cast<ui::ComboBox*>(found)) {
        combo->SetItemIndex(AValue.AsInteger());
    } else if (auto* memo = dynamic_cast<ui::Memo*>(found)) {
        memo->SetText(AValue.AsText());
    }
}

void Tfrapluginframe::setItems(std::u16string_view ASettingFieldname, const std::vector<std::u16string>& AValue) {
    if (auto* combo = dynamic_cast<ui::ComboBox*>(Find(ASettingFieldname))) {
        combo->ClearItems();
        for (const auto& item : AValue) combo->AddItem(item);
    }
}

Variant Tfrapluginframe::readSetting(std::u16string_view ASettingFieldname) const {
    const ui::Control* found = Find(ASettingFieldname);
    if (auto* check = dynamic_cast<const ui::CheckBox*>(found)) return check->Checked();
    if (auto* edit = dynamic_cast<const ui::Edit*>(found)) return edit->Text();
    if (auto* combo = dynamic_cast<const ui::ComboBox*>(found)) return static_cast<int32_t>(combo->ItemIndex());
    if (auto* memo = dynamic_cast<const ui::Memo*>(found)) return memo->Text();
    return Variant();
}

Variant Tfrapluginframe::readValue(std::u16string_view ASettingFieldname) const {
    const ui::Control* found = Find(ASettingFieldname);
    if (auto* check = dynamic_cast<const ui::CheckBox*>(found)) return check->Checked();
    if (auto* edit = dynamic_cast<const ui::Edit*>(found)) return edit->Text();
    if (auto* combo = dynamic_cast<const ui::ComboBox*>(found)) return combo->Text();
    return Variant();
}

}  // namespace quill
