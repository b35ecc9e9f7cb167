// Object counts over many cycles: forms with the basic controls made, skinned and freed, and every
// skinned control repainted many times, leave no GDI object, window, thunk or skinner behind.
#include <gtest/gtest.h>

#include "ControlKit.h"
#include "GdiObjectCounter.h"
#include "framework/controls/WindowProcSubclass.h"
#include "framework/win/ObjectInstance.h"
#include "framework/win/WindowSubclass.h"

using namespace formtest;
using namespace controltest;

namespace {

constexpr int32_t FormCycles = 1000;
constexpr int32_t RepaintsPerControl = 10000;

BOOL CALLBACK CountWindow(HWND Window, LPARAM Data) {
    ++*reinterpret_cast<int32_t*>(Data);
    EnumChildWindows(Window, CountWindow, Data);
    return TRUE;
}

// The windows of this thread, the thunks, and the subclasses left as pass-throughs.
struct TUserCounts {
    int32_t Windows = 0;
    int32_t Thunks = 0;
    int32_t Retired = 0;
    friend bool operator==(const TUserCounts&, const TUserCounts&) = default;
};

TUserCounts CountUserObjects() {
    TUserCounts Counts;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&Counts.Windows));
    Counts.Thunks = ObjectInstanceCount();
    Counts.Retired = win::RetiredSubclassCount() + RetiredWindowProcCount();
    return Counts;
}

void PrintTo(const TUserCounts& Counts, std::ostream* Out) {
    *Out << "windows " << Counts.Windows << ", thunks " << Counts.Thunks << ", retired " << Counts.Retired;
}

TEST(ControlLeakTest, FormsWithTheBasicControlsComeAndGoWithoutLeavingObjects) {
    TBackdrop Backdrop;
    auto Cycle = [] {
        TBasicForm Basic = MakeBasicForm(DefaultPackage());
        const bool Shown = ShowBasicForm(Basic);
        TPellixForm* Skinner = formtest::SkinnerOf(Basic.Form->Handle());
        const bool Mapped = Skinner != nullptr && controltest::SkinnerOf(*Skinner, Basic.Status) != nullptr;
        FreeForm(Basic.Form);
        return Shown && Mapped;
    };
    // The first cycle makes what lives for the program (window classes, the shared buffers).
    ASSERT_TRUE(Cycle());
    const GdiObjectCounter Gdi;
    const TUserCounts User = CountUserObjects();
    for (int32_t Index = 0; Index < FormCycles; ++Index) ASSERT_TRUE(Cycle()) << "cycle " << Index;
    EXPECT_EQ(Gdi.Leaked(), GdiObjectCounts{});
    EXPECT_EQ(CountUserObjects(), User);
}

TEST(ControlLeakTest, RepaintingEverySkinnedControlManyTimesLeavesNoObjects) {
    TBackdrop Backdrop;
    TBasicForm Basic = MakeBasicForm(DefaultPackage());
    ASSERT_TRUE(ShowBasicForm(Basic));
    TWinControl* Controls[] = {Basic.Button, Basic.DefaultButton, Basic.DisabledButton, Basic.Edit, Basic.Group,
                               Basic.Status, Basic.SimpleStatus,  Basic.Panel,          Basic.Memo};
    for (TWinControl* Control : Controls) RepaintNow(Control->Handle());
    const GdiObjectCounter Gdi;
    const TUserCounts User = CountUserObjects();
    for (TWinControl* Control : Controls) {
        const HWND Window = Control->Handle();
        for (int32_t Index = 0; Index < RepaintsPerControl; ++Index)
            RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        Pump();
    }
    EXPECT_EQ(Gdi.Leaked(), GdiObjectCounts{});
    EXPECT_EQ(CountUserObjects(), User);
    FreeForm(Basic.Form);
}

}  // namespace
