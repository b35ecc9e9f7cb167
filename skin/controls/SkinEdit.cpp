// TSkinEdit: the edit-frame skinner.
#include "skin/controls/SkinEdit.h"

#include <optional>

#include "framework/rtl/Trace.h"
#include "framework/win/DeviceContext.h"
#include "skin/controls/SkinRoutines.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinFormConstants.h"

QUIRN_DEFINE_CLASS(TSkinEdit)

namespace {

// Lower-case class names of spin buttons: exact, and parts of a name.
constexpr std::string_view UpDownClass = "msctls_updown32";
constexpr std::string_view SpinClassParts[] = {"spin", "updown"};
// Inside the shadow line, two white lines cover the system's sunken edge.
constexpr TColor InnerLineColour = clWhite;
// A client area within this of the window's size means the edit has no border to skin.
constexpr int32_t PrintBorderWidth = 2;

int32_t Width(const RECT& Rect) { return Rect.right - Rect.left; }
int32_t Height(const RECT& Rect) { return Rect.bottom - Rect.top; }

bool IsSpinClass(const std::string& Class) {
    if (Class == UpDownClass) return true;
    for (std::string_view Part : SpinClassParts)
        if (Class.find(Part) != std::string::npos) return true;
    return false;
}

// The skinner of a spin button embedded in an edit. The up-down skinner is not part of the engine
// yet: until it is, spin buttons keep the system's look (and the search repeats at each paint).
TSkinControl* SkinEmbeddedSpin(TSkinEdit&, HWND) { return nullptr; }

}  // namespace

TSkinEdit::TSkinEdit(TComponent* AOwner) : TSkinControl(AOwner) {}

void TSkinEdit::AfterMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT: PaintFrame(reinterpret_cast<HDC>(Message.WParam)); break;
    case WM_PRINT: PrintBorder(reinterpret_cast<HDC>(Message.WParam)); break;
    case WM_SKINPAINTCONTROL:
        if (Message.LParam != SkinMagic) break;
        if (Message.WParam != 0) {
            TMessage Paint{WM_PAINT, Message.WParam, 0, 0};
            CallOldProc(Paint);
        }
        Message.Result = SkinMagic;
        break;
    default: TSkinControl::AfterMessage(Message); break;
    }
}

void TSkinEdit::FindUpDown() {
    for (HWND Child = GetTopWindow(FHandle); Child != nullptr; Child = GetWindow(Child, GW_HWNDNEXT)) {
        if (!IsSpinClass(LowerClassName(Child))) continue;
        FUpDown = SkinEmbeddedSpin(*this, Child);
        return;
    }
}

void TSkinEdit::DrawSkin(HDC DC, const RECT& Rect) {
    if (FSkinData == nullptr) return;
    if (FSkinData->SkinControls().Contains(xcSpin) && FUpDown == nullptr) FindUpDown();
    RECT Client{};
    GetClientRect(FHandle, &Client);
    // A client area as large as the window: the edit has no border.
    if (Width(Client) == Width(Rect) || Height(Client) == Height(Rect)) return;
    RECT Line = Rect;
    FrameColorRect(DC, Line, FSkinData->FColors[SkinColour::ButtonShadow]);
    InflateRect(&Line, -1, -1);
    FrameColorRect(DC, Line, InnerLineColour);
    InflateRect(&Line, -1, -1);
    FrameColorRect(DC, Line, InnerLineColour);
}

void TSkinEdit::PrintBorder(HDC Given) {
    RECT Rect{};
    if (FSkinData == nullptr || !GetWindowRect(FHandle, &Rect)) return;
    FWindowRect = Rect;
    OffsetRect(&Rect, -Rect.left, -Rect.top);
    RECT Client{};
    GetClientRect(FHandle, &Client);
    if (Width(Client) + PrintBorderWidth >= Width(Rect) || Height(Client) + PrintBorderWidth >= Height(Rect)) return;
    try {
        std::optional<win::WindowFrameDC> WindowDC;
        if (Given == nullptr) WindowDC.emplace(FHandle);
        const HDC DC = Given != nullptr ? Given : WindowDC->get();
        if (DC == nullptr) return;
        // The inner line in the printing DC's own brush, the outer one in the skin's shadow colour.
        RECT Inner = Rect;
        InflateRect(&Inner, -1, -1);
        FrameRect(DC, &Inner, static_cast<HBRUSH>(GetCurrentObject(DC, OBJ_BRUSH)));
        FrameColorRect(DC, Rect, FSkinData->FColors[SkinColour::ButtonShadow]);
    } catch (...) {
        QUIRN_TRACE(TTraceChannel::Paint, "edit border print failed");
    }
}
