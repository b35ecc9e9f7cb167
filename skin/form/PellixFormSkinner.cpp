// TPellixForm's lifecycle: creation, the attach to a window (InitSkin, WM_SKINATTACH), sizing the
// window around the skin's frame, a skin change (RefreshSkin), the detach sequences, the form-level
// and MDI-client procedures, the control-skinner list and the owner-draw switching of the form's
// menus.
#include "skin/form/PellixFormSkinner.h"

#include <algorithm>

#include "framework/controls/Form.h"
#include "framework/controls/Menu.h"
#include "framework/controls/Timer.h"
#include "framework/core/PropAccess.h"
#include "framework/rtl/Trace.h"
#include "framework/win/TextMeasure.h"
#include "framework/win/UserObject.h"
#include "skin/data/ClassNames.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinServices.h"
#include "skin/form/NCObject.h"
#include "skin/form/SkinControlLink.h"
#include "skin/form/SkinFormHost.h"
#include "skin/form/SkinMenuBarLink.h"

QUIRN_DEFINE_CLASS(TPellixForm)

namespace {

constexpr uint32_t HoverTimerInterval = 250;
// Windows 2000 and Vista leave the style of application windows and owner-less windows alone.
constexpr DWORD KeepStyleMajorVersion = 5;
constexpr UINT FrameChangedFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
// A dialog's caption text is read through WM_GETTEXT into this many characters on the 9x family.
constexpr int CaptionBufferChars = 1000;

int32_t Width(const RECT& r) { return r.right - r.left; }
int32_t Height(const RECT& r) { return r.bottom - r.top; }

// Sets a published property of any component by name; nothing when the class has none.
void SetBooleanProperty(TObject* instance, std::string_view name, bool value) {
    const TPropInfo* prop = GetPropInfo(instance, name);
    if (prop == nullptr) return;
    try {
        SetEnumProp(instance, *prop, value ? "True" : "False");
    } catch (const Exception&) {
        // Not a Boolean after all: left as it is.
    }
}

}  // namespace

TPellixForm::TPellixForm(TComponent* aOwner)
    : TComponent(aOwner),
      FCaptionFont(CreateSystemCaptionFont()),
      FMenuFont(CreateSystemMenuFont()),
      FDoubleClickTime(GetDoubleClickTime()),
      FIconSize(GetSystemMetrics(SM_CXSMICON)),
      FCanvas(std::make_unique<TCanvas>()),
      FControlCanvas(std::make_unique<TCanvas>()),
      FIconBitmap(std::make_unique<TBitmap>(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), pf16bit)),
      FCaptionBuffer(std::make_unique<TBitmap>()) {}

TPellixForm::~TPellixForm() {
    // A skinner freed while its window still runs on it (its owner form going first) gives the
    // window its procedures back before anything else goes.
    if (Subclassed() || FClientSubclass.Installed()) {
        FTimer.reset();
        RestoreFormProcedures();
        FClientSubclass.Restore();
    }
    FreeControlSkins();
    FreeSysButtons();
    FCaptionBuffer.reset();
    FTimer.reset();
    FMenuBar.reset();
    delete FSysMenu;
    FSysMenu = nullptr;
    FCaptionFont.reset();
    FMenuFont.reset();
    FIconBitmap.reset();
    if (SkinFormHost != nullptr) SkinFormHost->RemoveForm(this);
    FCanvas.reset();
    FControlCanvas.reset();
}

// --- Attach --------------------------------------------------------------------------------

void TPellixForm::AttachForm(TSkinData* skinData, TCustomForm* form) {
    FForm = form;
    if (skinData->OnBeforeSkinForm()) skinData->OnBeforeSkinForm()(form, FHandle, FClassName);
    if (skinData->SkinControls().Contains(xcMenuItem)) SetBooleanProperty(form, "AutoScroll", false);
    InitSkin(skinData);
    if (FSkinFrame) {
        FPrevWindowProc = form->WindowProc();
        form->SetWindowProc(TWndMethod(this, &TPellixForm::FormWndProc));
    }
    FSavedColor = form->Color();
    form->SetColor(skinData->ButtonFaceColor());
    if (skinData->SkinControls().Contains(xcMenuItem)) SkinMainMenus(form, true);
}

void TPellixForm::AttachWindow(TSkinData* skinData) { InitSkin(skinData); }

bool TPellixForm::SkinDrawsFrames(const TSkinData& data) {
    return !data.FSkinLoading && !data.FBorderTop->Bitmap->Empty();
}

void TPellixForm::InitSkin(TSkinData* skinData) {
    if (Subclassed()) return;  // runs once
    if (SkinFormHost != nullptr) SkinFormHost->MarkRunning();
    FSkinData = skinData;
    FTimer = std::make_unique<TTimer>(nullptr);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(HoverTimerInterval);
    FTimer->SetOnTimer(TNotifyEvent(this, &TPellixForm::HoverTimer));
    // A skin without a caption strip cannot replace the system's frame: the window keeps it.
    FSkinFrame = skinData->SkinControls().Contains(xcMainMenu) && SkinDrawsFrames(*skinData);

    FStyle = static_cast<DWORD>(GetWindowLongW(FHandle, GWL_STYLE));
    FExStyle = static_cast<DWORD>(GetWindowLongW(FHandle, GWL_EXSTYLE));
    FRightToLeft = (FExStyle & WS_EX_LEFTSCROLLBAR) != 0;
    FIsChild = (FStyle & WS_CHILD) != 0;
    FWndClass = ClassNameOf(FHandle);
    FOwnerWindow = GetWindow(FHandle, GW_OWNER);

    FBorderIcons = 0;
    if ((FStyle & WS_SYSMENU) != 0 || FSystemMenu != nullptr) FBorderIcons |= BorderIconSystemMenu;
    if ((FStyle & WS_MINIMIZEBOX) != 0) FBorderIcons |= BorderIconMinimize;
    if ((FStyle & WS_MAXIMIZEBOX) != 0) FBorderIcons |= BorderIconMaximize;
    if ((FExStyle & WS_EX_CONTEXTHELP) != 0) FBorderIcons |= BorderIconHelp;

    UpdateWindowState();
    FSizeable = (FStyle & WS_THICKFRAME) != 0;
    FindMDIClient();
    if ((FExStyle & WS_EX_MDICHILD) != 0) {
        FFormKind = FormKindMDIChild;
        if (skinData->Options().Contains(xoMDIChildBorder)) FSkinFrame = false;
    }

    if ((FStyle & WS_CAPTION) != WS_CAPTION)
        FBorderKind = BorderKindNoCaption;
    else if ((FStyle & WS_THICKFRAME) != 0)
        FBorderKind = BorderKindSizeable;
    else if ((FStyle & DS_MODALFRAME) != 0)
        FBorderKind = BorderKindDialog;
    else
        FBorderKind = BorderKindSingle;
    if ((FExStyle & WS_EX_DLGMODALFRAME) != 0) FBorderKind = BorderKindDialog;

    const DWORD version = GetVersion();
    const DWORD major = LOBYTE(LOWORD(version));
    const DWORD minor = HIBYTE(LOWORD(version));
    const bool nt = SkinPlatform().IsNT;
    if (major >= KeepStyleMajorVersion && minor == 0 &&
        (((FExStyle & WS_EX_APPWINDOW) != 0 && nt) || (FOwnerWindow == nullptr && !IsMDIChild())))
        FBorderIcons |= BorderIconKeepStyle;

    FUnicode = IsWindowUnicode(FHandle) != FALSE;
    if (FWndClass == DialogClassName || FWndClass == MessageFormClass) {
        FBorderKind = BorderKindDialog;
        FIsDialog = true;
    }
    if (IsWindows9xVersion(SkinPlatform().SystemVersion)) {
        TSkinControlTypes controls = skinData->SkinControls();
        controls.Exclude(xcSystemMenu);
        skinData->SetSkinControls(controls);
    }

    if (FFormKind == FormKindMDIFrame) {
        FSavedMenuUpdate = skinData->MenuUpdate();
        FClientSubclass.Install(FClientHandle, TWndMethod(this, &TPellixForm::ClientWndProc));
    }
    // Wide or ANSI calls, as the window is (FUnicode).
    FWindowSubclass.Install(FHandle, TWndMethod(this, &TPellixForm::SkinWndProc));

    if (FSkinFrame) {
        FWindowMenu = GetMenu(FHandle);
        // The window's menu bar is taken off and drawn by the skin in a strip below the caption.
        if (FWindowMenu != nullptr && !IsMDIChild()) MakeMenuBar();
    }
    if (FSkinFrame)
        UpdateFrameMetrics();
    else
        FSkinState = SkinStateRunning;

    if (IsMDIChild()) {
        const int32_t systemCaption = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
        if (FTitleHeight < systemCaption) FMenuHeight = systemCaption - FTitleHeight;
        if (FWindowState == WindowStateMaximized && SkinFormHost != nullptr && !SkinFormHost->FMDIMaximized)
            SkinFormHost->SetMDIMaximized(true);
    }
    QUIRN_TRACE(TTraceChannel::Form, "attached ", FHandle, " class ", FWndClass, " frame ", FSkinFrame);
}

void TPellixForm::MakeMenuBar() {
    FMenuHeight = GetSystemMetrics(SM_CYMENU);
    FMenuBar = MakeSkinMenuBar(this, FSkinData, FForm != nullptr ? FForm->Menu() : nullptr);
    // Before the attach has finished, the system's frame is recalculated without the menu, so that
    // the client area the attach keeps is the one the window had with it.
    if (FSkinState == SkinStateCreated) FrameChanged();
}

void TPellixForm::FinishAttach() {
    FAttached = true;
    FSystemMenu = GetSystemMenu(FHandle, FALSE);
    BuildIconBitmap();

    GetClientRect(FHandle, &FClientRect);
    RECT window{};
    GetWindowRect(FHandle, &window);
    FSystemRect = RECT{0, 0, Width(window) - FClientRect.right, Height(window) - FClientRect.bottom};

    if (FForm != nullptr)
        DiscoverForm(FForm);
    else
        DiscoverWindows(FHandle);
    // The form's popup menus draw their items from the skin (again, when discovery did it already).
    if (FForm != nullptr && FSkinData->SkinControls().Contains(xcPopupMenu)) SkinPopupMenus(FForm, true);

    if (FSkinState == SkinStateCreated) {
        UpdateWindowState();
        if (IsMDIChild()) {
            if (FWindowState == WindowStateMaximized) {
                if (SkinFormHost != nullptr && SkinFormHost->FMDIClient != nullptr)
                    PostMessageW(SkinFormHost->FMDIClient, WM_SKINMDIREDRAW, reinterpret_cast<WPARAM>(FHandle), 0);
            } else if (FWindowState == WindowStateNormal) {
                FSkinState = SkinStateResizing;
                AdjustWindowSize(false);
                FSkinState = SkinStateRunning;
                UpdateRegion();
            }
        } else if (!FIsChild && FBorderKind != BorderKindNoCaption && FWindowState != WindowStateMinimized) {
            FSkinState = SkinStateResizing;
            AdjustWindowSize(false);
            FSkinState = SkinStateRunning;
            if (FWindowState == WindowStateNormal)
                UpdateRegion();
            else
                FrameChanged();
        }
    }
    AfterSkin();
    FSkinState = SkinStateRunning;
    if (FTimer) FTimer->SetEnabled(true);
    // A window that was not resized (minimized, without caption) still shows the skinned frame now.
    if (FSkinFrame && IsWindowVisible(FHandle)) PaintFrame(nullptr);
}

void TPellixForm::AfterSkin() {
    SendMessageW(FHandle, WM_SKINNOTIFY, 0, SkinMagic);
    if (FSkinData != nullptr && FSkinData->OnAfterSkinForm()) FSkinData->OnAfterSkinForm()(FForm, FHandle, FClassName);
}

void TPellixForm::BuildIconBitmap() {
    FIcon = WindowIconOf(FHandle);
    PaintIconPicture(*FIconBitmap, FIcon);
}

void TPellixForm::FrameChanged() const { SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, FrameChangedFlags); }

// --- Size and frame metrics ------------------------------------------------------------------

void TPellixForm::AdjustWindowSize(bool keepClient) {
    UpdateWindowState();
    if (FWindowState == WindowStateMaximized) {
        FrameChanged();
        return;
    }
    RECT window{};
    GetWindowRect(FHandle, &window);
    if (FIsDialog || FSkinState == SkinStateRefreshing) GetClientRect(FHandle, &FClientRect);
    int32_t newWidth = FClientRect.right + FLeftWidth + FRightWidth;
    int32_t clientBottom = FClientRect.bottom;
    if (keepClient) {
        GetClientRect(FHandle, &FClientRect);
        clientBottom = FClientRect.bottom;
    } else if (FForm != nullptr) {
        newWidth = FForm->ClientWidth() + FLeftWidth + FRightWidth;
        clientBottom = IsMDIChild() ? FForm->ClientHeight() : FForm->ClientHeight() - FMenuHeight;
    }
    const int32_t newHeight = clientBottom + FTitleHeight + FBottomHeight + FMenuHeight;

    if (FIsDialog && !keepClient) {
        FCaption = ReadWindowText();
        const RECT extent = win::MeasureText(FCaptionFont->Handle(), FCaption, DT_SINGLELINE | DT_NOPREFIX);
        FTitleWidth = extent.right - extent.left;
        const TDataSkinTitle& title = *FSkinData->FTitle;
        const int32_t needed = title.LeftWidth + FTitleWidth + title.RightWidth;
        if (newWidth < needed) {
            const int32_t shift = (needed - newWidth) / 2;
            for (HWND child = GetTopWindow(FHandle); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
                RECT childRect{};
                GetWindowRect(child, &childRect);
                POINT topLeft{childRect.left, childRect.top};
                ScreenToClient(FHandle, &topLeft);
                SetWindowPos(child, nullptr, topLeft.x + shift, topLeft.y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
            }
            newWidth = needed;
        }
    }
    SetWindowPos(FHandle, nullptr, 0, 0, newWidth, newHeight,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
}

std::wstring TPellixForm::ReadWindowText() const {
    if (SkinPlatform().IsNT) {
        const int length = GetWindowTextLengthW(FHandle);
        std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
        const int read = GetWindowTextW(FHandle, text.data(), static_cast<int>(text.size()));
        text.resize(static_cast<size_t>(std::max(read, 0)));
        return text;
    }
    std::string buffer(CaptionBufferChars, '\0');
    const LRESULT read = SendMessageA(FHandle, WM_GETTEXT, CaptionBufferChars, reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(static_cast<size_t>(std::clamp<LRESULT>(read, 0, CaptionBufferChars - 1)));
    return AnsiToWide(buffer);
}

void TPellixForm::UpdateFrameMetrics() {
    if (FSkinData == nullptr || FSkinData->FSkinLoading) return;
    if (FBorderKind == BorderKindNoCaption) {
        FTitleHeight = FLeftWidth = FRightWidth = FBottomHeight = FMenuHeight = 0;
    } else {
        const TSkinData& data = *FSkinData;
        auto cell = [](const TDataSkinObject& element, bool horizontal) {
            const int32_t frames = std::max(element.Frame, 1);
            return horizontal ? element.Bitmap->Width() / frames : element.Bitmap->Height() / frames;
        };
        FTitleHeight = cell(*data.FBorderTop, false);
        FLeftWidth = cell(*data.FBorderLeft, true);
        FRightWidth = cell(*data.FBorderRight, true);
        FBottomHeight = cell(*data.FBorderBottom, false);
    }
    FreeSysButtons();
    for (const auto& element : FSkinData->FCaptionButtons) {
        if (!element) continue;
        auto button = std::make_unique<TWinSysButton>(this, element.get());
        button->FVisible = true;
        if (element->Action == ButtonActionSystemMenu || element->Action == ButtonActionIcon) {
            BuildIconBitmap();
            if (element->Bitmap->Empty()) {
                element->Bitmap->Assign(FIconBitmap.get());
                element->Frame = 1;
            }
            if (FSkinData->FSmallIcon->Empty()) FSkinData->FSmallIcon->Assign(FIconBitmap.get());
        }
        FSysButtons.push_back(std::move(button));
    }
    FSysButtonCount = static_cast<int32_t>(FSysButtons.size());
    FButtonsGeneration = FSkinData->FSkinGeneration;
}

void TPellixForm::DropStaleButtons() {
    if (!FSysButtons.empty() && FSkinData != nullptr && FButtonsGeneration != FSkinData->FSkinGeneration)
        FreeSysButtons();
}

void TPellixForm::FreeSysButtons() {
    FHotObject = nullptr;
    FSysButtons.clear();
    FSysButtonCount = 0;
}

// --- Skin change -------------------------------------------------------------------------------

void TPellixForm::RefreshSkin() {
    if (FForm != nullptr) {
        const TColor face = FSkinData->ButtonFaceColor();
        FForm->SetColor(face);
        for (int32_t index = 0; index < FForm->ComponentCount(); ++index)
            if (auto* inner = ObjectAs<TCustomForm>(FForm->Components(index))) inner->SetColor(face);
    }
    for (TSkinControlLink* skin : FControlSkins) skin->SkinChanged();
    FSkinState = SkinStateRefreshing;
    if (FSkinFrame) {
        if (FForm != nullptr) {
            SkinPopupMenus(FForm, true);
            AdjustWindowSize(true);
            // Makes the frame and the layout be computed again.
            FForm->SetHeight(FForm->Height() + 1);
            FForm->SetHeight(FForm->Height() - 1);
        } else {
            AdjustWindowSize(true);
        }
        // The region follows the new skin even when the size did not change.
        UpdateRegion();
    }
    AfterSkin();
    FSkinState = SkinStateRunning;
    if (FSkinFrame && IsWindowVisible(FHandle)) PaintFrame(nullptr);
}

// --- Detach ----------------------------------------------------------------------------------

void TPellixForm::RestoreFormProcedures() {
    if (FForm != nullptr && FPrevWindowProc) {
        FForm->SetWindowProc(FPrevWindowProc);
        FPrevWindowProc = nullptr;
    }
    FWindowSubclass.Restore();
}

bool TPellixForm::DetachFrame() {
    delete FSysMenu;
    FSysMenu = nullptr;
    if (FTimer) FTimer->SetEnabled(false);
    HideHint();
    if (!Subclassed()) return false;
    RestoreFormProcedures();
    return true;
}

void TPellixForm::Unskin() {
    if (!FSkinFrame) {
        UnskinPlain();
        return;
    }
    if (!DetachFrame()) return;
    FreeControlSkins();
    if (FForm != nullptr) {
        SkinPopupMenus(FForm, false);
        if (FSkinData->SkinControls().Contains(xcMenuItem)) SkinMainMenus(FForm, false);
        if (FSkinState != SkinStateDestroying) FForm->SetColor(FSavedColor);
    }
    SetSysMenuStyle(false);
    if (FMenuBar) {
        SetMenu(FHandle, FMenuBar->MenuHandle());
        FMenuBar.reset();
    }
    FClientSubclass.Restore();

    // The system's frame comes back around the same client area.
    if (FSkinState != SkinStateDestroying && (IsMDIChild() || !FIsChild)) {
        const int32_t deltaWidth = FSystemRect.right - FLeftWidth - FRightWidth;
        const int32_t deltaHeight = FSystemRect.bottom - FTitleHeight - FBottomHeight;
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        GetWindowPlacement(FHandle, &placement);
        if (placement.showCmd == SW_SHOWNORMAL || placement.showCmd == SW_SHOW || placement.showCmd == SW_SHOWNA ||
            placement.showCmd == SW_SHOWNOACTIVATE || placement.showCmd == SW_RESTORE) {
            RECT window{};
            GetWindowRect(FHandle, &window);
            POINT topLeft{window.left, window.top};
            if (IsMDIChild()) ScreenToClient(GetParent(FHandle), &topLeft);
            SetWindowPos(FHandle, nullptr, topLeft.x, topLeft.y, Width(window) + deltaWidth,
                         Height(window) + deltaHeight, SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
        } else {
            // Maximized or minimized: the size it is restored to keeps its client area.
            placement.rcNormalPosition.right += deltaWidth;
            placement.rcNormalPosition.bottom += deltaHeight;
            SetWindowPlacement(FHandle, &placement);
            FrameChanged();
        }
    }
    ClearRegion();
    SetWindowRgn(FHandle, nullptr, TRUE);
    FRegion = nullptr;
    FHasRegion = false;
    QUIRN_TRACE(TTraceChannel::Form, "unskinned ", FHandle);
}

void TPellixForm::UnskinDestroyed() {
    if (!FSkinFrame) {
        UnskinPlain();
        return;
    }
    DetachFrame();
    FClientSubclass.Restore();
    FreeControlSkins();
    // A plain window's menu was the window's to destroy; taken off, it is destroyed here. A form's
    // menu belongs to its menu object.
    if (FMenuBar && FForm == nullptr && FMenuBar->MenuHandle() != nullptr && IsMenu(FMenuBar->MenuHandle()) &&
        GetMenu(FHandle) != FMenuBar->MenuHandle())
        win::MenuHandle(FMenuBar->MenuHandle()).reset();
    FMenuBar.reset();
}

void TPellixForm::UnskinPlain() {
    if (FTimer) FTimer->SetEnabled(false);
    FreeControlSkins();
    if (FForm != nullptr) {
        SkinPopupMenus(FForm, false);
        if (FSkinData != nullptr && FSkinData->SkinControls().Contains(xcMenuItem)) SkinMainMenus(FForm, false);
        if (FSkinState != SkinStateDestroying) FForm->SetColor(FSavedColor);
    }
    RestoreFormProcedures();
    FClientSubclass.Restore();
    if (FForm != nullptr && FSkinState != SkinStateDestroying) {
        for (int32_t index = 0; index < FForm->ComponentCount(); ++index)
            if (auto* control = ObjectAs<TControl>(FForm->Components(index))) control->Invalidate();
    }
}

void TPellixForm::HideHint() {
    if (FSkinData != nullptr) FSkinData->HideButtonHint();
}

void TPellixForm::CallOldProc(TMessage& message) {
    message.Result = FWindowSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
}

// --- Control skinners ------------------------------------------------------------------------

bool TPellixForm::AddControlSkin(TSkinControlLink* skin) {
    if (std::find(FControlSkins.begin(), FControlSkins.end(), skin) != FControlSkins.end()) return true;
    FControlSkins.push_back(skin);
    return false;
}

void TPellixForm::RemoveControlSkin(TSkinControlLink* skin) {
    const auto found = std::find(FControlSkins.rbegin(), FControlSkins.rend(), skin);
    if (found != FControlSkins.rend()) FControlSkins.erase(std::next(found).base());
    if (FHotControl == skin) FHotControl = nullptr;
}

void TPellixForm::FreeControlSkins() {
    FHotControl = nullptr;
    while (!FControlSkins.empty()) {
        TSkinControlLink* skin = FControlSkins.front();
        FControlSkins.erase(FControlSkins.begin());
        if (FSkinState != SkinStateDestroying && skin->SkinStatus() != ControlSkinGone) skin->Detach();
        delete skin;
    }
}

void TPellixForm::PurgeControlSkins() {
    for (size_t index = FControlSkins.size(); index-- > 0;) {
        TSkinControlLink* skin = FControlSkins[index];
        if (skin->SkinStatus() != ControlSkinGone) continue;
        FControlSkins.erase(FControlSkins.begin() + static_cast<std::ptrdiff_t>(index));
        if (FHotControl == skin) FHotControl = nullptr;
        delete skin;
    }
}

TSkinControlLink* TPellixForm::FindControlSkin(HWND window) const {
    for (TSkinControlLink* skin : FControlSkins)
        if (skin->SkinnedWindow() == window) return skin;
    return nullptr;
}

void TPellixForm::DiscoverForm(TCustomForm* form) {
    PurgeControlSkins();
    if (ControlDiscovery().DiscoverForm != nullptr) ControlDiscovery().DiscoverForm(*this, *form);
}

void TPellixForm::DiscoverWindows(HWND parent) {
    for (HWND child = GetTopWindow(parent); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongW(child, GWL_STYLE) & WS_CHILD) != 0) MapWindow(child);
}

void TPellixForm::MapWindow(HWND window) {
    if (ControlDiscovery().MapWindow != nullptr) ControlDiscovery().MapWindow(*this, window);
}

// --- Menus of the form -----------------------------------------------------------------------

void TPellixForm::SkinPopupMenus(TComponent* component, bool on) {
    if (FForm != nullptr && FForm->ClassNameIs(RichEditFormClass)) return;
    if (component == nullptr || FSkinData == nullptr) return;
    for (int32_t index = 0; index < component->ComponentCount(); ++index) {
        TComponent* owned = component->Components(index);
        if (owned->InheritsFrom(TCustomForm::StaticClass())) {
            SkinPopupMenus(owned, on);
            continue;
        }
        auto* menu = ObjectAs<TPopupMenu>(owned);
        if (menu == nullptr || menu->Tag() == FSkinData->DisableTag() ||
            !FSkinData->SkinControls().Contains(xcPopupMenu))
            continue;
        menu->SetOwnerDraw(on);
        SkinMenuItems(menu->Items(), on, TMenuMeasureItemEvent(this, &TPellixForm::MeasurePopupItem), true);
    }
}

void TPellixForm::SkinMainMenus(TComponent* component, bool on) {
    if (component == nullptr) return;
    for (int32_t index = 0; index < component->ComponentCount(); ++index) {
        auto* menu = ObjectAs<TMainMenu>(component->Components(index));
        if (menu == nullptr) continue;
        if (on) menu->SetOwnerDraw(true);
        // The bar's own entries are drawn by the menu bar; the items below them by the skin.
        for (int32_t top = 0; top < menu->Items()->Count(); ++top)
            SkinMenuItems(menu->Items()->Items(top), on, TMenuMeasureItemEvent(this, &TPellixForm::MeasureMenuItem),
                          false);
    }
}

void TPellixForm::SkinMenuItems(TMenuItem* parent, bool on, TMenuMeasureItemEvent measure, bool keepOwnMeasure) {
    const TMenuDrawItemEvent draw(this, &TPellixForm::DrawMenuItem);
    for (int32_t index = 0; index < parent->Count(); ++index) {
        TMenuItem* item = parent->Items(index);
        if (on) {
            // An item the application draws itself keeps its own drawing.
            if (!keepOwnMeasure && item->OnDrawItem() && item->OnDrawItem() != draw) continue;
            item->SetOnDrawItem(draw);
            item->SetDrawsSubMenuArrow(true);
            if (!keepOwnMeasure || !item->OnMeasureItem()) item->SetOnMeasureItem(measure);
        } else {
            if (item->OnDrawItem() == draw) {
                item->SetOnDrawItem(nullptr);
                item->SetDrawsSubMenuArrow(false);
            }
            if (item->OnMeasureItem() == measure) item->SetOnMeasureItem(nullptr);
        }
        SkinMenuItems(item, on, measure, keepOwnMeasure);
    }
}

// --- Form-level and MDI-client procedures --------------------------------------------------------

void TPellixForm::FormWndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_SETTEXT:
        if (FPrevWindowProc) FPrevWindowProc(message);
        if (IsWindowVisible(FHandle)) {
            UpdateWindowState();
            if (FWindowState == WindowStateMaximized && SkinFormHost != nullptr && SkinFormHost->FMDIClient != nullptr)
                PostMessageW(SkinFormHost->FMDIClient, WM_SKINMDIREDRAW, reinterpret_cast<WPARAM>(FHandle), 0);
            if (FWindowState == WindowStateMinimized)
                PaintFrame(nullptr);
            else
                FrameChanged();
        }
        return;
    case WM_SKINREFRESH: RefreshSkin(); return;
    case CM_DIALOGCHAR: DialogChar(message); return;
    case CM_MENUCHANGED: MenuChanged(message, true); return;
    case WM_SKINPAINTTO:
        if (message.LParam == SkinMagic) {
            if (message.WParam != 0) PaintFrame(reinterpret_cast<HDC>(message.WParam));
            message.Result = SkinMagic;
        }
        return;
    case WM_SKINIDENTIFY: message.Result = message.LParam == SkinMagic ? SkinMagic : 1; return;
    default:
        if (FPrevWindowProc) FPrevWindowProc(message);
        return;
    }
}

void TPellixForm::ClientWndProc(TMessage& message) {
    const bool skinned = FSkinFrame;
    auto passOn = [&] { message.Result = FClientSubclass.CallPrevious(message.Msg, message.WParam, message.LParam); };
    switch (message.Msg) {
    case WM_NCDESTROY:
        passOn();
        FClientSubclass.Restore();
        return;
    case WM_NCCALCSIZE:
        if (skinned && !FSkinData->Options().Contains(xoMDIScrollbar)) {
            const LONG style = GetWindowLongW(FClientHandle, GWL_STYLE);
            SetWindowLongW(FClientHandle, GWL_STYLE, style & ~static_cast<LONG>(WS_VSCROLL | WS_HSCROLL));
        }
        passOn();
        return;
    case WM_MDICREATE:
        FSkinData->SetMenuUpdate(false);
        passOn();
        return;
    case WM_MDIDESTROY: {
        passOn();
        if (!skinned || SkinFormHost == nullptr) return;
        BOOL maximized = FALSE;
        const auto active = reinterpret_cast<HWND>(
            SendMessageW(FClientHandle, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
        SkinFormHost->SetMDIMaximized(active != nullptr && maximized != FALSE);
        if (active == nullptr && FMenuBar) {
            FSkinData->SetMenuUpdate(FSavedMenuUpdate);
            FMenuBar->Rebuild();
        }
        return;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (skinned && SkinFormHost != nullptr && SkinFormHost->FMDIMaximized) SkinFormHost->SetMDIMaximized(false);
        passOn();
        return;
    case WM_MDISETMENU:
        passOn();
        if (!skinned) return;
        if (message.WParam != 0 && FMenuBar) FMenuBar->TakeMenu(GetMenu(FHandle));
        SetMenu(FHandle, nullptr);
        return;
    case WM_SKINMDIREDRAW:
        RedrawWindow(FHandle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return;
    default: passOn(); return;
    }
}
