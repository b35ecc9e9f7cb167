// The skinned scroll bars: a memo's vertical bar read back from the screen against the skin's
// cells (arrows, thumb) in both bundled skins, the thumb following the system's position after
// scrolling by keyboard, wheel, a real click on the skinned arrow and a real drag of the skinned
// thumb, the arrow's hover and pressed cells under a real mouse; and the overlays' life: hidden and
// shown with the control, a control that makes a new window getting a fresh skinner, a control
// freed while skinned, a bare list box, a bar shorter than two arrows, object counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <sstream>
#include <string>

#include "ControlKit.h"
#include "DesktopState.h"
#include "InputScript.h"
#include "LeakLoop.h"

using namespace formtest;
using namespace controltest;

namespace {

constexpr int32_t MemoLines = 200;
// The suite's rounds; QUIRN_SOAK=1 runs the long loop.
const int32_t RepaintCycles = LeakRounds(1000, 10000);
// Rows of the thumb's top edge compared on the screen (within its nine-slice top margin).
constexpr int32_t ThumbEdgeRows = 3;
// Stretching may round a source pixel either way.
constexpr int32_t StretchSlack = 1;

int32_t Width(const RECT& Rect) { return Rect.right - Rect.left; }
int32_t Height(const RECT& Rect) { return Rect.bottom - Rect.top; }

// The pixels of one cell of a strip (magenta standing for Background), read once.
struct TCellPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<COLORREF> Pixels;
    COLORREF At(int32_t X, int32_t Y) const {
        return Pixels[static_cast<size_t>(std::clamp(Y, 0, Height - 1) * Width + std::clamp(X, 0, Width - 1))];
    }
};

TCellPicture CellPicture(TBitmap& Strip, int32_t CellCount, int32_t Cell, COLORREF Background) {
    TCellPicture Picture;
    Picture.Width = Strip.Width() / CellCount;
    Picture.Height = Strip.Height();
    for (int32_t Y = 0; Y < Picture.Height; ++Y)
        for (int32_t X = 0; X < Picture.Width; ++X) {
            const COLORREF Pixel = BitmapPixel(Strip, (Cell - 1) * Picture.Width + X, Y);
            Picture.Pixels.push_back(Pixel == MagentaKey ? Background : Pixel);
        }
    return Picture;
}

// Pixels of Area (in Shot) that show no pixel of Picture stretched to DestWidth x DestHeight at
// Area's top-left (a pixel may come from a neighbour of its nearest source pixel).
int32_t StretchedMismatches(const TScreenPixels& Shot, const RECT& Area, const TCellPicture& Picture, int32_t DestWidth,
                            int32_t DestHeight) {
    int32_t Mismatches = 0;
    for (int32_t Y = 0; Y < Height(Area); ++Y)
        for (int32_t X = 0; X < Width(Area); ++X) {
            const int32_t SourceX = X * Picture.Width / DestWidth;
            const int32_t SourceY = Y * Picture.Height / DestHeight;
            const COLORREF Got = Shot.At(Area.left + X, Area.top + Y);
            bool Found = false;
            for (int32_t DY = -StretchSlack; DY <= StretchSlack && !Found; ++DY)
                for (int32_t DX = -StretchSlack; DX <= StretchSlack && !Found; ++DX)
                    Found = Near(Got, Picture.At(SourceX + DX, SourceY + DY));
            Mismatches += Found ? 0 : 1;
        }
    return Mismatches;
}

// The first few mismatching pixels, for the failure message.
std::string DescribeMismatches(const TScreenPixels& Shot, const RECT& Area, const TCellPicture& Picture,
                               int32_t DestWidth, int32_t DestHeight) {
    std::ostringstream Out;
    int32_t Shown = 0;
    for (int32_t Y = 0; Y < Height(Area) && Shown < 6; ++Y)
        for (int32_t X = 0; X < Width(Area) && Shown < 6; ++X) {
            const RECT One{Area.left + X, Area.top + Y, Area.left + X + 1, Area.top + Y + 1};
            (void)One;
            const int32_t SourceX = X * Picture.Width / DestWidth;
            const int32_t SourceY = Y * Picture.Height / DestHeight;
            const COLORREF Got = Shot.At(Area.left + X, Area.top + Y);
            if (Near(Got, Picture.At(SourceX, SourceY))) continue;
            ++Shown;
            Out << " (" << X << "," << Y << ") got " << std::hex << Got << " want " << Picture.At(SourceX, SourceY)
                << std::dec;
        }
    return Out.str();
}

bool SameRect(const RECT& A, const RECT& B) { return EqualRect(&A, &B) != FALSE; }

class ScrollbarTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        Basic = MakeBasicForm(BundledPackage(GetParam()));
        Basic.Memo->SetScrollBars(ssVertical);
        std::string Text;
        for (int32_t Line = 0; Line < MemoLines; ++Line) Text += "Line " + std::to_string(Line) + "\r\n";
        Basic.Memo->SetText(Text);
        ASSERT_TRUE(ShowBasicForm(Basic));
        Skinner = formtest::SkinnerOf(Basic.Form->Handle());
        ASSERT_NE(Skinner, nullptr);
        Skin = SkinnerAs<TSkinScrollbar>(*Skinner, Basic.Memo);
        ASSERT_NE(Skin, nullptr) << "the memo has a scroll-bar skinner";
        ASSERT_NE(Skin->FVertBar, nullptr);
        Bar = Skin->FVertBar;
        Face = ToRGB(Basic.Data->ButtonFaceColor());
        const RECT Form = WindowRectOf(Basic.Form->Handle());
        realinput::Drive([&] { MoveMouse(POINT{Form.right + 60, Form.top + 10}); });
        RepaintNow(Basic.Form->Handle());
    }
    void TearDown() override { FreeForm(Basic.Form); }

    TBitmap& Strip() const { return *Basic.Data->FScrollbar->Bitmap; }
    // The thickness the skin's strip gives the bar.
    int32_t Thickness() const {
        const int32_t Strip = Basic.Data->FScrollbar->Bitmap->Height();
        const int32_t Arrow = GetSystemMetrics(SM_CXHSCROLL);
        return std::abs(Strip - Arrow) > 2 ? Arrow : Strip;
    }
    SCROLLBARINFO SystemBar() const {
        SCROLLBARINFO Info{};
        Info.cbSize = sizeof(Info);
        GetScrollBarInfo(Basic.Memo->Handle(), OBJID_VSCROLL, &Info);
        return Info;
    }
    RECT OverlayRect() const { return WindowRectOf(Bar->Handle()); }

    // Mismatches of an arrow cell at the first (top) or second (bottom) arrow of the overlay.
    int32_t ArrowMismatches(bool First, int32_t Cell) const {
        const RECT Overlay = OverlayRect();
        const int32_t Arrow = GetSystemMetrics(SM_CXHSCROLL);
        const TScreenPixels Pixels(Overlay);
        // The arrow covers the skin's thickness of the bar (the rest shows the face colour).
        const int32_t Across = std::min(Pixels.Width(), Thickness());
        const RECT Area = First ? RECT{0, 0, Across, Arrow} : RECT{0, Pixels.Height() - Arrow, Across, Pixels.Height()};
        return StretchedMismatches(Pixels, Area, CellPicture(Strip(), ScrollbarCellCount, Cell, Face), Thickness(),
                                   Arrow);
    }
    std::string DescribeArrow(bool First, int32_t Cell) const {
        const RECT Overlay = OverlayRect();
        const int32_t Arrow = GetSystemMetrics(SM_CXHSCROLL);
        const TScreenPixels Pixels(Overlay);
        // The arrow covers the skin's thickness of the bar (the rest shows the face colour).
        const int32_t Across = std::min(Pixels.Width(), Thickness());
        const RECT Area = First ? RECT{0, 0, Across, Arrow} : RECT{0, Pixels.Height() - Arrow, Across, Pixels.Height()};
        return DescribeMismatches(Pixels, Area, CellPicture(Strip(), ScrollbarCellCount, Cell, Face), Thickness(),
                                  Arrow);
    }
    // Mismatches of the thumb's top edge (frame Frame of its look) drawn at Top (bar coordinates),
    // its transparent pixels left out.
    int32_t ThumbEdgeMismatchesAt(int32_t Top, TScrollPartLook Look = TScrollPartLook::Normal) const {
        const TDataSkinObject& Thumb = *Basic.Data->FVertScrollThumb;
        const int32_t Frames = Basic.Data->FHorzScrollThumb->Frame;
        const int32_t CellWidth = Thumb.Bitmap->Width() / Frames;
        const RECT Overlay = OverlayRect();
        const TScreenPixels Pixels(Overlay);
        int32_t Mismatches = 0;
        for (int32_t Y = 0; Y < ThumbEdgeRows; ++Y)
            for (int32_t X = 0; X < std::min(CellWidth, Pixels.Width()); ++X) {
                const COLORREF Want = BitmapPixel(*Thumb.Bitmap, (FrameOf(Look) - 1) * CellWidth + X, Y);
                if (Want == MagentaKey) continue;
                Mismatches += Near(Pixels.At(X, Top + Y), Want) ? 0 : 1;
            }
        return Mismatches;
    }
    // Handles messages until the skinned thumb shows where the system has it; the system's thumb top.
    int32_t ExpectThumbAtSystemPosition(const char* After) {
        int32_t Top = 0;
        const bool Shown = realinput::PumpUntil(
            [&] {
                Top = SystemBar().xyThumbTop;
                return ThumbEdgeMismatchesAt(Top) == 0;
            },
            ScreenPatienceMs);
        EXPECT_TRUE(Shown) << "after " << After << ": thumb not shown at " << Top << " (" << ThumbEdgeMismatchesAt(Top)
                           << " mismatches)";
        return Top;
    }
    int32_t FirstVisibleLine() const {
        return static_cast<int32_t>(SendMessageW(Basic.Memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
    }
    POINT OnOverlay(int32_t AlongBar) const {
        const RECT Overlay = OverlayRect();
        return POINT{(Overlay.left + Overlay.right) / 2, Overlay.top + AlongBar};
    }

    TBackdrop Backdrop;
    TBasicForm Basic;
    TPellixForm* Skinner = nullptr;
    TSkinScrollbar* Skin = nullptr;
    TWScrollbar* Bar = nullptr;
    COLORREF Face = 0;
};

TEST_P(ScrollbarTest, TheMemosVerticalBarShowsTheSkinsArrowsAndThumbOverTheSystemBar) {
    EXPECT_TRUE(Bar->FShowing);
    EXPECT_TRUE(IsWindowVisible(Bar->Handle()));
    ASSERT_NE(Skin->FHorzBar, nullptr);
    EXPECT_FALSE(Skin->FHorzBar->FShowing) << "a memo with a vertical bar only";
    EXPECT_FALSE(IsWindowVisible(Skin->FHorzBar->Handle()));
    // The overlay lies exactly over the system's bar, a sibling just above the memo.
    const SCROLLBARINFO System = SystemBar();
    EXPECT_TRUE(SameRect(System.rcScrollBar, OverlayRect()));
    EXPECT_EQ(GetParent(Bar->Handle()), GetParent(Basic.Memo->Handle()));
    EXPECT_EQ(GetWindow(Basic.Memo->Handle(), GW_HWNDPREV), Bar->Handle());
    EXPECT_EQ(GetWindowLongW(Bar->Handle(), GWL_EXSTYLE), WS_EX_TOOLWINDOW);

    const int32_t UpNormal = CellOf(TScrollPicture::UpArrow, TScrollPartLook::Normal);
    const int32_t DownNormal = CellOf(TScrollPicture::DownArrow, TScrollPartLook::Normal);
    EXPECT_TRUE(realinput::PumpUntil([&] { return ArrowMismatches(true, UpNormal) == 0; }, ScreenPatienceMs))
        << ArrowMismatches(true, UpNormal) << " pixels of the up arrow differ";
    EXPECT_EQ(ArrowMismatches(false, DownNormal), 0) << DescribeArrow(false, DownNormal);
    // The comparison tells the cells apart.
    EXPECT_GT(ArrowMismatches(true, DownNormal), 0);
    // The thumb at the top, as the system has it.
    EXPECT_EQ(ExpectThumbAtSystemPosition("showing"), GetSystemMetrics(SM_CYVSCROLL));
}

TEST_P(ScrollbarTest, TheThumbFollowsKeyboardWheelArrowClickAndDrag) {
    const int32_t Start = ExpectThumbAtSystemPosition("showing");
    Basic.Memo->SetFocus();
    Pump();
    // Keyboard: to the end and back.
    realinput::Drive([] { PressKey(VK_END, VK_CONTROL); });
    EXPECT_TRUE(realinput::PumpUntil([&] { return FirstVisibleLine() > MemoLines / 2; })) << "Ctrl+End scrolled";
    const int32_t AtEnd = ExpectThumbAtSystemPosition("Ctrl+End");
    EXPECT_GT(AtEnd, Start + 20);
    EXPECT_GT(ThumbEdgeMismatchesAt(Start), 0) << "the thumb left the top";
    realinput::Drive([] { PressKey(VK_HOME, VK_CONTROL); });
    EXPECT_TRUE(realinput::PumpUntil([&] { return FirstVisibleLine() == 0; })) << "Ctrl+Home scrolled";
    EXPECT_EQ(ExpectThumbAtSystemPosition("Ctrl+Home"), Start);

    // Wheel: a few notches down over the memo.
    const RECT Memo = WindowRectOf(Basic.Memo->Handle());
    realinput::Drive([&] {
        Wheel(POINT{Memo.left + 20, (Memo.top + Memo.bottom) / 2}, -4);
        realinput::WaitFor([&] { return FirstVisibleLine() > 0; });
    });
    EXPECT_TRUE(realinput::PumpUntil([&] { return FirstVisibleLine() > 0; }))
        << "the wheel scrolled; " << DescribeInputState();
    const int32_t AfterWheel = ExpectThumbAtSystemPosition("the wheel");
    EXPECT_GT(AfterWheel, Start);

    // A real click on the skinned down arrow scrolls one line.
    const int32_t Arrow = GetSystemMetrics(SM_CXHSCROLL);
    const int32_t LineBefore = FirstVisibleLine();
    const POINT DownArrow = OnOverlay(Height(OverlayRect()) - Arrow / 2);
    realinput::Drive([&] { Click(DownArrow); });
    EXPECT_TRUE(realinput::PumpUntil([&] { return FirstVisibleLine() == LineBefore + 1; }))
        << "line " << FirstVisibleLine() << " after the click, " << LineBefore << " before";
    ExpectThumbAtSystemPosition("a click on the arrow");

    // A real drag of the skinned thumb.
    const SCROLLBARINFO Before = SystemBar();
    const POINT Grab = OnOverlay((Before.xyThumbTop + Before.xyThumbBottom) / 2);
    const POINT Drop{Grab.x, Grab.y + 30};
    std::atomic<int32_t> DraggedTop{-1};
    realinput::Drive([&] {
        MoveMouse(Grab);
        realinput::Button(Grab, true);
        realinput::WaitFor([&] { return Bar->FTracking; });
        MoveMouse(Drop);
        // While the button is held the skinned thumb follows the cursor.
        realinput::WaitFor([&] {
            if (!KeepCursorAt(Drop)) return false;
            const int32_t Wanted = Before.xyThumbTop + 30;
            if (ThumbEdgeMismatchesAt(Wanted, TScrollPartLook::Pressed) != 0) return false;
            DraggedTop = Wanted;
            return true;
        });
        realinput::Button(Drop, false);
    });
    EXPECT_EQ(DraggedTop, Before.xyThumbTop + 30) << "the thumb did not follow the cursor during the drag";
    EXPECT_TRUE(realinput::PumpUntil([&] { return !Bar->FTracking; }));
    // The cursor away from the thumb (over it, the thumb shows its hover frame).
    const RECT Form = WindowRectOf(Basic.Form->Handle());
    realinput::Drive([&] { MoveMouse(POINT{Form.right + 60, Form.top + 10}); });
    const int32_t AfterDrag = ExpectThumbAtSystemPosition("the drag");
    EXPECT_GT(AfterDrag, Before.xyThumbTop + 15);
    EXPECT_GT(FirstVisibleLine(), LineBefore + 1);
}

TEST_P(ScrollbarTest, TheArrowShowsItsHoverAndPressedCellsUnderARealMouse) {
    const int32_t Arrow = GetSystemMetrics(SM_CXHSCROLL);
    const POINT DownArrow = OnOverlay(Height(OverlayRect()) - Arrow / 2);
    const int32_t Hover = CellOf(TScrollPicture::DownArrow, TScrollPartLook::Hover);
    const int32_t Pressed = CellOf(TScrollPicture::DownArrow, TScrollPartLook::Pressed);
    realinput::Drive([&] { MoveMouse(DownArrow); });
    EXPECT_TRUE(realinput::PumpUntil([&] { return Bar->FHotPart == ScrollPartSecondArrow; }));
    EXPECT_TRUE(realinput::PumpUntil([&] { return ArrowMismatches(false, Hover) == 0; }, ScreenPatienceMs))
        << ArrowMismatches(false, Hover) << " pixels of the hover cell differ";
    std::atomic<bool> PressedShown{false};
    realinput::Drive([&] {
        realinput::Button(DownArrow, true);
        PressedShown = realinput::WaitFor([&] { return ArrowMismatches(false, Pressed) == 0; }, ScreenPatienceMs);
        realinput::Button(DownArrow, false);
    });
    EXPECT_TRUE(PressedShown) << "the pressed cell while the button is held";
    EXPECT_TRUE(realinput::PumpUntil([&] { return !Bar->FTracking; }));
    // The cursor leaves: the normal cell again.
    const RECT Form = WindowRectOf(Basic.Form->Handle());
    realinput::Drive([&] { MoveMouse(POINT{Form.right + 60, Form.top + 10}); });
    const int32_t Normal = CellOf(TScrollPicture::DownArrow, TScrollPartLook::Normal);
    EXPECT_TRUE(realinput::PumpUntil([&] { return ArrowMismatches(false, Normal) == 0; }, ScreenPatienceMs));
    EXPECT_EQ(Bar->FHotPart, ScrollPartNone);
}

INSTANTIATE_TEST_SUITE_P(BundledSkins, ScrollbarTest, ::testing::Values("DEFAULT_SKN", "GRAPHITE_SKN"));

// --- The overlays' life ----------------------------------------------------------------------------

class ScrollbarLifeTest : public ::testing::Test {
protected:
    void SetUp() override {
        Basic = MakeBasicForm(DefaultPackage());
        Basic.Memo->SetScrollBars(ssVertical);
        Basic.Memo->Lines()->Clear();
        for (int32_t Line = 0; Line < MemoLines; ++Line)
            Basic.Memo->Lines()->Add(std::string(60, 'x') + std::to_string(Line));
        ASSERT_TRUE(ShowBasicForm(Basic));
        Skinner = formtest::SkinnerOf(Basic.Form->Handle());
        ASSERT_NE(Skinner, nullptr);
    }
    void TearDown() override {
        if (Basic.Form != nullptr) FreeForm(Basic.Form);
    }
    TSkinScrollbar* MemoSkin() { return SkinnerAs<TSkinScrollbar>(*Skinner, Basic.Memo); }
    int32_t SkinnersOf(TControl* Control) const {
        int32_t Count = 0;
        for (TSkinControlLink* Link : Skinner->FControlSkins) {
            auto* Skin = dynamic_cast<TSkinControl*>(Link);
            if (Skin != nullptr && Skin->Owner() == Control) ++Count;
        }
        return Count;
    }

    TBackdrop Backdrop;
    TBasicForm Basic;
    TPellixForm* Skinner = nullptr;
};

TEST_F(ScrollbarLifeTest, HidingTheControlHidesItsOverlaysAndShowingItPlacesThemAgain) {
    TSkinScrollbar* Skin = MemoSkin();
    ASSERT_NE(Skin, nullptr);
    ASSERT_TRUE(Skin->FVertBar->FShowing);
    Basic.Memo->SetVisible(false);
    Pump();
    EXPECT_FALSE(Skin->FVertBar->FShowing);
    EXPECT_FALSE(IsWindowVisible(Skin->FVertBar->Handle()));
    Basic.Memo->SetVisible(true);
    Pump();
    EXPECT_TRUE(Skin->FVertBar->FShowing);
    EXPECT_TRUE(IsWindowVisible(Skin->FVertBar->Handle()));
    SCROLLBARINFO System{};
    System.cbSize = sizeof(System);
    GetScrollBarInfo(Basic.Memo->Handle(), OBJID_VSCROLL, &System);
    EXPECT_TRUE(SameRect(System.rcScrollBar, WindowRectOf(Skin->FVertBar->Handle())));
    // Moved and resized, the overlay goes with the bar.
    Basic.Memo->SetBounds(230, 90, 150, 70);
    Pump();
    GetScrollBarInfo(Basic.Memo->Handle(), OBJID_VSCROLL, &System);
    EXPECT_TRUE(SameRect(System.rcScrollBar, WindowRectOf(Skin->FVertBar->Handle())));
}

TEST_F(ScrollbarLifeTest, AControlThatMakesANewWindowGetsAFreshSkinnerWithBothBarsAndTheCorner) {
    TSkinScrollbar* Old = MemoSkin();
    ASSERT_NE(Old, nullptr);
    const HWND OldWindow = Basic.Memo->Handle();
    const HWND OldOverlay = Old->FVertBar->Handle();
    Basic.Memo->SetWordWrap(false);
    Basic.Memo->SetScrollBars(ssBoth);  // the memo makes a new window
    ASSERT_NE(Basic.Memo->Handle(), OldWindow);
    TSkinScrollbar* Fresh = nullptr;
    ASSERT_TRUE(realinput::PumpUntil([&] {
        Fresh = MemoSkin();
        return Fresh != nullptr && Fresh->FHandle == Basic.Memo->Handle();
    })) << "WM_SKINRESCROLL gives the memo a new skinner";
    EXPECT_EQ(SkinnersOf(Basic.Memo), 1);
    EXPECT_FALSE(IsWindow(OldOverlay)) << "the old skinner's overlays went with it";
    EXPECT_EQ(Fresh->FStatus, ControlSkinAttached);
    EXPECT_EQ(SendMessageW(Basic.Memo->Handle(), WM_SKINQUERY, 0, 0), SkinQueryAnswer);
    RepaintNow(Basic.Form->Handle());
    EXPECT_TRUE(Fresh->FVertBar->FShowing);
    EXPECT_TRUE(Fresh->FHorzBar->FShowing);
    // The square between the bars in the skin's face colour, and the flat border around the memo.
    const TScreenPixels Pixels = Shot(Basic.Memo->Handle());
    const RECT& Vert = Fresh->FVertBar->FBarRect;
    const RECT& Horz = Fresh->FHorzBar->FBarRect;
    POINT Client{0, 0};
    ClientToScreen(Basic.Memo->Handle(), &Client);
    const RECT Window = WindowRectOf(Basic.Memo->Handle());
    const POINT Corner{(Vert.left + Vert.right) / 2 + Client.x - Window.left,
                       (Horz.top + Horz.bottom) / 2 + Client.y - Window.top};
    const COLORREF Face = ToRGB(Basic.Data->ButtonFaceColor());
    EXPECT_TRUE(Near(Pixels.At(Corner.x, Corner.y), Face)) << std::hex << Pixels.At(Corner.x, Corner.y);
    EXPECT_TRUE(Near(Pixels.At(0, Pixels.Height() / 2), ToRGB(Basic.Data->FColors[SkinColour::ButtonShadow])));
    EXPECT_TRUE(Near(Pixels.At(1, Pixels.Height() / 2), Face));
}

TEST_F(ScrollbarLifeTest, AControlFreedWhileSkinnedLeavesNoSkinnerAndNoOverlay) {
    TSkinScrollbar* Skin = MemoSkin();
    ASSERT_NE(Skin, nullptr);
    const HWND Overlays[] = {Skin->FVertBar->Handle(), Skin->FHorzBar->Handle()};
    TMemo* Memo = Basic.Memo;
    delete Memo;
    Basic.Memo = nullptr;
    Pump();
    EXPECT_EQ(SkinnersOf(Memo), 0);
    for (HWND Overlay : Overlays) EXPECT_FALSE(IsWindow(Overlay));
    for (TSkinControlLink* Link : Skinner->FControlSkins) EXPECT_NE(Link->SkinStatus(), ControlSkinGone);
    // The form repaints and goes without touching the freed skinner.
    RepaintNow(Basic.Form->Handle());
}

TEST_F(ScrollbarLifeTest, ABarShorterThanTwoArrowsSplitsItsLengthBetweenThem) {
    Basic.Memo->SetBounds(220, 85, 180, 26);
    Pump();
    TSkinScrollbar* Skin = MemoSkin();
    ASSERT_NE(Skin, nullptr);
    ASSERT_TRUE(Skin->FVertBar->FShowing);
    const RECT Overlay = WindowRectOf(Skin->FVertBar->Handle());
    const int32_t Length = Height(Overlay);
    ASSERT_LT(Length, 2 * GetSystemMetrics(SM_CXHSCROLL));
    TBitmap& Strip = *Basic.Data->FScrollbar->Bitmap;
    const COLORREF Face = ToRGB(Basic.Data->ButtonFaceColor());
    const int32_t Half = Length / 2;
    const int32_t Thickness = Strip.Height();  // within two pixels of the system's arrow in this skin
    const TCellPicture Up = CellPicture(Strip, ScrollbarCellCount, 9, Face);
    const TCellPicture Down = CellPicture(Strip, ScrollbarCellCount, 13, Face);
    EXPECT_TRUE(realinput::PumpUntil(
        [&] {
            const TScreenPixels Pixels(Overlay);
            return StretchedMismatches(Pixels, RECT{0, 0, Pixels.Width(), Half}, Up, Thickness, Half) == 0 &&
                   StretchedMismatches(Pixels, RECT{0, Length - Half, Pixels.Width(), Length}, Down, Thickness, Half) ==
                       0;
        },
        ScreenPatienceMs));
}

TEST_F(ScrollbarLifeTest, ABareListBoxWearsSkinnedBarsThroughItsWindowProcedure) {
    const HWND List =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                        10, 185, 190, 60, Basic.Form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(List, nullptr);
    for (int32_t Item = 0; Item < MemoLines; ++Item)
        SendMessageW(List, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(Item).c_str()));
    auto* Skin = new TSkinScrollbarH(nullptr);
    Skin->AttachHandle(List, Basic.Data, Skinner, Skinner->FControlCanvas.get());
    ASSERT_TRUE(Skin->FAttached);
    EXPECT_EQ(SendMessageW(List, WM_SKINQUERY, 0, 0), SkinQueryAnswer);
    ASSERT_NE(Skin->FVertBar, nullptr);
    EXPECT_TRUE(Skin->FVertBar->FShowing);
    EXPECT_EQ(GetParent(Skin->FVertBar->Handle()), Basic.Form->Handle());
    // Scrolled by the program, the overlay's thumb follows at the next paint.
    SendMessageW(List, LB_SETTOPINDEX, MemoLines / 2, 0);
    RepaintNow(Basic.Form->Handle());
    SCROLLBARINFO System{};
    System.cbSize = sizeof(System);
    GetScrollBarInfo(List, OBJID_VSCROLL, &System);
    EXPECT_TRUE(realinput::PumpUntil([&] { return Skin->FVertBar->FThumbStart == System.xyThumbTop; }))
        << Skin->FVertBar->FThumbStart << " vs " << System.xyThumbTop;
    const HWND Overlay = Skin->FVertBar->Handle();
    DestroyWindow(List);
    EXPECT_EQ(Skin->FStatus, ControlSkinGone);
    Skinner->PurgeControlSkins();  // frees the skinner of the window that went, and its overlays
    EXPECT_FALSE(IsWindow(Overlay));
}

TEST_F(ScrollbarLifeTest, AScrollBarControlsThumbComesFromItsOwnRangeWithAnEightPixelMinimum) {
    TSkinScrollbar* Skin = MemoSkin();
    ASSERT_NE(Skin, nullptr);
    constexpr int32_t BarLength = 150;
    const HWND Control = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 400, 20, 16, BarLength,
                                         Basic.Form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(Control, nullptr);
    auto* Bar = new TWScrollbar(Skin);
    Bar->BindHandle(Skin, Control, ScrollBarControl);
    EXPECT_EQ(Bar->FVertical, 1);
    const int32_t Arrow = GetSystemMetrics(SM_CXHSCROLL);
    const int32_t Track = BarLength - 2 * Arrow;
    auto Thumb = [&](int32_t Page, int32_t Pos) {
        SCROLLINFO Info{sizeof(Info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, static_cast<UINT>(Page), Pos, 0};
        SetScrollInfo(Control, SB_CTL, &Info, TRUE);
        TScrollBarGeometry Geometry;
        EXPECT_TRUE(Bar->ReadGeometry(Geometry));
        return std::pair{Geometry.ThumbTop, Geometry.ThumbBottom};
    };
    // A page of 21 in a range of 100: a thumb of a fifth of the track, at the top, then further down.
    EXPECT_EQ(Thumb(21, 0), (std::pair{Arrow, Arrow + MulDiv(Track, 20, 100)}));
    const auto [Top, Bottom] = Thumb(21, 40);
    EXPECT_EQ(Top, Arrow + MulDiv(Track, 40, 100));
    EXPECT_EQ(Bottom - Top, MulDiv(Track, 20, 100));
    // A page covering nearly the whole range still gives an 8-pixel thumb, placed in what is left.
    const auto [NearTop, NearBottom] = Thumb(2, 50);
    EXPECT_EQ(NearBottom - NearTop, MinimumThumbLength);
    EXPECT_EQ(NearTop, Arrow + MulDiv(Track - MinimumThumbLength, 50, 100));
    // Without a page the thumb is an arrow long.
    const auto [NoPageTop, NoPageBottom] = Thumb(0, 100);
    EXPECT_EQ(NoPageBottom - NoPageTop, Arrow);
    EXPECT_EQ(NoPageTop, Arrow + MulDiv(BarLength - 3 * Arrow, 100, 100));
    delete Bar;
    DestroyWindow(Control);
}

TEST_F(ScrollbarLifeTest, ScrollingAndRepaintingManyTimesLeavesNoObjects) {
    TSkinScrollbar* Skin = MemoSkin();
    ASSERT_NE(Skin, nullptr);
    const HWND Memo = Basic.Memo->Handle();
    const HWND Overlay = Skin->FVertBar->Handle();
    // Each cycle scrolls a line and composes the whole bar again (not the picture kept from before).
    auto Cycle = [&](int32_t Index) {
        SendMessageW(Memo, EM_LINESCROLL, 0, Index % 2 == 0 ? 1 : -1);
        UpdateWindow(Memo);
        Skin->FVertBar->ForgetPicture();
        InvalidateRect(Overlay, nullptr, FALSE);
        UpdateWindow(Overlay);
    };
    Cycle(0);
    Cycle(1);
    EXPECT_TRUE(StaysFlat(CountObjects, RepaintCycles, [&](int32_t Index) {
        Cycle(Index);
        Pump();
    }));
}

}  // namespace
