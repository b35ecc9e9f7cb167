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

bool TPellixPopMenu::Attach(HWND MenuWindow, TSkinData* SkinData, HMENU Menu) {
    FHandle = MenuWindow;
    FSkinData = SkinData;
    FMenuHandle = Menu;
    return FSubclass.Install(MenuWindow, TWndMethod(this, &TPellixPopMenu::WndProc));
}

void TPellixPopMenu::Detach() {
    if (!FSubclass.Installed()) return;
    FSubclass.Restore();
    FBuffer = std::make_unique<TBitmap>();
}

void TPellixPopMenu::CallOldProc(TMessage& Message) {
    Message.Result = FSubclass.CallPrevious(Message.Msg, Message.WParam, Message.LParam);
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
    RECT Window{};
    GetWindowRect(FHandle, &Window);
    const RECT Size{0, 0, Window.right - Window.left, Window.bottom - Window.top};
    if (Size.right <= 0 || Size.bottom <= 0) return false;
    TDataSkinObject& Background = *FSkinData->FMenuBackground;
    const RECT Margins{Background.LeftWidth, Background.TopHeight, Background.RightWidth, Background.BottomHeight};
    std::unique_ptr<TBitmap> Picture =
        CreateSkinElementBitmap(Size, *Background.Bitmap, Margins, false, Background.Tile == 1, 1, 1);
    if (!Picture || Picture->Empty()) return false;
    FBuffer = std::move(Picture);
    return true;
}

void TPellixPopMenu::PaintFrame() {
    LearnMenu();
    if (!ComposeBuffer()) return;
    win::WindowFrameDC DC(FHandle);
    if (!DC) return;
    BitBlt(DC.get(), 0, 0, FBuffer->Width(), FBuffer->Height(), FBuffer->Canvas().Handle(), 0, 0, SRCCOPY);
}

POINT TPellixPopMenu::ClientOffset() const {
    POINT Origin{0, 0};
    RECT Window{};
    if (FHandle == nullptr || !ClientToScreen(FHandle, &Origin) || !GetWindowRect(FHandle, &Window))
        return POINT{PopupMenuFrameWidth, PopupMenuFrameWidth};
    const POINT Offset{Origin.x - Window.left, Origin.y - Window.top};
    // A client area that starts at the window's edge holds the system's own border, as wide as the frame.
    if (Offset.x == 0 && Offset.y == 0) return POINT{0, 0};
    return Offset;
}

void TPellixPopMenu::PaintFrameRing() {
    RECT Window{};
    GetWindowRect(FHandle, &Window);
    if (FBuffer->Empty() || FBuffer->Width() != Window.right - Window.left ||
        FBuffer->Height() != Window.bottom - Window.top) {
        if (!ComposeBuffer()) return;
    }
    win::WindowFrameDC DC(FHandle);
    if (!DC) return;
    const int32_t W = FBuffer->Width();
    const int32_t H = FBuffer->Height();
    ExcludeClipRect(DC.get(), PopupMenuFrameWidth, PopupMenuFrameWidth, W - PopupMenuFrameWidth,
                    H - PopupMenuFrameWidth);
    BitBlt(DC.get(), 0, 0, W, H, FBuffer->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TPellixPopMenu::PrintTo(TMessage& Message) {
    LearnMenu();
    const auto DC = reinterpret_cast<HDC>(Message.WParam);
    if (DC == nullptr || !ComposeBuffer()) {
        CallOldProc(Message);
        return;
    }
    BitBlt(DC, 0, 0, FBuffer->Width(), FBuffer->Height(), FBuffer->Canvas().Handle(), 0, 0, SRCCOPY);
    // The items print over the skinned background, inside the frame.
    const win::SavedDC Saved(DC);
    SetBkMode(DC, TRANSPARENT);
    const win::RegionHandle Clip(CreateRectRgn(PopupMenuFrameWidth, PopupMenuFrameWidth,
                                               FBuffer->Width() - PopupMenuFrameWidth,
                                               FBuffer->Height() - PopupMenuFrameWidth));
    SelectClipRgn(DC, Clip.get());
    CallOldProc(Message);
}

void TPellixPopMenu::WndProc(TMessage& Message) {
    if (Message.Msg == WM_SKINQUERY) {
        Message.Result = SkinQueryAnswer;
        return;
    }
    if (SkinFormHost == nullptr || !SkinFormHost->FActive) {
        CallOldProc(Message);
        return;
    }
    try {
        switch (Message.Msg) {
        case WM_DESTROY:
            Detach();
            CallOldProc(Message);
            return;
        case WM_ERASEBKGND:
            if (FSkinData == nullptr || !FSkinData->Options().Contains(xoMenuBG)) CallOldProc(Message);
            Message.Result = 1;
            return;
        case WM_NCPAINT:
            // The whole frame is painted whatever part the system asks for (some systems pass an
            // update region rather than 1).
            if (!CanPaint()) break;
            PaintFrame();
            Message.Result = 0;
            return;
        case WM_PAINT: {
            CallOldProc(Message);
            POINT Origin{0, 0};
            ClientToScreen(FHandle, &Origin);
            RECT Window{};
            GetWindowRect(FHandle, &Window);
            // Only where the system paints its border in the client area.
            if (CanPaint() && Origin.x == Window.left && Origin.y == Window.top) PaintFrameRing();
            return;
        }
        case WM_PRINT:
            if (!CanPaint()) break;
            PrintTo(Message);
            return;
        default: break;
        }
    } catch (const std::exception& Error) {
        // A fault while painting leaves the menu to the system.
        QUIRN_TRACE(TTraceChannel::Paint, "menu paint failed: ", Error.what());
    }
    CallOldProc(Message);
}
