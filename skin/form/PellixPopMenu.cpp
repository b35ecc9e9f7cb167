// TPellixPopMenu: the window layer of the skinned popup menus — the menu window's frame and
// background painted from "MenuBackground", also when the system prints the window for its
// opening animation.
#include "skin/form/PellixPopMenu.h"

#include "framework/rtl/Trace.h"
#include "framework/win/DeviceContext.h"
#include "framework/win/GdiObject.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinDraw.h"
#include "skin/form/SkinFormConstants.h"
#include "skin/form/SkinFormHost.h"

namespace {

// MN_GETHMENU: the menu a popup-menu window shows.
constexpr UINT MenuOfWindowQuery = 0x01E1;

}  // namespace

bool TPellixPopMenu::Attach(HWND menuWindow, TSkinData* skinData, HMENU menu) {
    FHandle = menuWindow;
    FSkinData = skinData;
    FMenuHandle = menu;
    return FSubclass.Install(menuWindow, TWndMethod(this, &TPellixPopMenu::WndProc));
}

void TPellixPopMenu::Detach() {
    if (!FSubclass.Installed()) return;
    FSubclass.Restore();
    FBuffer = std::make_unique<TBitmap>();
}

void TPellixPopMenu::CallOldProc(TMessage& message) {
    message.Result = FSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
}

bool TPellixPopMenu::CanPaint() const {
    return FSkinData != nullptr && !FSkinData->FSkinLoading && FSkinData->FMenuBackground != nullptr &&
           !FSkinData->FMenuBackground->Bitmap->Empty();
}

void TPellixPopMenu::LearnMenu() {
    if (FMenuHandle != nullptr) return;
    FMenuHandle = reinterpret_cast<HMENU>(SendMessageW(FHandle, MenuOfWindowQuery, 0, 0));
}

bool TPellixPopMenu::ComposeBuffer() {
    RECT window{};
    GetWindowRect(FHandle, &window);
    const RECT size{0, 0, window.right - window.left, window.bottom - window.top};
    if (size.right <= 0 || size.bottom <= 0) return false;
    TDataSkinObject& background = *FSkinData->FMenuBackground;
    const RECT margins{background.LeftWidth, background.TopHeight, background.RightWidth, background.BottomHeight};
    std::unique_ptr<TBitmap> picture =
        CreateSkinElementBitmap(size, *background.Bitmap, margins, false, background.Tile == 1, 1, 1);
    if (!picture || picture->Empty()) return false;
    FBuffer = std::move(picture);
    return true;
}

void TPellixPopMenu::PaintFrame() {
    LearnMenu();
    if (!ComposeBuffer()) return;
    win::WindowFrameDC dc(FHandle);
    if (!dc) return;
    BitBlt(dc.get(), 0, 0, FBuffer->Width(), FBuffer->Height(), FBuffer->Canvas().Handle(), 0, 0, SRCCOPY);
}

POINT TPellixPopMenu::ClientOffset() const {
    POINT origin{0, 0};
    RECT window{};
    if (FHandle == nullptr || !ClientToScreen(FHandle, &origin) || !GetWindowRect(FHandle, &window))
        return POINT{PopupMenuFrameWidth, PopupMenuFrameWidth};
    const POINT offset{origin.x - window.left, origin.y - window.top};
    // A client area that starts at the window's edge holds the system's own border, as wide as the frame.
    if (offset.x == 0 && offset.y == 0) return POINT{0, 0};
    return offset;
}

void TPellixPopMenu::PaintFrameRing() {
    RECT window{};
    GetWindowRect(FHandle, &window);
    QUIRN_TRACE(TTraceChannel::Menu, "menu window ", FHandle, " frame ring over ", window.right - window.left, "x",
                window.bottom - window.top);
    if (FBuffer->Empty() || FBuffer->Width() != window.right - window.left ||
        FBuffer->Height() != window.bottom - window.top) {
        if (!ComposeBuffer()) return;
    }
    win::WindowFrameDC dc(FHandle);
    if (!dc) return;
    const int32_t w = FBuffer->Width();
    const int32_t h = FBuffer->Height();
    ExcludeClipRect(dc.get(), PopupMenuFrameWidth, PopupMenuFrameWidth, w - PopupMenuFrameWidth,
                    h - PopupMenuFrameWidth);
    BitBlt(dc.get(), 0, 0, w, h, FBuffer->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TPellixPopMenu::PrintTo(TMessage& message) {
    LearnMenu();
    const auto dc = reinterpret_cast<HDC>(message.WParam);
    if (dc == nullptr || !ComposeBuffer()) {
        CallOldProc(message);
        return;
    }
    BitBlt(dc, 0, 0, FBuffer->Width(), FBuffer->Height(), FBuffer->Canvas().Handle(), 0, 0, SRCCOPY);
    // The items print over the skinned background, inside the frame.
    const win::SavedDC saved(dc);
    SetBkMode(dc, TRANSPARENT);
    const win::RegionHandle clip(CreateRectRgn(PopupMenuFrameWidth, PopupMenuFrameWidth,
                                               FBuffer->Width() - PopupMenuFrameWidth,
                                               FBuffer->Height() - PopupMenuFrameWidth));
    SelectClipRgn(dc, clip.get());
    CallOldProc(message);
}

void TPellixPopMenu::WndProc(TMessage& message) {
    if (message.Msg == WM_NCPAINT || message.Msg == WM_PAINT || message.Msg == WM_PRINT ||
        message.Msg == WM_ERASEBKGND || message.Msg == WM_SHOWWINDOW)
        QUIRN_TRACE(TTraceChannel::Menu, "menu window ", FHandle, " message ", std::hex, message.Msg, std::dec,
                    SkinFormHost != nullptr && SkinFormHost->FActive ? "" : " (skin inactive)",
                    CanPaint() ? "" : " (nothing to paint with)");
    if (message.Msg == WM_SKINQUERY) {
        message.Result = SkinQueryAnswer;
        return;
    }
    if (SkinFormHost == nullptr || !SkinFormHost->FActive) {
        CallOldProc(message);
        return;
    }
    try {
        switch (message.Msg) {
        case WM_DESTROY:
            Detach();
            CallOldProc(message);
            return;
        case WM_ERASEBKGND:
            if (FSkinData == nullptr || !FSkinData->Options().Contains(xoMenuBG)) CallOldProc(message);
            message.Result = 1;
            return;
        case WM_NCPAINT:
            // The whole frame is painted whatever part the system asks for (some systems pass an
            // update region rather than 1).
            if (!CanPaint()) break;
            PaintFrame();
            message.Result = 0;
            return;
        case WM_PAINT: {
            CallOldProc(message);
            POINT origin{0, 0};
            ClientToScreen(FHandle, &origin);
            RECT window{};
            GetWindowRect(FHandle, &window);
            // Only where the system paints its border in the client area.
            if (CanPaint() && origin.x == window.left && origin.y == window.top) PaintFrameRing();
            return;
        }
        case WM_PRINT:
            if (!CanPaint()) break;
            PrintTo(message);
            return;
        default: break;
        }
    } catch (const std::exception& error) {
        // A fault while painting leaves the menu to the system.
        QUIRN_TRACE(TTraceChannel::Paint, "menu paint failed: ", error.what());
    }
    CallOldProc(message);
}
