// Object counts over many cycles: forms with the basic controls made, skinned and freed, and every
// skinned control repainted many times, leave no GDI object, window, thunk or skinner behind.
#include <gtest/gtest.h>

#include "ControlKit.h"
#include "LeakLoop.h"

using namespace formtest;
using namespace controltest;

namespace {

// The suite's rounds; QUIRN_SOAK=1 runs the long loops.
const int32_t FormCycles = LeakRounds(100, 1000);
const int32_t RepaintsPerControl = LeakRounds(1000, 10000);

TEST(ControlLeakTest, FormsWithTheBasicControlsComeAndGoWithoutLeavingObjects) {
    TBackdrop backdrop;
    auto cycle = [](int32_t) {
        TBasicForm basic = MakeBasicForm(DefaultPackage());
        const bool shown = ShowBasicForm(basic);
        TPellixForm* skinner = formtest::SkinnerOf(basic.Form->Handle());
        const bool mapped = skinner != nullptr && controltest::SkinnerOf(*skinner, basic.Status) != nullptr;
        FreeForm(basic.Form);
        return shown && mapped;
    };
    // The first cycle makes what lives for the program (window classes, the shared buffers).
    ASSERT_TRUE(cycle(0));
    EXPECT_TRUE(StaysFlat(CountObjects, FormCycles, cycle));
}

TEST(ControlLeakTest, RepaintingEverySkinnedControlManyTimesLeavesNoObjects) {
    TBackdrop backdrop;
    TBasicForm basic = MakeBasicForm(DefaultPackage());
    ASSERT_TRUE(ShowBasicForm(basic));
    TWinControl* controls[] = {basic.Button, basic.DefaultButton, basic.DisabledButton, basic.Edit, basic.Group,
                               basic.Status, basic.SimpleStatus,  basic.Panel,          basic.Memo};
    for (TWinControl* control : controls) RepaintNow(control->Handle());
    EXPECT_TRUE(StaysFlat(CountObjects, RepaintsPerControl, [&](int32_t) {
        for (TWinControl* control : controls)
            RedrawWindow(control->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        Pump();
    }));
    FreeForm(basic.Form);
}

}  // namespace
