// TSkinEdit: the edit-frame skinner.
#include "skin/controls/SkinEdit.h"

#include <optional>

#include "framework/rtl/Trace.h"
#include "framework/win/DeviceContext.h"
#include "skin/controls/SkinRoutines.h"
#include "skin/data/ClassNames.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinFormConstants.h"

QUIRN_DEFINE_CLASS(TSkinEdit)

namespace {

// Inside the shadow line, two white lines cover the system's sunken edge.
constexpr TColor InnerLineColour = clWhite;
// A client area within this of the window's size means the edit has no border to skin.
constexpr int32_t PrintBorderWidth = 2;

int32_t Width(const RECT& rect) { return rect.right - rect.left; }
int32_t Height(const RECT& rect) { return rect.bottom - rect.top; }

bool IsSpinClass(const std::string& className) {
    if (className == UpDownClass) return true;
    for (std::string_view part : SpinClassParts)
        if (className.find(part) != std::string::npos) return true;
    return false;
}

// The skinner of a spin button embedded in an edit. The up-down skinner is not part of the engine
// yet: until it is, spin buttons keep the system's look (and the search repeats at each paint).
TSkinControl* SkinEmbeddedSpin(TSkinEdit&, HWND) { return nullptr; }

}  // namespace

TSkinEdit::TSkinEdit(TComponent* aOwner) : TSkinControl(aOwner) {}

void TSkinEdit::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT: PaintFrame(reinterpret_cast<HDC>(message.WParam)); break;
    case WM_PRINT: PrintBorder(reinterpret_cast<HDC>(message.WParam)); break;
    case WM_SKINPAINTCONTROL:
        if (message.LParam != SkinMagic) break;
        if (message.WParam != 0) {
            TMessage paint{WM_PAINT, message.WParam, 0, 0};
            CallOldProc(paint);
        }
        message.Result = SkinMagic;
        break;
    default: TSkinControl::AfterMessage(message); break;
    }
}

void TSkinEdit::FindUpDown() {
    for (HWND child = GetTopWindow(FHandle); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsSpinClass(LowerClassName(child))) continue;
        FUpDown = SkinEmbeddedSpin(*this, child);
        return;
    }
}

void TSkinEdit::DrawSkin(HDC dc, const RECT& rect) {
    if (FSkinData == nullptr) return;
    if (FSkinData->SkinControls().Contains(xcSpin) && FUpDown == nullptr) FindUpDown();
    RECT client{};
    GetClientRect(FHandle, &client);
    // A client area as large as the window: the edit has no border.
    if (Width(client) == Width(rect) || Height(client) == Height(rect)) return;
    RECT line = rect;
    FrameColorRect(dc, line, FSkinData->FColors[SkinColour::ButtonShadow]);
    InflateRect(&line, -1, -1);
    FrameColorRect(dc, line, InnerLineColour);
    InflateRect(&line, -1, -1);
    FrameColorRect(dc, line, InnerLineColour);
}

void TSkinEdit::PrintBorder(HDC given) {
    RECT rect{};
    if (FSkinData == nullptr || !GetWindowRect(FHandle, &rect)) return;
    FWindowRect = rect;
    OffsetRect(&rect, -rect.left, -rect.top);
    RECT client{};
    GetClientRect(FHandle, &client);
    if (Width(client) + PrintBorderWidth >= Width(rect) || Height(client) + PrintBorderWidth >= Height(rect)) return;
    try {
        std::optional<win::WindowFrameDC> windowDc;
        if (given == nullptr) windowDc.emplace(FHandle);
        const HDC dc = given != nullptr ? given : windowDc->get();
        if (dc == nullptr) return;
        // The inner line in the printing DC's own brush, the outer one in the skin's shadow colour.
        RECT inner = rect;
        InflateRect(&inner, -1, -1);
        FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
        FrameColorRect(dc, rect, FSkinData->FColors[SkinColour::ButtonShadow]);
    } catch (...) {
        QUIRN_TRACE(TTraceChannel::Paint, "edit border print failed");
    }
}
