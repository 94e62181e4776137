// The settings frame on real Win32 controls under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include "ui/pluginframe_win.h"
#include "base/convert.h"
#include "base/error.h"

namespace {

using quill::Tfrapluginframe;
using quill::Variant;
using quill::VariantError;
namespace ui = quill::ui;

// Derived kinds, as an application would make them.
class DropDownList : public ui::ComboBox {
public:
    DropDownList(HWND parent, int x, int y, int w, int h) : ui::ComboBox(parent, x, y, w, h, CBS_DROPDOWNLIST) {}
};
class ThreeStateBox : public ui::CheckBox {
public:
    ThreeStateBox(HWND parent, int x, int y, int w, int h) : ui::CheckBox(parent, x, y, w, h, BS_AUTO3STATE) {}
};
class NumberEdit : public ui::Edit {
public:
    NumberEdit(HWND parent, int x, int y, int w, int h) : ui::Edit(parent, x, y, w, h, ES_NUMBER) {}
};

std::string U8(const Variant& v) { return quill::Utf16ToUtf8(v.AsText()); }

class Frame : public ::testing::Test {
protected:
    Frame()
        : top(CreateWindowExW(0, L"STATIC", L"frame host", WS_OVERLAPPEDWINDOW, 0, 0, 500, 360, nullptr, nullptr,
                              nullptr, nullptr)),
          frame(top) {
        frame.Add<ui::Label>(u"lblTitle", 8, 8, 100, 15);
        check = &frame.Add<ui::CheckBox>(u"chkLogging", 8, 30, 120, 17);
        edit = &frame.Add<ui::Edit>(u"edtName", 8, 50, 120, 21);
        combo = &frame.Add<ui::ComboBox>(u"cbMode", 8, 80, 120, 120);
        memo = &frame.Add<ui::Memo>(u"mmNotes", 8, 110, 200, 60);
        list = &frame.Add<DropDownList>(u"cbList", 220, 80, 120, 120);
        three = &frame.Add<ThreeStateBox>(u"chkThree", 220, 30, 120, 17);
        number = &frame.Add<NumberEdit>(u"edtNumber", 220, 50, 120, 21);
        unnamed = &frame.Add<ui::Edit>(u"", 220, 110, 120, 21);
        frame.Add<ui::Edit>(u"", 220, 140, 120, 21);  // a second unnamed one is never reached
    }
    ~Frame() override {}

    struct TopWindow {
        HWND hwnd;
        explicit TopWindow(HWND h) : hwnd(h) {}
        ~TopWindow() { DestroyWindow(hwnd); }
        operator HWND() const { return hwnd; }
    } top;
    Tfrapluginframe frame;
    ui::CheckBox* check;
    ui::Edit* edit;
    ui::ComboBox* combo;
    ui::Memo* memo;
    DropDownList* list;
    ThreeStateBox* three;
    NumberEdit* number;
    ui::Edit* unnamed;
};

TEST_F(Frame, FillsItsParent) {
    RECT parent = {};
    GetClientRect(top, &parent);
    EXPECT_EQ(frame.Width(), parent.right);
    EXPECT_EQ(frame.Height(), parent.bottom);
    EXPECT_EQ(GetParent(edit->handle()), frame.handle());
}

TEST_F(Frame, EachKindIsWrittenAndReadInAnyLetterCase) {
    frame.setSetting(u"CHKLOGGING", true);
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(frame.readSetting(u"chklogging"), Variant(true));
    EXPECT_EQ(frame.readValue(u"ChkLogging"), Variant(true));
    frame.setSetting(u"chkLogging", int32_t{0});
    EXPECT_FALSE(check->Checked());

    frame.setSetting(u"EDTname", int32_t{42});
    EXPECT_EQ(edit->Text(), u"42");
    EXPECT_EQ(frame.readSetting(u"edtName"), Variant(u"42"));
    EXPECT_EQ(frame.readValue(u"edtName"), Variant(u"42"));

    frame.setItems(u"cbmode", {u"first", u"second", u"third"});
    ASSERT_EQ(combo->ItemCount(), 3);
    EXPECT_EQ(combo->Item(2), u"third");
    frame.setSetting(u"cbMode", u"1");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(frame.readSetting(u"cbMode"), Variant(int32_t{1}));
    EXPECT_EQ(frame.readValue(u"cbMode"), Variant(u"second"));

    frame.setSetting(u"MMNOTES", u"line one\r\nline two");
    EXPECT_EQ(memo->Text(), u"line one\r\nline two");
    EXPECT_EQ(frame.readSetting(u"mmNotes"), Variant(u"line one\r\nline two"));
    EXPECT_EQ(frame.readValue(u"mmNotes"), Variant(u""));  // a memo's value is not read
}

TEST_F(Frame, OnlyLettersAToZAreFolded) {
    frame.Add<ui::Edit>(u"édit", 8, 200, 80, 21);
    frame.setSetting(u"ÉDIT", u"x");  // É is not é for the lookup
    EXPECT_EQ(frame.readSetting(u"édit"), Variant(u""));
    frame.setSetting(u"éDIT", u"y");
    EXPECT_EQ(frame.readSetting(u"édit"), Variant(u"y"));
}

TEST_F(Frame, DerivedKindsTakePart) {
    frame.setItems(u"cbList", {u"a", u"b"});
    frame.setSetting(u"cblist", true);  // true is -1: nothing selected
    EXPECT_EQ(frame.readSetting(u"cbList"), Variant(int32_t{-1}));
    frame.setSetting(u"cblist", int32_t{1});
    EXPECT_EQ(frame.readSetting(u"cbList"), Variant(int32_t{1}));
    EXPECT_EQ(frame.readValue(u"cbList"), Variant(u"b"));  // a drop-down list shows its selected item

    frame.setSetting(u"chkThree", u"TRUE");
    EXPECT_EQ(SendMessageW(three->handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageW(three->handle(), BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(frame.readSetting(u"chkThree"), Variant(false));  // only a full check counts

    frame.setSetting(u"edtNumber", int32_t{-17});
    EXPECT_EQ(frame.readValue(u"edtNumber"), Variant(u"-17"));
}

TEST_F(Frame, EmptyNameFindsTheFirstUnnamedControl) {
    frame.setSetting(u"", u"found");
    EXPECT_EQ(unnamed->Text(), u"found");
    EXPECT_EQ(frame.readSetting(u""), Variant(u"found"));
}

TEST_F(Frame, ControlOfAnotherKindEndsTheSearch) {
    frame.setSetting(u"LBLTITLE", u"changed");
    frame.setItems(u"lblTitle", {u"a"});
    EXPECT_EQ(frame.Find(u"lblTitle")->Text(), u"");
    EXPECT_EQ(frame.readSetting(u"lblTitle"), Variant());
    EXPECT_EQ(frame.readValue(u"lblTitle"), Variant());
}

TEST_F(Frame, UnknownNamesChangeNothingAndReadEmptyText) {
    frame.setSetting(u"nothing", u"x");
    frame.setItems(u"nothing", {u"x"});
    EXPECT_EQ(frame.readSetting(u"nothing"), Variant());
    EXPECT_EQ(frame.readValue(u"nothing"), Variant());
    EXPECT_EQ(frame.readSetting(u"edtName "), Variant());  // no trimming either
}

TEST_F(Frame, ItemsOnlyForComboBoxes) {
    edit->SetText(u"kept");
    memo->SetText(u"kept too");
    check->SetChecked(true);
    for (const char16_t* name : {u"edtName", u"mmNotes", u"chkLogging"}) frame.setItems(name, {u"a", u"b"});
    EXPECT_EQ(edit->Text(), u"kept");
    EXPECT_EQ(memo->Text(), u"kept too");
    EXPECT_TRUE(check->Checked());

    frame.setItems(u"cbMode", {u"x", u"y"});
    frame.setItems(u"cbMode", {});
    EXPECT_EQ(combo->ItemCount(), 0);
    frame.setItems(u"cbMode", {u"z", u"z", u""});  // duplicates and empty texts stay, in order
    ASSERT_EQ(combo->ItemCount(), 3);
    EXPECT_EQ(combo->Item(0), u"z");
    EXPECT_EQ(combo->Item(2), u"");
}

TEST_F(Frame, ComboBoxWithNothingSelected) {
    frame.setItems(u"cbMode", {u"one", u"two"});
    combo->SetText(u"typed");
    EXPECT_EQ(frame.readSetting(u"cbMode"), Variant(int32_t{-1}));
    EXPECT_EQ(frame.readValue(u"cbMode"), Variant(u"typed"));
}

TEST_F(Frame, ValueThatDoesNotConvertRaisesAndLeavesTheControl) {
    frame.setItems(u"cbMode", {u"one", u"two"});
    frame.setSetting(u"cbMode", int32_t{1});
    try {
        frame.setSetting(u"cbMode", u"two");
        ADD_FAILURE() << "no error";
    } catch (const VariantError& e) {
        EXPECT_EQ(e.text(), u"Could not convert the text \"two\" into an integer");
    }
    EXPECT_EQ(combo->ItemIndex(), 1);

    check->SetChecked(true);
    EXPECT_THROW(frame.setSetting(u"chkLogging", u"maybe"), VariantError);
    EXPECT_TRUE(check->Checked());
    // Texts take any value.
    frame.setSetting(u"edtName", true);
    EXPECT_EQ(edit->Text(), u"True");
}

TEST_F(Frame, NamesAreUniqueWhateverTheirCase) {
    EXPECT_THROW(frame.Add<ui::Edit>(u"EDTNAME", 0, 0, 10, 10), quill::Error);
    EXPECT_EQ(frame.Find(u"edtName"), edit);
    frame.Add<ui::Edit>(u"", 0, 0, 10, 10);  // unnamed controls may be many
}

}  // namespace
