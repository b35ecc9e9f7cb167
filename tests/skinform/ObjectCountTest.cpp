// The skinned window keeps no GDI or USER object it does not need: the counts are the same before and
// after ten thousand frame paints, a thousand skinned forms made and freed, and two hundred rounds of skin
// off, on and changed. Each test runs a first round before counting, so that what is made once for the
// process (the shared back buffer, the measuring DC, cached fonts and shared cursors) is already there.
#include <gtest/gtest.h>

#include <string>

#include "GdiObjectCounter.h"
#include "InputScript.h"
#include "SkinFixtures.h"
#include "SkinFormKit.h"
#include "UserObjectCounter.h"

using namespace formtest;

namespace {

constexpr int FramePaints = 10000;
constexpr int FormCycles = 1000;
constexpr int SkinCycles = 200;

// Both counters, started together.
struct TObjectCounts {
    GdiObjectCounter Gdi;
    UserObjectCounter User;

    void ExpectFlat(const char* After) const {
        Pump();
        EXPECT_EQ(Gdi.Leaked(), GdiObjectCounts{}) << "GDI objects left after " << After;
        EXPECT_EQ(User.Leaked(), UserObjectCounts{}) << "USER objects left after " << After;
    }
};

class ObjectCountTest : public TSkinFormTest {};

// A full frame paint as the system asks for it; the frame is the active one for the first half of the
// paints and the inactive one for the rest.
void PaintFrame(HWND Window, int Round) {
    if (Round % (FramePaints / 2) == 0) SendMessageW(Window, WM_NCACTIVATE, Round == 0 ? TRUE : FALSE, 0);
    SendMessageW(Window, WM_NCPAINT, 1, 0);
}

TEST_F(ObjectCountTest, TenThousandFramePaintsLeaveTheCountsFlat) {
    TForm* Form = Make(240, 150);
    AddSkinData(Form, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Form));
    const HWND Window = Form->Handle();
    PaintFrame(Window, 0);
    PaintFrame(Window, FramePaints / 2);
    const TObjectCounts Counts;
    for (int Round = 0; Round < FramePaints; ++Round) PaintFrame(Window, Round);
    Counts.ExpectFlat("the frame paints");
    EXPECT_TRUE(SkinnerOf(Window)->FSkinFrame) << "the window is still skinned";
}

TEST_F(ObjectCountTest, AThousandSkinnedFormsMadeAndFreedLeaveTheCountsFlat) {
    TForm* Host = Make(200, 120);
    AddSkinData(Host, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Host));
    // One skinned form made, shown, skinned and freed; the purge of the manager's list runs at its
    // next decision, which the host's activation gives.
    auto Cycle = [&](int Index) {
        TForm* Form = MakeForm(180 + Index % 40, 100, Index % 3 == 0 ? bsDialog : bsSizeable);
        Form->SetLeft(FormLeft + 260);
        const bool Skinned = ShowSkinned(Form);
        FreeForm(Form);
        return Skinned;
    };
    ASSERT_TRUE(Cycle(0));
    ASSERT_TRUE(ShowSkinned(Host));
    const TObjectCounts Counts;
    int Unskinned = 0;
    for (int Index = 1; Index <= FormCycles; ++Index) Unskinned += Cycle(Index) ? 0 : 1;
    EXPECT_EQ(Unskinned, 0) << "forms that were never skinned";
    ASSERT_TRUE(ShowSkinned(Host));
    EXPECT_EQ(SkinManager->FForms.size(), 1u) << "the freed forms' skinners are purged";
    Counts.ExpectFlat("the forms");
}

TEST_F(ObjectCountTest, TwoHundredSkinOffOnAndChangeRoundsLeaveTheCountsFlat) {
    TForm* Form = Make(260, 160);
    TSkinData* Data = AddSkinData(Form, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Form));
    const std::string Default = skintest::WriteTempPackage(DefaultPackage(), "quirn-count-default.skn");
    const std::string Graphite = skintest::WriteTempPackage(GraphitePackage(), "quirn-count-graphite.skn");
    // Off (the window goes back to the system), on (it is skinned again), then the other skin.
    auto Round = [&](int Index) {
        Data->SetActive(false);
        if (!WaitUnskinned(Form->Handle())) return false;
        Data->SetActive(true);
        if (!WaitSkinned(Form->Handle())) return false;
        Data->SetSkinFile(Index % 2 == 0 ? Graphite : Default);
        if (!realinput::PumpUntil([&] { return SkinManager->FActionData == nullptr; })) return false;
        return WaitSkinned(Form->Handle());
    };
    ASSERT_TRUE(Round(0));
    ASSERT_TRUE(Round(1));
    const TObjectCounts Counts;
    for (int Index = 0; Index < SkinCycles; ++Index) ASSERT_TRUE(Round(Index)) << "round " << Index;
    Counts.ExpectFlat("the skin rounds");
    DeleteFileA(Default.c_str());
    DeleteFileA(Graphite.c_str());
}

}  // namespace
