// The control skinner tests' kit.
#include "ControlKit.h"

#include <algorithm>
#include <sstream>

#include "InputScript.h"
#include "framework/controls/WindowProcSubclass.h"
#include "framework/win/ObjectInstance.h"
#include "framework/win/WindowSubclass.h"

namespace controltest {

using namespace formtest;

namespace {

constexpr int32_t FormWidth = 420;
constexpr int32_t FormHeight = 300;
constexpr int32_t ReportedMismatches = 6;
// Lines of the memo and items of the list box: several times what they show.
constexpr int32_t ScrollingLines = 30;

template <class C>
C* Place(TForm* Form, TWinControl* Parent, int32_t Left, int32_t Top, int32_t Width, int32_t Height) {
    auto* Control = new C(Form);
    Control->SetParent(Parent);
    Control->SetBounds(Left, Top, Width, Height);
    return Control;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM data) {
    ++*reinterpret_cast<int32_t*>(data);
    EnumChildWindows(window, CountWindow, data);
    return TRUE;
}

}  // namespace

TBasicForm MakeBasicForm(const std::vector<uint8_t>& Package) {
    TBasicForm Basic;
    Basic.Form = MakeForm(FormWidth, FormHeight, bsSizeable, TBorderIcons{biSystemMenu}, "Controls");
    TForm* Form = Basic.Form;
    Basic.Button = Place<TButton>(Form, Form, 10, 10, 90, 28);
    Basic.Button->SetCaption("Normal");
    Basic.DefaultButton = Place<TButton>(Form, Form, 110, 10, 90, 28);
    Basic.DefaultButton->SetCaption("Default");
    Basic.DefaultButton->SetDefault(true);
    Basic.DisabledButton = Place<TButton>(Form, Form, 210, 10, 90, 28);
    Basic.DisabledButton->SetCaption("Disabled");
    Basic.DisabledButton->SetEnabled(false);
    Basic.Edit = Place<TEdit>(Form, Form, 10, 50, 120, 22);
    Basic.Edit->SetText("Edit");
    Basic.FlatEdit = Place<TEdit>(Form, Form, 140, 50, 120, 22);
    Basic.FlatEdit->SetBorderStyle(bsNone);
    Basic.FlatEdit->SetText("Flat");
    Basic.Group = Place<TGroupBox>(Form, Form, 10, 85, 200, 90);
    Basic.Group->SetCaption("Group");
    Basic.GroupLabel = Place<TLabel>(Form, Basic.Group, 12, 40, 80, 16);
    Basic.GroupLabel->SetCaption("Label");
    Basic.Memo = Place<TMemo>(Form, Form, 220, 85, 180, 90);
    Basic.Memo->SetScrollBars(ssBoth);
    Basic.Memo->SetWordWrap(false);
    Basic.Panel = Place<TPanel>(Form, Form, 10, 185, 200, 60);
    Basic.Panel->SetCaption("Panel");
    Basic.Panel->SetColor(BasicPanelColour);
    Basic.PanelButton = Place<TButton>(Form, Basic.Panel, 8, 28, 80, 24);
    Basic.PanelButton->SetCaption("In panel");
    Basic.List = Place<TListBox>(Form, Form, 220, 215, 180, 55);
    Basic.List->SetScrollWidth(400);
    for (int32_t Line = 1; Line <= ScrollingLines; ++Line) {
        const std::string Number = std::to_string(Line);
        Basic.Memo->Lines()->Add("Line " + Number + " of the memo, long enough to scroll it sideways");
        Basic.List->Items()->Add("Item " + Number + " of the list box, wider than the box");
    }
    Basic.SimpleStatus = Place<TStatusBar>(Form, Form, 0, 0, 0, 0);
    Basic.SimpleStatus->SetAlign(alNone);
    Basic.SimpleStatus->SetBounds(220, 190, 180, 22);
    Basic.SimpleStatus->SetSizeGrip(false);
    Basic.SimpleStatus->SetSimpleText("Simple text");
    Basic.Status = Place<TStatusBar>(Form, Form, 0, 0, FormWidth, 22);
    Basic.Status->SetAlign(alBottom);
    const char* Texts[] = {"One", "", "Three"};
    const TStatusPanelBevel Bevels[] = {pbLowered, pbRaised, pbNone};
    for (int Index = 0; Index < 3; ++Index) {
        TStatusPanel* Panel = Basic.Status->Panels()->Add();
        Panel->SetText(Texts[Index]);
        Panel->SetBevel(Bevels[Index]);
        Panel->SetWidth(100);
    }
    Basic.Data = AddSkinData(Form, Package);
    return Basic;
}

bool ShowBasicForm(TBasicForm& Basic) { return ShowSkinned(Basic.Form); }

TSkinControl* SkinnerOf(TPellixForm& Skinner, TControl* Control) {
    for (TSkinControlLink* Link : Skinner.FControlSkins) {
        auto* Skin = dynamic_cast<TSkinControl*>(Link);
        if (Skin != nullptr && Skin->Owner() == Control) return Skin;
    }
    return nullptr;
}

TObjectCounts CountObjects() {
    TObjectCounts counts;
    counts.Gdi = GdiObjectCounter::Count();
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&counts.Windows));
    counts.Thunks = ObjectInstanceCount();
    counts.Retired = win::RetiredSubclassCount() + RetiredWindowProcCount();
    return counts;
}

void PrintTo(const TObjectCounts& counts, std::ostream* out) {
    *out << "GDI " << counts.Gdi.ToString() << ", windows " << counts.Windows << ", thunks " << counts.Thunks
         << ", retired " << counts.Retired;
}

void RepaintNow(HWND Window) {
    RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
}

TScreenPixels Shot(HWND Window) { return TScreenPixels(WindowRectOf(Window)); }

bool Near(COLORREF A, COLORREF B, int32_t Tolerance) {
    return std::abs(GetRValue(A) - GetRValue(B)) <= Tolerance && std::abs(GetGValue(A) - GetGValue(B)) <= Tolerance &&
           std::abs(GetBValue(A) - GetBValue(B)) <= Tolerance;
}

COLORREF ToRGB(TColor Color) { return static_cast<COLORREF>(ColorToRGB(Color)); }

TCornerCheck CompareCorners(const TScreenPixels& Shot, const TDataSkinObject& Element, int32_t Frames, int32_t Frame,
                            COLORREF Background) {
    TCornerCheck Check;
    std::ostringstream Report;
    TBitmap& Bitmap = *Element.Bitmap;
    const int32_t CellWidth = Bitmap.Width() / std::max(Frames, 1);
    const int32_t CellLeft = (Frame - 1) * CellWidth;
    const int32_t CellHeight = Bitmap.Height();
    struct TCorner {
        int32_t CellX, CellY, ShotX, ShotY, Width, Height;
    };
    const TCorner Corners[] = {
        {0, 0, 0, 0, Element.LeftWidth, Element.TopHeight},
        {CellWidth - Element.RightWidth, 0, Shot.Width() - Element.RightWidth, 0, Element.RightWidth,
         Element.TopHeight},
        {0, CellHeight - Element.BottomHeight, 0, Shot.Height() - Element.BottomHeight, Element.LeftWidth,
         Element.BottomHeight},
        {CellWidth - Element.RightWidth, CellHeight - Element.BottomHeight, Shot.Width() - Element.RightWidth,
         Shot.Height() - Element.BottomHeight, Element.RightWidth, Element.BottomHeight},
    };
    for (const TCorner& Corner : Corners)
        for (int32_t Y = 0; Y < Corner.Height; ++Y)
            for (int32_t X = 0; X < Corner.Width; ++X) {
                COLORREF Want = BitmapPixel(Bitmap, CellLeft + Corner.CellX + X, Corner.CellY + Y);
                if (Want == MagentaKey && Element.Trans == 1) Want = Background;
                const COLORREF Got = Shot.At(Corner.ShotX + X, Corner.ShotY + Y);
                ++Check.Compared;
                if (Near(Got, Want)) continue;
                if (++Check.Mismatches <= ReportedMismatches)
                    Report << " (" << Corner.ShotX + X << "," << Corner.ShotY + Y << ") got " << std::hex << Got
                           << " want " << Want << std::dec;
            }
    Check.Report = Report.str();
    return Check;
}

TCornerCheck WaitForCorners(HWND Window, const TDataSkinObject& Element, int32_t Frames, int32_t Frame,
                            COLORREF Background) {
    TCornerCheck Check;
    realinput::PumpUntil(
        [&] {
            Check = CompareCorners(Shot(Window), Element, Frames, Frame, Background);
            return Check.Mismatches == 0;
        },
        ScreenPatienceMs);
    return Check;
}

RECT PixelsOfColour(const TScreenPixels& Shot, const RECT& Area, COLORREF Colour, int32_t Tolerance) {
    RECT Box{Area.right, Area.bottom, Area.left, Area.top};
    for (LONG Y = Area.top; Y < Area.bottom; ++Y)
        for (LONG X = Area.left; X < Area.right; ++X) {
            if (!Near(Shot.At(X, Y), Colour, Tolerance)) continue;
            Box.left = std::min(Box.left, X);
            Box.top = std::min(Box.top, Y);
            Box.right = std::max(Box.right, X + 1);
            Box.bottom = std::max(Box.bottom, Y + 1);
        }
    if (Box.right <= Box.left) return RECT{};
    return Box;
}

}  // namespace controltest
