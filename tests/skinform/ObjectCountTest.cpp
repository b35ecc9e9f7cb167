// The skinned window keeps no GDI or USER object it does not need: the counts stay the same over many
// frame paints, many skinned forms made and freed, and many rounds of skin off, on and changed. Each test
// runs a first round before counting, so that what is made once for the process (the shared back buffer,
// the measuring DC, cached fonts and shared cursors) is already there.
#include <gtest/gtest.h>

#include <string>

#include "GdiObjectCounter.h"
#include "InputScript.h"
#include "LeakLoop.h"
#include "SkinFixtures.h"
#include "SkinFormKit.h"
#include "UserObjectCounter.h"
#include "framework/controls/Timer.h"

using namespace formtest;

namespace {

// The suite's rounds; QUIRN_SOAK=1 runs the long loops.
const int FramePaints = LeakRounds(2000, 10000);
const int FormCycles = LeakRounds(200, 1000);
// A skin round changes to the other skin and back (the skins hold different numbers of bitmaps).
const int SkinRounds = LeakRounds(25, 100);

// The GDI and USER objects of the process, after the messages waiting now.
struct TObjectCounts {
    GdiObjectCounts Gdi;
    UserObjectCounts User;
    friend bool operator==(const TObjectCounts&, const TObjectCounts&) = default;
};

TObjectCounts CountObjects() {
    Pump();
    return {GdiObjectCounter::Count(), UserObjectCounter::Count()};
}

void PrintTo(const TObjectCounts& counts, std::ostream* out) {
    *out << "GDI " << counts.Gdi.ToString() << ", USER " << counts.User.ToString();
}

class ObjectCountTest : public TSkinFormTest {};

// The manager's action timer waits a quarter of a second to gather a skin data's requests; a round makes
// one request at a time, so its timer is made to fire at the next tick (the action still runs from the
// timer, as always).
void HurryAction() {
    if (SkinManager->FTimer->Enabled()) SkinManager->FTimer->SetInterval(USER_TIMER_MINIMUM);
}

// A full frame paint as the system asks for it; the frame is the active one for the first half of the
// paints and the inactive one for the rest.
void PaintFrame(HWND Window, int Round) {
    if (Round % (FramePaints / 2) == 0) SendMessageW(Window, WM_NCACTIVATE, Round == 0 ? TRUE : FALSE, 0);
    SendMessageW(Window, WM_NCPAINT, 1, 0);
}

TEST_F(ObjectCountTest, ManyFramePaintsLeaveTheCountsFlat) {
    TForm* Form = Make(240, 150);
    AddSkinData(Form, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Form));
    const HWND Window = Form->Handle();
    PaintFrame(Window, 0);
    PaintFrame(Window, FramePaints / 2);
    EXPECT_TRUE(StaysFlat(CountObjects, FramePaints, [&](int Round) { PaintFrame(Window, Round); }));
    EXPECT_TRUE(SkinnerOf(Window)->FSkinFrame) << "the window is still skinned";
}

TEST_F(ObjectCountTest, ManySkinnedFormsMadeAndFreedLeaveTheCountsFlat) {
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
    // Each look follows the host's activation, which purges the freed forms' skinners.
    auto CountsWithHostActive = [&] {
        EXPECT_TRUE(ShowSkinned(Host));
        return CountObjects();
    };
    EXPECT_TRUE(StaysFlat(CountsWithHostActive, FormCycles, [&](int Index) { return Cycle(Index + 1); }));
    ASSERT_TRUE(ShowSkinned(Host));
    EXPECT_EQ(SkinManager->FForms.size(), 1u) << "the freed forms' skinners are purged";
}

TEST_F(ObjectCountTest, ManySkinOffOnAndChangeRoundsLeaveTheCountsFlat) {
    TForm* Form = Make(260, 160);
    TSkinData* Data = AddSkinData(Form, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Form));
    const std::string Default = skintest::WriteTempPackage(DefaultPackage(), "quirn-count-default.skn");
    const std::string Graphite = skintest::WriteTempPackage(GraphitePackage(), "quirn-count-graphite.skn");
    // Off (the window goes back to the system), on (it is skinned again), then the skin file given.
    auto Change = [&](const std::string& File) {
        Data->SetActive(false);
        HurryAction();
        if (!WaitUnskinned(Form->Handle())) return false;
        Data->SetActive(true);
        HurryAction();
        if (!WaitSkinned(Form->Handle())) return false;
        Data->SetSkinFile(File);
        HurryAction();
        if (!realinput::PumpUntil([&] { return SkinManager->FActionData == nullptr; })) return false;
        return WaitSkinned(Form->Handle());
    };
    auto Round = [&](int) { return Change(Graphite) && Change(Default); };
    ASSERT_TRUE(Round(0));
    EXPECT_TRUE(StaysFlat(CountObjects, SkinRounds, Round));
    DeleteFileA(Default.c_str());
    DeleteFileA(Graphite.c_str());
}

}  // namespace
