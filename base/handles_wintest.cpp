// The one owner shape for handles: each kind is given back once, when its last
// owner goes, and never by an owner it was moved away from.
#include <gtest/gtest.h>

#include <functional>

#include "base/handles_win.h"
#include "settings/wintest_util.h"
#include "ui/controls_win.h"

namespace {

using quill::FileHandle;
namespace ui = quill::ui;

// Owns raw, hands it from owner to owner, and sees (asking the system, not the
// owner) that it is given back when the last owner goes, and not before.
template <class Owner, class H>
void OwnMoveAndGo(H raw, const std::function<bool(H)>& alive) {
    ASSERT_TRUE(raw);
    {
        Owner first(raw);
        EXPECT_TRUE(first);
        Owner second(std::move(first));
        EXPECT_FALSE(first);  // moved away: it gives back nothing
        EXPECT_EQ(second.get(), raw);
        first.reset();
        EXPECT_TRUE(alive(raw));
        Owner third;
        third = std::move(second);
        EXPECT_TRUE(alive(raw));
    }
    EXPECT_FALSE(alive(raw));  // the last owner went
}

TEST(UniqueHandle, EachKindIsGivenBackOnceWhenItsLastOwnerGoes) {
    quilltest::TempFolder folder;
    const std::wstring path = folder / L"owned.tmp";
    const struct {
        const char* what;
        std::function<void()> run;
    } kinds[] = {
        {"file: deleted on close",
         [&] {
             OwnMoveAndGo<FileHandle, HANDLE>(
                 CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr),
                 [&](HANDLE) { return quilltest::Exists(path); });
         }},
        {"font", [] {
             OwnMoveAndGo<ui::Font, HFONT>(CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"),
                                           [](HFONT h) { return GetObjectType(h) == OBJ_FONT; });
         }},
        {"brush", [] {
             OwnMoveAndGo<ui::Brush, HBRUSH>(CreateSolidBrush(RGB(1, 2, 3)),
                                             [](HBRUSH h) { return GetObjectType(h) == OBJ_BRUSH; });
         }},
        {"memory DC", [] {
             OwnMoveAndGo<ui::MemoryDC, HDC>(CreateCompatibleDC(nullptr),
                                             [](HDC h) { return GetObjectType(h) == OBJ_MEMDC; });
         }},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.what);
        kind.run();
    }
}

TEST(UniqueHandle, NoneIsNeverGivenBack) {
    for (HANDLE none : {static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE}) {
        FileHandle file(none);
        EXPECT_FALSE(file);
        SetLastError(ERROR_SUCCESS);
        EXPECT_TRUE(file.close());
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));  // CloseHandle was not called
    }
}

TEST(UniqueHandle, ASelectionIsUndoneWhenItsOwnerGoes) {
    ui::MemoryDC dc(CreateCompatibleDC(nullptr));
    ui::Font font(CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    const HGDIOBJ before = GetCurrentObject(dc.get(), OBJ_FONT);
    {
        const ui::Selected pick = ui::Select(dc.get(), font.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), font.get());
        const ui::Selected nothing = ui::Select(dc.get(), nullptr);  // selects nothing, undoes nothing
        EXPECT_FALSE(nothing);
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), before);
}

}  // namespace
