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
#include "skin/data/SkinData.h"
#include "skin/data/SkinServices.h"
#include "skin/form/NCObject.h"
#include "skin/form/SkinControlLink.h"
#include "skin/form/SkinFormHost.h"
#include "skin/form/SkinMenuBarLink.h"

QUIRN_DEFINE_CLASS(TPellixForm)

namespace {

constexpr uint32_t HoverTimerInterval = 250;
// The class of a form whose popup menus are never skinned.
constexpr std::string_view RichEditFormClass = "TwwRichEditForm";
constexpr std::string_view MessageFormClass = "TMessageForm";
// Windows 2000 and Vista leave the style of application windows and owner-less windows alone.
constexpr DWORD KeepStyleMajorVersion = 5;
constexpr UINT FrameChangedFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
// A dialog's caption text is read through WM_GETTEXT into this many characters on the 9x family.
constexpr int CaptionBufferChars = 1000;

int32_t Width(const RECT& R) { return R.right - R.left; }
int32_t Height(const RECT& R) { return R.bottom - R.top; }

// Sets a published property of any component by name; nothing when the class has none.
void SetBooleanProperty(TObject* Instance, std::string_view Name, bool Value) {
    const TPropInfo* Prop = GetPropInfo(Instance, Name);
    if (Prop == nullptr) return;
    try {
        SetEnumProp(Instance, *Prop, Value ? "True" : "False");
    } catch (const Exception&) {
        // Not a Boolean after all: left as it is.
    }
}

}  // namespace

TPellixForm::TPellixForm(TComponent* AOwner)
    : TComponent(AOwner),
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

void TPellixForm::AttachForm(TSkinData* SkinData, TCustomForm* Form) {
    FForm = Form;
    if (SkinData->OnBeforeSkinForm()) SkinData->OnBeforeSkinForm()(Form, FHandle, FClassName);
    if (SkinData->SkinControls().Contains(xcMenuItem)) SetBooleanProperty(Form, "AutoScroll", false);
    InitSkin(SkinData);
    if (FSkinFrame) {
        FPrevWindowProc = Form->WindowProc();
        Form->SetWindowProc(TWndMethod(this, &TPellixForm::FormWndProc));
    }
    FSavedColor = Form->Color();
    Form->SetColor(SkinData->ButtonFaceColor());
    if (SkinData->SkinControls().Contains(xcMenuItem)) SkinMainMenus(Form, true);
}

void TPellixForm::AttachWindow(TSkinData* SkinData) { InitSkin(SkinData); }

bool TPellixForm::SkinDrawsFrames(const TSkinData& Data) {
    return !Data.FSkinLoading && !Data.FBorderTop->Bitmap->Empty();
}

void TPellixForm::InitSkin(TSkinData* SkinData) {
    if (Subclassed()) return;  // runs once
    if (SkinFormHost != nullptr) SkinFormHost->MarkRunning();
    FSkinData = SkinData;
    FTimer = std::make_unique<TTimer>(nullptr);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(HoverTimerInterval);
    FTimer->SetOnTimer(TNotifyEvent(this, &TPellixForm::HoverTimer));
    // A skin without a caption strip cannot replace the system's frame: the window keeps it.
    FSkinFrame = SkinData->SkinControls().Contains(xcMainMenu) && SkinDrawsFrames(*SkinData);

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
        if (SkinData->Options().Contains(xoMDIChildBorder)) FSkinFrame = false;
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

    const DWORD Version = GetVersion();
    const DWORD Major = LOBYTE(LOWORD(Version));
    const DWORD Minor = HIBYTE(LOWORD(Version));
    const bool NT = SkinPlatform().IsNT;
    if (Major >= KeepStyleMajorVersion && Minor == 0 &&
        (((FExStyle & WS_EX_APPWINDOW) != 0 && NT) || (FOwnerWindow == nullptr && !IsMDIChild())))
        FBorderIcons |= BorderIconKeepStyle;

    FUnicode = IsWindowUnicode(FHandle) != FALSE;
    if (FWndClass == DialogClassName || FWndClass == MessageFormClass) {
        FBorderKind = BorderKindDialog;
        FIsDialog = true;
    }
    if (IsWindows9xVersion(SkinPlatform().SystemVersion)) {
        TSkinControlTypes Controls = SkinData->SkinControls();
        Controls.Exclude(xcSystemMenu);
        SkinData->SetSkinControls(Controls);
    }

    if (FFormKind == FormKindMDIFrame) {
        FSavedMenuUpdate = SkinData->MenuUpdate();
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
        const int32_t SystemCaption = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
        if (FTitleHeight < SystemCaption) FMenuHeight = SystemCaption - FTitleHeight;
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
    RECT Window{};
    GetWindowRect(FHandle, &Window);
    FSystemRect = RECT{0, 0, Width(Window) - FClientRect.right, Height(Window) - FClientRect.bottom};

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

void TPellixForm::AdjustWindowSize(bool KeepClient) {
    UpdateWindowState();
    if (FWindowState == WindowStateMaximized) {
        FrameChanged();
        return;
    }
    RECT Window{};
    GetWindowRect(FHandle, &Window);
    if (FIsDialog || FSkinState == SkinStateRefreshing) GetClientRect(FHandle, &FClientRect);
    int32_t NewWidth = FClientRect.right + FLeftWidth + FRightWidth;
    int32_t ClientBottom = FClientRect.bottom;
    if (KeepClient) {
        GetClientRect(FHandle, &FClientRect);
        ClientBottom = FClientRect.bottom;
    } else if (FForm != nullptr) {
        NewWidth = FForm->ClientWidth() + FLeftWidth + FRightWidth;
        ClientBottom = IsMDIChild() ? FForm->ClientHeight() : FForm->ClientHeight() - FMenuHeight;
    }
    const int32_t NewHeight = ClientBottom + FTitleHeight + FBottomHeight + FMenuHeight;

    if (FIsDialog && !KeepClient) {
        FCaption = ReadWindowText();
        const RECT Extent = win::MeasureText(FCaptionFont->Handle(), FCaption, DT_SINGLELINE | DT_NOPREFIX);
        FTitleWidth = Extent.right - Extent.left;
        const TDataSkinTitle& Title = *FSkinData->FTitle;
        const int32_t Needed = Title.LeftWidth + FTitleWidth + Title.RightWidth;
        if (NewWidth < Needed) {
            const int32_t Shift = (Needed - NewWidth) / 2;
            for (HWND Child = GetTopWindow(FHandle); Child != nullptr; Child = GetWindow(Child, GW_HWNDNEXT)) {
                RECT ChildRect{};
                GetWindowRect(Child, &ChildRect);
                POINT TopLeft{ChildRect.left, ChildRect.top};
                ScreenToClient(FHandle, &TopLeft);
                SetWindowPos(Child, nullptr, TopLeft.x + Shift, TopLeft.y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
            }
            NewWidth = Needed;
        }
    }
    SetWindowPos(FHandle, nullptr, 0, 0, NewWidth, NewHeight,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
}

std::wstring TPellixForm::ReadWindowText() const {
    if (SkinPlatform().IsNT) {
        const int Length = GetWindowTextLengthW(FHandle);
        std::wstring Text(static_cast<size_t>(std::max(Length, 0)) + 1, L'\0');
        const int Read = GetWindowTextW(FHandle, Text.data(), static_cast<int>(Text.size()));
        Text.resize(static_cast<size_t>(std::max(Read, 0)));
        return Text;
    }
    std::string Buffer(CaptionBufferChars, '\0');
    const LRESULT Read = SendMessageA(FHandle, WM_GETTEXT, CaptionBufferChars, reinterpret_cast<LPARAM>(Buffer.data()));
    Buffer.resize(static_cast<size_t>(std::clamp<LRESULT>(Read, 0, CaptionBufferChars - 1)));
    return AnsiToWide(Buffer);
}

void TPellixForm::UpdateFrameMetrics() {
    if (FSkinData == nullptr || FSkinData->FSkinLoading) return;
    if (FBorderKind == BorderKindNoCaption) {
        FTitleHeight = FLeftWidth = FRightWidth = FBottomHeight = FMenuHeight = 0;
    } else {
        const TSkinData& Data = *FSkinData;
        auto Cell = [](const TDataSkinObject& Element, bool Horizontal) {
            const int32_t Frames = std::max(Element.Frame, 1);
            return Horizontal ? Element.Bitmap->Width() / Frames : Element.Bitmap->Height() / Frames;
        };
        FTitleHeight = Cell(*Data.FBorderTop, false);
        FLeftWidth = Cell(*Data.FBorderLeft, true);
        FRightWidth = Cell(*Data.FBorderRight, true);
        FBottomHeight = Cell(*Data.FBorderBottom, false);
    }
    FreeSysButtons();
    for (const auto& Element : FSkinData->FCaptionButtons) {
        if (!Element) continue;
        auto Button = std::make_unique<TWinSysButton>(this, Element.get());
        Button->FVisible = true;
        if (Element->Action == ButtonActionSystemMenu || Element->Action == ButtonActionIcon) {
            BuildIconBitmap();
            if (Element->Bitmap->Empty()) {
                Element->Bitmap->Assign(FIconBitmap.get());
                Element->Frame = 1;
            }
            if (FSkinData->FSmallIcon->Empty()) FSkinData->FSmallIcon->Assign(FIconBitmap.get());
        }
        FSysButtons.push_back(std::move(Button));
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
        const TColor Face = FSkinData->ButtonFaceColor();
        FForm->SetColor(Face);
        for (int32_t Index = 0; Index < FForm->ComponentCount(); ++Index)
            if (auto* Inner = ObjectAs<TCustomForm>(FForm->Components(Index))) Inner->SetColor(Face);
    }
    for (TSkinControlLink* Skin : FControlSkins) Skin->SkinChanged();
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
        const int32_t DeltaWidth = FSystemRect.right - FLeftWidth - FRightWidth;
        const int32_t DeltaHeight = FSystemRect.bottom - FTitleHeight - FBottomHeight;
        WINDOWPLACEMENT Placement{};
        Placement.length = sizeof(Placement);
        GetWindowPlacement(FHandle, &Placement);
        if (Placement.showCmd == SW_SHOWNORMAL || Placement.showCmd == SW_SHOW || Placement.showCmd == SW_SHOWNA ||
            Placement.showCmd == SW_SHOWNOACTIVATE || Placement.showCmd == SW_RESTORE) {
            RECT Window{};
            GetWindowRect(FHandle, &Window);
            POINT TopLeft{Window.left, Window.top};
            if (IsMDIChild()) ScreenToClient(GetParent(FHandle), &TopLeft);
            SetWindowPos(FHandle, nullptr, TopLeft.x, TopLeft.y, Width(Window) + DeltaWidth,
                         Height(Window) + DeltaHeight, SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
        } else {
            // Maximized or minimized: the size it is restored to keeps its client area.
            Placement.rcNormalPosition.right += DeltaWidth;
            Placement.rcNormalPosition.bottom += DeltaHeight;
            SetWindowPlacement(FHandle, &Placement);
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
        for (int32_t Index = 0; Index < FForm->ComponentCount(); ++Index)
            if (auto* Control = ObjectAs<TControl>(FForm->Components(Index))) Control->Invalidate();
    }
}

void TPellixForm::HideHint() {
    if (FSkinData != nullptr) FSkinData->HideButtonHint();
}

void TPellixForm::CallOldProc(TMessage& Message) {
    Message.Result = FWindowSubclass.CallPrevious(Message.Msg, Message.WParam, Message.LParam);
}

// --- Control skinners ------------------------------------------------------------------------

bool TPellixForm::AddControlSkin(TSkinControlLink* Skin) {
    if (std::find(FControlSkins.begin(), FControlSkins.end(), Skin) != FControlSkins.end()) return true;
    FControlSkins.push_back(Skin);
    return false;
}

void TPellixForm::RemoveControlSkin(TSkinControlLink* Skin) {
    const auto Found = std::find(FControlSkins.rbegin(), FControlSkins.rend(), Skin);
    if (Found != FControlSkins.rend()) FControlSkins.erase(std::next(Found).base());
    if (FHotControl == Skin) FHotControl = nullptr;
}

void TPellixForm::FreeControlSkins() {
    FHotControl = nullptr;
    while (!FControlSkins.empty()) {
        TSkinControlLink* Skin = FControlSkins.front();
        FControlSkins.erase(FControlSkins.begin());
        if (FSkinState != SkinStateDestroying && Skin->SkinStatus() != ControlSkinGone) Skin->Detach();
        delete Skin;
    }
}

void TPellixForm::PurgeControlSkins() {
    for (size_t Index = FControlSkins.size(); Index-- > 0;) {
        TSkinControlLink* Skin = FControlSkins[Index];
        if (Skin->SkinStatus() != ControlSkinGone) continue;
        FControlSkins.erase(FControlSkins.begin() + static_cast<std::ptrdiff_t>(Index));
        if (FHotControl == Skin) FHotControl = nullptr;
        delete Skin;
    }
}

TSkinControlLink* TPellixForm::FindControlSkin(HWND Window) const {
    for (TSkinControlLink* Skin : FControlSkins)
        if (Skin->SkinnedWindow() == Window) return Skin;
    return nullptr;
}

void TPellixForm::DiscoverForm(TCustomForm* Form) {
    PurgeControlSkins();
    if (ControlDiscovery().DiscoverForm != nullptr) ControlDiscovery().DiscoverForm(*this, *Form);
}

void TPellixForm::DiscoverWindows(HWND Parent) {
    for (HWND Child = GetTopWindow(Parent); Child != nullptr; Child = GetWindow(Child, GW_HWNDNEXT))
        if ((GetWindowLongW(Child, GWL_STYLE) & WS_CHILD) != 0) MapWindow(Child);
}

void TPellixForm::MapWindow(HWND Window) {
    if (ControlDiscovery().MapWindow != nullptr) ControlDiscovery().MapWindow(*this, Window);
}

// --- Menus of the form -----------------------------------------------------------------------

void TPellixForm::SkinPopupMenus(TComponent* Component, bool On) {
    if (FForm != nullptr && FForm->ClassNameIs(RichEditFormClass)) return;
    if (Component == nullptr || FSkinData == nullptr) return;
    for (int32_t Index = 0; Index < Component->ComponentCount(); ++Index) {
        TComponent* Owned = Component->Components(Index);
        if (Owned->InheritsFrom(TCustomForm::StaticClass())) {
            SkinPopupMenus(Owned, On);
            continue;
        }
        auto* Menu = ObjectAs<TPopupMenu>(Owned);
        if (Menu == nullptr || Menu->Tag() == FSkinData->DisableTag() ||
            !FSkinData->SkinControls().Contains(xcPopupMenu))
            continue;
        Menu->SetOwnerDraw(On);
        SkinMenuItems(Menu->Items(), On, TMenuMeasureItemEvent(this, &TPellixForm::MeasurePopupItem), true);
    }
}

void TPellixForm::SkinMainMenus(TComponent* Component, bool On) {
    if (Component == nullptr) return;
    for (int32_t Index = 0; Index < Component->ComponentCount(); ++Index) {
        auto* Menu = ObjectAs<TMainMenu>(Component->Components(Index));
        if (Menu == nullptr) continue;
        if (On) Menu->SetOwnerDraw(true);
        // The bar's own entries are drawn by the menu bar; the items below them by the skin.
        for (int32_t Top = 0; Top < Menu->Items()->Count(); ++Top)
            SkinMenuItems(Menu->Items()->Items(Top), On, TMenuMeasureItemEvent(this, &TPellixForm::MeasureMenuItem),
                          false);
    }
}

void TPellixForm::SkinMenuItems(TMenuItem* Parent, bool On, TMenuMeasureItemEvent Measure, bool KeepOwnMeasure) {
    const TMenuDrawItemEvent Draw(this, &TPellixForm::DrawMenuItem);
    for (int32_t Index = 0; Index < Parent->Count(); ++Index) {
        TMenuItem* Item = Parent->Items(Index);
        if (On) {
            // An item the application draws itself keeps its own drawing.
            if (!KeepOwnMeasure && Item->OnDrawItem() && Item->OnDrawItem() != Draw) continue;
            Item->SetOnDrawItem(Draw);
            if (!KeepOwnMeasure || !Item->OnMeasureItem()) Item->SetOnMeasureItem(Measure);
        } else {
            if (Item->OnDrawItem() == Draw) Item->SetOnDrawItem(nullptr);
            if (Item->OnMeasureItem() == Measure) Item->SetOnMeasureItem(nullptr);
        }
        SkinMenuItems(Item, On, Measure, KeepOwnMeasure);
    }
}

// --- Form-level and MDI-client procedures --------------------------------------------------------

void TPellixForm::FormWndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETTEXT:
        if (FPrevWindowProc) FPrevWindowProc(Message);
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
    case CM_DIALOGCHAR: DialogChar(Message); return;
    case CM_MENUCHANGED: MenuChanged(Message, true); return;
    case WM_SKINPAINTTO:
        if (Message.LParam == SkinMagic) {
            if (Message.WParam != 0) PaintFrame(reinterpret_cast<HDC>(Message.WParam));
            Message.Result = SkinMagic;
        }
        return;
    case WM_SKINIDENTIFY: Message.Result = Message.LParam == SkinMagic ? SkinMagic : 1; return;
    default:
        if (FPrevWindowProc) FPrevWindowProc(Message);
        return;
    }
}

void TPellixForm::ClientWndProc(TMessage& Message) {
    const bool Skinned = FSkinFrame;
    auto PassOn = [&] { Message.Result = FClientSubclass.CallPrevious(Message.Msg, Message.WParam, Message.LParam); };
    switch (Message.Msg) {
    case WM_NCDESTROY:
        PassOn();
        FClientSubclass.Restore();
        return;
    case WM_NCCALCSIZE:
        if (Skinned && !FSkinData->Options().Contains(xoMDIScrollbar)) {
            const LONG Style = GetWindowLongW(FClientHandle, GWL_STYLE);
            SetWindowLongW(FClientHandle, GWL_STYLE, Style & ~static_cast<LONG>(WS_VSCROLL | WS_HSCROLL));
        }
        PassOn();
        return;
    case WM_MDICREATE:
        FSkinData->SetMenuUpdate(false);
        PassOn();
        return;
    case WM_MDIDESTROY: {
        PassOn();
        if (!Skinned || SkinFormHost == nullptr) return;
        BOOL Maximized = FALSE;
        const auto Active = reinterpret_cast<HWND>(
            SendMessageW(FClientHandle, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&Maximized)));
        SkinFormHost->SetMDIMaximized(Active != nullptr && Maximized != FALSE);
        if (Active == nullptr && FMenuBar) {
            FSkinData->SetMenuUpdate(FSavedMenuUpdate);
            FMenuBar->Rebuild();
        }
        return;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (Skinned && SkinFormHost != nullptr && SkinFormHost->FMDIMaximized) SkinFormHost->SetMDIMaximized(false);
        PassOn();
        return;
    case WM_MDISETMENU:
        PassOn();
        if (!Skinned) return;
        if (Message.WParam != 0 && FMenuBar) FMenuBar->TakeMenu(GetMenu(FHandle));
        SetMenu(FHandle, nullptr);
        return;
    case WM_SKINMDIREDRAW:
        RedrawWindow(FHandle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return;
    default: PassOn(); return;
    }
}
