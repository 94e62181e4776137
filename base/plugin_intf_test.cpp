#include "base/plugin_intf.h"

#include <gtest/gtest.h>

namespace {

TEST(CallbackRegistry, AcceptsOnlyTheIdesNumbers) {
    using namespace quill::intf;
    ClearCallbacks();
    int dummy1 = 0, dummy2 = 0;
    for (int refused : {0, 49, 99, 301, -1, 58, 152, 177, 299}) {
        RegisterCallback(refused, &dummy1);
        EXPECT_EQ(Callback(refused), nullptr) << refused;
    }
    int accepted = 0;
    for (int i = -5; i < 400; ++i) accepted += SlotOf(i) >= 0;
    EXPECT_EQ(accepted, kSlotCount);

    RegisterCallback(30, &dummy1);
    RegisterCallback(30, &dummy2);
    EXPECT_EQ(Callback(30), &dummy2);
    EXPECT_EQ(Callback(31), nullptr);
    RegisterCallback(30, nullptr);
    EXPECT_EQ(Callback(30), nullptr);
    // Neighbouring numbers never share a slot.
    RegisterCallback(48, &dummy1);
    RegisterCallback(50, &dummy2);
    EXPECT_EQ(Callback(48), &dummy1);
    EXPECT_EQ(Callback(50), &dummy2);
    ClearCallbacks();
}

}  // namespace
