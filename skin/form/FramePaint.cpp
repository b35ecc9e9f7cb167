// TPellixForm's frame and caption painting: the client rectangle inside the skin's frame, the four
// sides and the caption strip composed off-screen, the caption text, the window's shape from the
// transparent parts of the frame, and the window state the painting depends on.
#include <algorithm>
#include <exception>
#include <optional>

#include "framework/controls/Form.h"
#include "framework/rtl/Trace.h"
#include "framework/win/DeviceContext.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinServices.h"
#include "skin/form/NCObject.h"
#include "skin/form/PellixFormSkinner.h"
#include "skin/form/SkinManage.h"
#include "skin/form/SkinMenuBarLink.h"

namespace {

// A region's colour tolerance per channel and the key it leaves out.
constexpr int32_t RegionTolerance = 1;
// Caption text placement.
constexpr int32_t RightToLeftTextShift = 10;
constexpr int32_t ButtonsTextGap = 5;
constexpr int32_t DialogTextShift = 16;
constexpr int32_t TitleAlignLeft = 0;
constexpr int32_t TitleAlignCentre = 1;
constexpr int32_t TitleAlignRight = 2;
// The caption text background has two frames stacked: active, inactive.
constexpr int32_t TitleBackFrames = 2;

int32_t Width(const RECT& r) { return r.right - r.left; }
int32_t Height(const RECT& r) { return r.bottom - r.top; }

// Frame 1 (active) of a two-frame element, frame 2 while inactive; a one-frame element always 1.
int32_t ActiveFrame(bool active, int32_t frameCount) { return active || frameCount <= 1 ? 1 : 2; }

}  // namespace

// --- Client rectangle and style ----------------------------------------------------------------

void TPellixForm::CalcClientRect(TMessage& message) {
    CallOldProc(message);
    auto* rect = reinterpret_cast<RECT*>(message.LParam);
    if (rect == nullptr) return;
    const bool calculated = message.WParam != 0;
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam);
    if (IsMaximizedMDIChild() || (IsMDIChild() && FWindowState == WindowStateMinimized) ||
        FBorderKind == BorderKindNoCaption || IsIconic(FHandle)) {
        if (calculated) {
            params->rgrc[1] = params->rgrc[0];
            message.Result = WVR_VALIDRECTS;
        }
        return;
    }
    // The proposed window rectangle (the first rectangle before the system replaced it).
    RECT window{};
    if (calculated) {
        window = params->lppos != nullptr
                     ? RECT{params->lppos->x, params->lppos->y, params->lppos->x + params->lppos->cx,
                            params->lppos->y + params->lppos->cy}
                     : params->rgrc[0];
    } else {
        GetWindowRect(FHandle, &window);
        if (HWND parent = GetParent(FHandle); parent != nullptr && (FStyle & WS_CHILD) != 0)
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
    }
    RECT client{window.left + FLeftWidth, window.top + FTitleHeight + FMenuHeight, window.right - FRightWidth,
                window.bottom - FBottomHeight};
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    if (!calculated) {
        // Asked without positions: the client rectangle of the window as it stands.
        *rect = client;
        message.Result = 0;
        return;
    }
    params->rgrc[0] = client;
    params->rgrc[1] = client;
    message.Result = WVR_VALIDRECTS;
}

bool TPellixForm::HasSystemMenu() const { return (FBorderIcons & BorderIconSystemMenu) != 0 || FSystemMenu != nullptr; }

void TPellixForm::SetSysMenuStyle(bool hide) {
    if ((FBorderIcons & BorderIconKeepStyle) != 0) return;
    FStyle = static_cast<DWORD>(GetWindowLongW(FHandle, GWL_STYLE));
    DWORD style = FStyle;
    if (hide)
        style &= ~static_cast<DWORD>(WS_SYSMENU);
    else if ((FBorderIcons & BorderIconSystemMenu) != 0)
        style |= WS_SYSMENU;
    if (style == FStyle) return;  // no change, no style messages
    FStyle = style;
    SetWindowLongW(FHandle, GWL_STYLE, static_cast<LONG>(style));
}

void TPellixForm::UpdateWindowState() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(FHandle, &placement)) return;
    switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: FWindowState = WindowStateMinimized; break;
    case SW_SHOWMAXIMIZED: FWindowState = WindowStateMaximized; break;
    default: FWindowState = WindowStateNormal; break;
    }
}

void TPellixForm::FindMDIClient() {
    FFormKind = FormKindPlain;
    for (HWND child = GetTopWindow(FHandle); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassNameOf(child) != MDIClientClassName) continue;
        FFormKind = FormKindMDIFrame;
        FClientHandle = child;
        if (SkinManager != nullptr) {
            SkinManager->FMDIClient = child;
            SkinManager->FMDIForm = FForm;
        }
        return;
    }
}

// --- Painting -------------------------------------------------------------------------------------

TDataSkinObject* TPellixForm::BorderElement(int32_t kind) const {
    switch (kind) {
    case BorderSideLeft: return FSkinData->FBorderLeft.get();
    case BorderSideRight: return FSkinData->FBorderRight.get();
    case BorderSideTop: return FSkinData->FBorderTop.get();
    case BorderSideBottom: return FSkinData->FBorderBottom.get();
    default: return nullptr;
    }
}

void TPellixForm::PaintFrame(HDC dc) {
    if (FSkinData == nullptr || (FSkinState != SkinStateRunning && FSkinState != SkinStateRefreshing) ||
        FBorderKind == BorderKindNoCaption || IsMaximizedMDIChild())
        return;
    SkinBackBuffer();  // the menu strip's back buffer exists before anything paints
    std::optional<win::WindowFrameDC> own;
    if (dc == nullptr) {
        own.emplace(FHandle);
        dc = own->get();
        if (dc == nullptr) return;
    }
    try {
        DropStaleButtons();
        UpdateWindowState();
        GetWindowRect(FHandle, &FWindowRect);
        FWidth = Width(FWindowRect);
        FHeight = Height(FWindowRect);
        const int32_t w = FWidth;
        const int32_t h = FHeight;
        if (FWindowState == WindowStateMinimized) {
            PaintCaption(dc);
        } else {
            PaintBorder(BorderSideLeft, RECT{0, 0, FLeftWidth, h}, dc);
            PaintBorder(BorderSideRight, RECT{w - FRightWidth, 0, w, h}, dc);
            PaintBorder(BorderSideBottom, RECT{FLeftWidth, h - FBottomHeight, w - FRightWidth, h}, dc);
            PaintCaption(dc);
            const RECT strip{FLeftWidth, FTitleHeight, w - FRightWidth, FTitleHeight + FMenuHeight};
            if (FMenuBar) {
                FMenuBar->Paint(dc, strip);
            } else if (FMenuHeight > 0) {
                FillRect(dc, &strip, FSkinData->FFaceBrush.get());
            }
        }
    } catch (const std::exception& error) {
        // A fault while painting leaves the frame as it is; the window goes on.
        QUIRN_TRACE(TTraceChannel::Paint, "frame paint failed: ", error.what());
    } catch (...) {
        QUIRN_TRACE(TTraceChannel::Paint, "frame paint failed");
    }
}

void TPellixForm::PaintBorder(int32_t kind, RECT rect, HDC dc) {
    std::unique_ptr<TBitmap> picture = ComposeBorder(kind, Width(rect), Height(rect));
    if (picture) BitBlt(dc, rect.left, rect.top, Width(rect), Height(rect), picture->Canvas().Handle(), 0, 0, SRCCOPY);
}

std::unique_ptr<TBitmap> TPellixForm::ComposeBorder(int32_t kind, int32_t w, int32_t h) {
    TDataSkinObject* element = BorderElement(kind);
    if (element == nullptr || w <= 0 || h <= 0 || element->Bitmap->Empty()) return nullptr;
    const bool vertical = kind == BorderSideTop || kind == BorderSideBottom;
    const RECT margins{element->LeftWidth, element->TopHeight, element->RightWidth, element->BottomHeight};
    // For the frame sides the Tile field holds the "Stretch" key: 1 stretches the middle.
    std::unique_ptr<TBitmap> picture =
        CreateSkinElementBitmap(RECT{0, 0, w, h}, *element->Bitmap, margins, vertical, element->Tile != 1,
                                element->Frame, ActiveFrame(FActive, element->Frame));
    if (!picture || picture->Empty()) return nullptr;
    return picture;
}

void TPellixForm::PaintCaption(HDC dc) {
    const int32_t w = FWidth;
    RECT caption{};
    if (FWindowState == WindowStateMinimized) {
        FCaptionBuffer->SetSize(w, FHeight);
        FCaptionBuffer->Canvas().Brush().SetColor(FSkinData->ButtonFaceColor());
        FCaptionBuffer->Canvas().FillRect(RECT{0, 0, w, FHeight});
        caption = RECT{0, 0, w, FTitleHeight};
    } else {
        FCaptionBuffer->SetSize(w, FTitleHeight);
        BitBlt(FCaptionBuffer->Canvas().Handle(), 0, 0, w, FTitleHeight, dc, 0, 0, SRCCOPY);
        caption = RECT{FLeftWidth, 0, w - FRightWidth, FTitleHeight};
    }
    if (FCaptionBuffer->Empty()) return;
    TCanvas& canvas = FCaptionBuffer->Canvas();
    PaintBorder(BorderSideTop, caption, canvas.Handle());
    PaintTitleText(canvas, caption);
    LayoutButtons();
    PaintButtons(canvas);
    BitBlt(dc, 0, 0, FCaptionBuffer->Width(), FCaptionBuffer->Height(), canvas.Handle(), 0, 0, SRCCOPY);
    SetBkMode(dc, OPAQUE);
}

void TPellixForm::PaintTitleText(TCanvas& canvas, const RECT& Rect) {
    FButtonsWidth = 0;
    for (int32_t index = 0; index < static_cast<int32_t>(FSysButtons.size()); ++index) {
        const TDataSkinSysButton& element = *FSysButtons[index]->FElement;
        if (element.Align == ButtonAlignRight && !element.Bitmap->Empty() && IsButtonVisible(index))
            FButtonsWidth = std::max(FButtonsWidth, element.XCoord);
    }
    const TDataSkinTitle& title = *FSkinData->FTitle;
    const TColor textColor =
        FActive ? FSkinData->FColors[SkinColour::TitleTextActive] : FSkinData->FColors[SkinColour::TitleTextNoActive];
    canvas.Font().Assign(FCaptionFont.get());
    canvas.Font().SetColor(textColor);
    const HDC dc = canvas.Handle();
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    struct TModeRestore {
        HDC DC;
        int Mode;
        ~TModeRestore() { SetBkMode(DC, Mode); }
    } restore{dc, previousMode};

    const std::wstring text = FTitleIndent + ReadWindowText() + FTitleSpace;
    FCaption = text;
    RECT t{Rect.left, Rect.top, Rect.left, Rect.top};
    DrawTextWide(dc, text, t, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
    t.right += title.TXTBackleft + title.TXTBackRight;
    const int32_t E = t.right;
    const int32_t TextShift = title.LeftWidth;
    const int32_t verticalShift = title.TopHeight;
    const int32_t RightClip = title.RightWidth;

    int32_t offset = 0;
    const auto leftToRightOffset = [&]() -> int32_t {
        switch (title.TextAlignment) {
        case TitleAlignLeft: return TextShift;
        case TitleAlignCentre: return (Rect.right - E) / 2;
        case TitleAlignRight: return Rect.right - RightClip - E;
        default: return 0;
        }
    };
    if (FRightToLeft) {
        switch (title.TextAlignment) {
        case TitleAlignLeft: offset = Rect.right - FButtonsWidth - E; break;
        case TitleAlignCentre: offset = (Rect.right - FButtonsWidth - E) / 2; break;
        case TitleAlignRight: offset = TextShift; break;
        default: offset = leftToRightOffset(); break;
        }
    } else {
        offset = leftToRightOffset();
    }
    OffsetRect(&t, offset, (Height(Rect) - Height(t)) / 2 + verticalShift / 2);
    if (FRightToLeft && offset < 1) t.left = TextShift;

    if ((FStyle & WS_POPUP) != 0) {
        if (FRightToLeft)
            OffsetRect(&t, RightToLeftTextShift, 0);
        else if (FButtonsWidth > ButtonsTextGap && Rect.right - FButtonsWidth - ButtonsTextGap < t.right)
            t.right = Rect.right - FButtonsWidth - ButtonsTextGap;
    } else {
        if (FRightToLeft)
            OffsetRect(&t, RightToLeftTextShift, 0);
        else
            t.right = std::min<LONG>(t.right, Rect.right - RightClip);
    }
    if (FBorderKind == BorderKindDialog && title.TextAlignment == TitleAlignLeft) t.left -= DialogTextShift;
    FTitleRect = t;

    if (!title.Bitmap->Empty() && t.right > t.left) {
        const RECT back{t.left, Rect.top, t.right, Rect.bottom};
        DrawThreePartTiled(canvas, back, *title.Bitmap, true, true, TitleBackFrames,
                           ActiveFrame(FActive, TitleBackFrames), RECT{title.TXTBackleft, 0, title.TXTBackRight, 0});
    }
    t.left += title.TXTBackleft;
    t.right -= title.TXTBackRight;
    UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (FRightToLeft) format |= DT_RIGHT | DT_RTLREADING;
    // Drawing the background may have touched the DC's state: the text is drawn as set up here.
    const HDC textDc = canvas.Handle();
    SetBkMode(textDc, TRANSPARENT);
    SetTextColor(textDc, static_cast<COLORREF>(ColorToRGB(textColor)));
    if (t.right > t.left) {
        RECT textRect = t;
        DrawTextWide(textDc, text, textRect, format);
    }
    FTextRect = t;
}

// --- Region -------------------------------------------------------------------------------------

void TPellixForm::UpdateRegion() {
    if (FSkinState == SkinStateDead || !FSkinFrame || FSkinData == nullptr) return;
    RECT window{};
    GetWindowRect(FHandle, &window);
    const int32_t w = Width(window);
    const int32_t h = Height(window);
    if (w <= 0 || h <= 0) return;
    UpdateWindowState();
    if (IsMDIChild() && FWindowState != WindowStateNormal) return;
    if (FHasRegion && w == FRegionWidth && h == FRegionHeight && !IsMDIChild() && FSkinState != SkinStateRefreshing)
        return;

    const TSkinData& data = *FSkinData;
    const bool anyTransparent = data.FBorderLeft->Trans == 1 || data.FBorderRight->Trans == 1 ||
                                data.FBorderTop->Trans == 1 || data.FBorderBottom->Trans == 1;
    win::RegionHandle region;
    if (!anyTransparent || FBorderKind == BorderKindNoCaption) {
        region.reset(CreateRectRgn(0, 0, w, h));
    } else {
        region.reset(CreateRectRgn(FLeftWidth, FTitleHeight, w - FRightWidth, h - FBottomHeight));
        // One side: its full rectangle, or the opaque pixels of the side as painted.
        auto side = [&](int32_t kind, const RECT& rect, bool fromBitmap) {
            const TDataSkinObject* element = BorderElement(kind);
            if (Width(rect) <= 0 || Height(rect) <= 0) return win::RegionHandle(CreateRectRgn(0, 0, 0, 0));
            if (!fromBitmap || element->Trans != 1 || element->Bitmap->Empty())
                return win::RegionHandle(CreateRectRgnIndirect(&rect));
            // The side as PaintBorder paints it, read without copying it to a scratch bitmap first; a
            // picture that is not 24-bit is copied to one, so that the key colour compares as painted.
            std::unique_ptr<TBitmap> picture = ComposeBorder(kind, Width(rect), Height(rect));
            if (!picture) return win::RegionHandle(CreateRectRgnIndirect(&rect));
            if (picture->PixelFormat() != pf24bit) {
                auto scratch = std::make_unique<TBitmap>(Width(rect), Height(rect), pf24bit);
                BitBlt(scratch->Canvas().Handle(), 0, 0, Width(rect), Height(rect), picture->Canvas().Handle(), 0, 0,
                       SRCCOPY);
                picture = std::move(scratch);
            }
            return CreateRegionFromBitmap(*picture, rect.left, rect.top, RegionTolerance, RegionTolerance,
                                          RegionTolerance, SkinTransparentColor);
        };
        const RECT leftRect{0, 0, FLeftWidth, h};
        const RECT rightRect{w - FRightWidth, 0, w, h};
        const RECT bottomRect{FLeftWidth, h - FBottomHeight, w - FRightWidth, h};
        const RECT topRect{FLeftWidth, 0, w - FRightWidth, FTitleHeight};
        win::RegionHandle left = side(BorderSideLeft, leftRect, h > 1);
        win::RegionHandle right = side(BorderSideRight, rightRect, h > 1);
        win::RegionHandle bottom = side(BorderSideBottom, bottomRect, FBottomHeight >= 2);
        win::RegionHandle top = side(BorderSideTop, topRect, FTitleHeight > 1 && Width(topRect) > 0);
        CombineRgn(left.get(), left.get(), right.get(), RGN_OR);
        CombineRgn(top.get(), top.get(), bottom.get(), RGN_OR);
        CombineRgn(left.get(), left.get(), top.get(), RGN_OR);
        CombineRgn(region.get(), region.get(), left.get(), RGN_OR);
    }
    FRegionWidth = w;
    FRegionHeight = h;
    // From here on the region belongs to the system.
    FRegion = region.get();
    if (SetWindowRgn(FHandle, region.get(), TRUE) != 0) {
        static_cast<void>(region.release());
        FHasRegion = true;
    } else {
        FRegion = nullptr;
    }
}

void TPellixForm::ClearRegion() {
    if (!FHasRegion) return;
    SetWindowRgn(FHandle, nullptr, IsMDIChild() ? TRUE : FALSE);
    FRegion = nullptr;
    FHasRegion = false;
}

// --- A control showing its parent's background ----------------------------------------------------

void TPellixForm::DrawParentImage(TControl* control, HDC dc) {
    if (control == nullptr || control->Parent() == nullptr || dc == nullptr) return;
    win::SavedDC saved(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - control->Left(), origin.y - control->Top(), nullptr);
    RECT clip = control->ClientRect();
    OffsetRect(&clip, control->Left(), control->Top());
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    TWinControl* parent = control->Parent();
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}
