// TSkinManage: registration of skin data components, the WH_CBT hook, the tests that decide which
// windows are skinned, and the skin-on, skin-off and skin-changed actions.
#include "skin/form/SkinManage.h"

#include <algorithm>
#include <cctype>

#include "framework/controls/ControlAtom.h"
#include "framework/controls/Form.h"
#include "framework/controls/Screen.h"
#include "framework/controls/Timer.h"
#include "framework/rtl/Trace.h"
#include "framework/win/HookHandle.h"
#include "skin/data/SkinData.h"
#include "skin/data/WindowsVersion.h"
#include "skin/form/PellixFormSkinner.h"
#include "skin/form/PellixPopMenu.h"

QUIRN_DEFINE_CLASS(TSkinManage)

TSkinManage* SkinManager = nullptr;
TSkinFormHost* SkinFormHost = nullptr;

namespace {

constexpr int MajorVersion6 = 6;
constexpr int ClassNameChars = 100;

// Class names that are never skinned (contained in the name), and the exact ones.
constexpr std::string_view PopupEditClassPart = "TcxPopupEditPopupWindow";
constexpr std::string_view RenderWindowClassPart = "TTERenderWindow";
constexpr std::string_view ApplicationClass = "TApplication";
constexpr std::string_view ScrollBarClass = "ScrollBar";
// Lower-cased class names of the acceptance rules.
constexpr std::string_view PreviewPart = "preview";
constexpr std::string_view DBTreeViewPopup = "tpopupdbtreeview";
constexpr std::string_view MessageFormLower = "tmessageform";
constexpr std::string_view MDIClientLower = "mdiclient";

win::HookHandle Hook;
bool HookDisabled = false;

TSkinPlatform DetectPlatform() {
    TSkinPlatform Platform;
    // The module whose code this is: its windows are this program's own.
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&DetectPlatform), &Platform.ModuleInstance);
    const DWORD Version = GetVersion();
    Platform.IsNT = IsNTPlatform();
    Platform.NotVersion6 = LOBYTE(LOWORD(Version)) != MajorVersion6;
    return Platform;
}

TSkinPlatform& MutablePlatform() {
    static TSkinPlatform Platform = DetectPlatform();
    return Platform;
}

std::string Lower(std::string Text) {
    std::transform(Text.begin(), Text.end(), Text.begin(),
                   [](unsigned char Char) { return static_cast<char>(std::tolower(Char)); });
    return Text;
}

bool Contains(std::string_view Text, std::string_view Part) { return Text.find(Part) != std::string_view::npos; }

// A child window that is not an MDI child and does not sit directly in an MDI client.
bool IsPlainChild(HWND Window) {
    const LONG Style = GetWindowLongW(Window, GWL_STYLE);
    const LONG ExStyle = GetWindowLongW(Window, GWL_EXSTYLE);
    if ((Style & WS_CHILD) == 0 || (ExStyle & WS_EX_MDICHILD) != 0) return false;
    return Lower(ClassNameOf(GetParent(Window))) != MDIClientLower;
}

// The form object of a window: a form of the application whose window it is, else the control
// stored on the window when that is a form.
TCustomForm* FindVCLForm(HWND Window) {
    if (Screen != nullptr) {
        for (int32_t Index = 0; Index < Screen->FormCount(); ++Index) {
            TCustomForm* Form = Screen->Forms(Index);
            if (Form->HandleAllocated() && Form->Handle() == Window) return Form;
        }
    }
    return ObjectAs<TCustomForm>(FindControl(Window));
}

// A popup skinner attached to a new menu window; none when the system refused the subclass.
std::unique_ptr<TPellixPopMenu> MakePopMenu(HWND Window, TSkinData* Data) {
    auto Popup = std::make_unique<TPellixPopMenu>();
    if (!Popup->Attach(Window, Data, nullptr)) return nullptr;
    return Popup;
}

// The hook sees window creation, activation and destruction on this thread and hands windows to
// the manager. It never blocks an operation, and nothing thrown in it crosses the system's frames.
LRESULT CALLBACK CBTHookProc(int Code, WPARAM WParam, LPARAM LParam) {
    if (HookDisabled) return Hook.CallNext(Code, WParam, LParam);
    TSkinManage* Manager = SkinManager;
    if (Code >= 0 && Manager != nullptr) {
        try {
            const auto Window = reinterpret_cast<HWND>(WParam);
            switch (Code) {
            case HCBT_CREATEWND: {
                const CREATESTRUCTW* Create = reinterpret_cast<CBT_CREATEWNDW*>(LParam)->lpcs;
                const std::string Class = ClassNameOf(Window);
                if (Class == ScrollBarClass && (Create->style & SBS_SIZEGRIP) != 0) {
                    if (TPellixForm* Form = Manager->FindForm(Create->hwndParent)) Form->MapWindow(Window);
                }
                if ((Create->style & WS_CHILD) == 0 && Class == PopupMenuClassName) Manager->SkinPopup(Window);
                if ((Create->dwExStyle & WS_EX_MDICHILD) != 0) Manager->SkinWindow(Window);
                break;
            }
            case HCBT_DESTROYWND: Manager->UnskinPopup(Window); break;
            case HCBT_ACTIVATE:
                if (Manager->FState == SkinManagerIdle) Manager->FState = SkinManagerRunning;
                Manager->SkinWindow(Window);
                break;
            default: break;
            }
        } catch (...) {
            QUIRN_TRACE(TTraceChannel::Hook, "hook handler failed for code ", Code);
        }
    }
    return Hook.CallNext(Code, WParam, LParam);
}

TSkinEngineLink* FindManager() { return SkinManager; }

TSkinEngineLink* CreateManager() {
    if (SkinManager == nullptr) SkinManager = new TSkinManage();
    return SkinManager;
}

// Unit start-up installs the manager's factory for the skin data components;
// unit shut-down frees the manager after the application's forms. The
// library is linked whole (quirn_skin_engine), so this object is never dropped.
struct TUnitLifetime {
    TUnitLifetime() {
        MutablePlatform();
        SetSkinEngineFactory({FindManager, CreateManager});
    }
    ~TUnitLifetime() { FreeSkinManager(); }
} UnitLifetime;

}  // namespace

std::string ClassNameOf(HWND Window) {
    if (Window == nullptr) return {};
    char Name[ClassNameChars + 1]{};
    const int Length = GetClassNameA(Window, Name, ClassNameChars);
    return std::string(Name, static_cast<size_t>(std::max(Length, 0)));
}

const TSkinPlatform& SkinPlatform() { return MutablePlatform(); }
HHOOK SkinHookHandle() { return Hook.get(); }
bool SkinHookDisabled() { return HookDisabled; }

void FreeSkinManager() {
    delete SkinManager;
    SkinManager = nullptr;
}

TSkinManage::TSkinManage() : FTimer(std::make_unique<TTimer>(nullptr)) {
    FTimer->SetEnabled(false);
    FTimer->SetInterval(SkinManagerTimerInterval);
    FTimer->SetOnTimer(TNotifyEvent(this, &TSkinManage::DoAction));
    HookDisabled = false;
    SkinFormHost = this;
}

TSkinManage::~TSkinManage() {
    FState = SkinManagerDestroying;
    FActive = false;
    FTimer.reset();
    while (!FForms.empty()) {
        TPellixForm* Form = FForms.back();
        FForms.pop_back();
        Form->UnskinDestroyed();
        delete Form;
    }
    for (TPellixPopMenu* Popup : FPopups) delete Popup;
    FPopups.clear();
    FSkinDatas.clear();
    Hook.reset();
    HookDisabled = true;
    if (SkinFormHost == this) SkinFormHost = nullptr;
}

// --- Registration and requests -------------------------------------------------------------

void TSkinManage::RegisterSkinData(TSkinData* SkinData) {
    FSkinDatas.push_back(SkinData);
    if (FMainSkinData == nullptr && SkinData->SkinFormtype() == sfMainform) FMainSkinData = SkinData;
}

void TSkinManage::UnregisterSkinData(TSkinData* SkinData) {
    const auto Found = std::find(FSkinDatas.begin(), FSkinDatas.end(), SkinData);
    if (Found != FSkinDatas.end()) FSkinDatas.erase(Found);
    // Nothing may keep pointing at a component that is going: its windows lose their skin.
    if (FState != SkinManagerDestroying) ReleaseFormsOf(SkinData);
    if (FMainSkinData == SkinData) FMainSkinData = nullptr;
    if (FActionData == SkinData) {
        FActionData = nullptr;
        FTimer->SetEnabled(false);
    }
}

void TSkinManage::InstallHook() {
    MutablePlatform().SystemVersion = GetVersion();
    if (Hook) return;  // one hook per manager
    Hook = win::HookHandle(WH_CBT, CBTHookProc, nullptr, GetCurrentThreadId());
    QUIRN_TRACE(TTraceChannel::Hook, "CBT hook ", Hook.get());
}

void TSkinManage::RequestAction(TSkinData* SkinData, int32_t Action, uint32_t Interval) {
    FActionData = SkinData;
    StartAction(Action, Interval);
}

void TSkinManage::AddOwnFormSkinData() {
    FActive = true;
    ++FState;
}

void TSkinManage::StartAction(int32_t Action, uint32_t Interval) {
    FAction = Action;
    FTimer->SetInterval(Interval);
    if (FState != SkinManagerIdle) {
        FTimer->SetEnabled(true);
        return;
    }
    // Before any window has been activated, a request only switches the
    // manager; the hook then skins windows as they are activated.
    if (Action == SkinActionOn) FActive = true;
    if (Action == SkinActionOff) FActive = false;
}

void TSkinManage::ResetSysButtons(TSkinData* SkinData) {
    FActionData = SkinData;
    // A load that failed leaves the component without a usable skin, and a damaged one may leave a
    // skin without a frame: windows whose frame the skin cannot draw go back to the system's look at
    // once rather than being painted from what the load left.
    if (SkinData->FSkinLoading || !TPellixForm::SkinDrawsFrames(*SkinData)) ReleaseFramesOf(SkinData);
    for (TPellixForm* Form : FForms)
        if (Form->FSkinData == SkinData) Form->FreeSysButtons();
}

void TSkinManage::ReleaseFramesOf(TSkinData* SkinData) {
    PurgeForms();
    const bool Frames = TPellixForm::SkinDrawsFrames(*SkinData);
    const std::vector<TPellixForm*> Forms = FForms;
    for (TPellixForm* Form : Forms) {
        if (Form->FSkinData != SkinData || Form->FSkinState == SkinStateDead) continue;
        // Without a usable skin every window goes; without a frame those that draw one. A window
        // that kept the system's frame under a skin without one is attached again (by the scan
        // that follows a skin change), so that it gets the frame of a skin that has one.
        if (SkinData->FSkinLoading || Form->FSkinFrame != Frames) ReleaseForm(Form);
    }
}

// --- Deciding on a window -------------------------------------------------------------------

bool TSkinManage::SkinWindow(HWND Window) {
    if (!FActive || Window == nullptr) return false;
    PurgeForms();
    if (SendMessageW(Window, WM_SKINQUERY, 0, 0) == SkinQueryAnswer) return false;
    if (FindForm(Window) != nullptr) return false;
    TCustomForm* Form = FindVCLForm(Window);
    if (!FScanning && IsPlainChild(Window)) return false;
    const std::string Class = ClassNameOf(Window);
    const auto Instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(Window, GWLP_HINSTANCE));
    if (Form == nullptr && Instance != SkinPlatform().ModuleInstance && Class != DialogClassName) return false;
    RECT Rect{};
    GetWindowRect(Window, &Rect);
    const bool MDIChild = (GetWindowLongW(Window, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
    if ((Rect.right - Rect.left) * (Rect.bottom - Rect.top) == 0 && !MDIChild) return false;
    if (Form != nullptr && Form->Tag() == NeverSkinTag) return false;
    if (Contains(Class, PopupEditClassPart) || Contains(Class, RenderWindowClassPart) || Class == ApplicationClass)
        return false;
    if (!AcceptWindow(Window, Class)) return false;
    TSkinData* Data = SelectSkinData(Window);
    if (Data == nullptr || Data->FSkinLoading) return false;

    auto* Skinner = new TPellixForm(Form);
    Skinner->FHandle = Window;
    Skinner->FClassName = Class;
    if (Form != nullptr)
        Skinner->AttachForm(Data, Form);
    else
        Skinner->AttachWindow(Data);
    if (!Skinner->Subclassed()) {
        // The system refused the new window procedure: the window stays as it is.
        Skinner->UnskinPlain();
        delete Skinner;
        return false;
    }
    FForms.push_back(Skinner);
    PostMessageW(Window, WM_SKINATTACH, 0, SkinAttachParam);
    QUIRN_TRACE(TTraceChannel::Manager, "skinning ", Window, " class ", Class);
    return true;
}

bool TSkinManage::AcceptWindow(HWND Window, const std::string& ClassName) {
    bool DoSkin = true;
    if (FMainSkinData == nullptr) return DoSkin;
    const std::string LowerName = Lower(ClassName);
    if (!FMainSkinData->Options().Contains(xoPreview) && Contains(LowerName, PreviewPart)) DoSkin = false;
    if (ClassName == DialogClassName && (GetWindowLongW(Window, GWL_STYLE) & DS_SETFOREGROUND) != 0) DoSkin = false;
    if (LowerName == DBTreeViewPopup) DoSkin = false;
    FMainSkinData->DoFormSkin(Window, ClassName, DoSkin);
    return DoSkin;
}

TSkinData* TSkinManage::SelectSkinData(HWND Window) {
    auto LastOf = [&](auto Matches) -> TSkinData* {
        TSkinData* Found = nullptr;
        for (TSkinData* Data : FSkinDatas)
            if (Matches(*Data)) Found = Data;
        return Found;
    };
    if (TSkinData* Own = LastOf([&](TSkinData& Data) {
            auto* Owner = ObjectAs<TCustomForm>(Data.Owner());
            return Data.SkinFormtype() == sfOnlyThisForm && Owner != nullptr && Owner->HandleAllocated() &&
                   Owner->Handle() == Window;
        }))
        return Own;
    const std::string LowerName = Lower(ClassNameOf(Window));
    if (LowerName == MessageFormLower || LowerName == DialogClassName) {
        if (TSkinData* Dialog = LastOf([](TSkinData& Data) { return Data.SkinFormtype() == sfDialog; })) return Dialog;
    }
    if (TSkinData* Main = LastOf([](TSkinData& Data) { return Data.SkinFormtype() == sfMainform; })) return Main;
    return FSkinDatas.empty() ? nullptr : FSkinDatas.front();
}

void TSkinManage::SkinForm(TCustomForm* Form) {
    if (Form == nullptr || !Form->HandleAllocated()) return;
    const HWND Window = Form->Handle();
    if (!IsWindowVisible(Window) || (GetWindowLongW(Window, GWL_STYLE) & WS_CHILD) != 0) return;
    SkinWindow(Window);
}

void TSkinManage::PurgeForms() {
    for (size_t Index = FForms.size(); Index-- > 0;) {
        TPellixForm* Form = FForms[Index];
        if (Form->FSkinState != SkinStateDead || Form->InWindowProc()) continue;
        FForms.erase(FForms.begin() + static_cast<std::ptrdiff_t>(Index));
        delete Form;
    }
}

TPellixForm* TSkinManage::FindForm(HWND Window) const {
    if (Window == nullptr) return nullptr;
    for (TPellixForm* Form : FForms)
        if (Form->FHandle == Window && Form->FSkinState != SkinStateDead) return Form;
    return nullptr;
}

void TSkinManage::RemoveForm(TPellixForm* Form) {
    if (FState == SkinManagerDestroying) return;
    const auto Found = std::find(FForms.begin(), FForms.end(), Form);
    if (Found != FForms.end()) FForms.erase(Found);
}

// --- Actions ------------------------------------------------------------------------------------

void TSkinManage::ReleaseForm(TPellixForm* Form) {
    Form->Unskin();
    InvalidateRect(Form->FHandle, nullptr, TRUE);
    UpdateWindow(Form->FHandle);
    if (Form->InWindowProc()) {
        // Freed by the next purge, once its window procedure has returned.
        Form->FSkinState = SkinStateDead;
        return;
    }
    RemoveForm(Form);
    delete Form;
}

void TSkinManage::ReleaseFormsOf(TSkinData* SkinData) {
    PurgeForms();
    const std::vector<TPellixForm*> Forms = FForms;
    for (TPellixForm* Form : Forms)
        if (Form->FSkinData == SkinData && Form->FSkinState != SkinStateDead) ReleaseForm(Form);
}

void TSkinManage::ScanForms() {
    if (Screen == nullptr) return;
    FScanning = true;
    for (int32_t Index = Screen->FormCount(); Index-- > 0;)
        if (Index < Screen->FormCount()) SkinForm(Screen->Forms(Index));
    FScanning = false;
}

void TSkinManage::DoAction(TObject*) {
    FTimer->SetEnabled(false);
    TSkinData* Data = FActionData;
    if (Data == nullptr) return;
    QUIRN_TRACE(TTraceChannel::Manager, "action ", FAction);
    if (Data->SkinFormtype() == sfOnlyThisForm) {
        auto* Owner = ObjectAs<TCustomForm>(Data->Owner());
        switch (FAction) {
        case SkinActionOn:
            FActive = true;
            if (Owner != nullptr) {
                FScanning = true;
                SkinForm(Owner);
                FScanning = false;
            }
            break;
        case SkinActionOff:
            FActive = false;
            PurgeForms();
            for (size_t Index = FForms.size(); Index-- > 0;) {
                if (FForms[Index]->FSkinData != Data) continue;
                ReleaseForm(FForms[Index]);
                break;
            }
            break;
        case SkinActionChanged:
            ReleaseFramesOf(Data);
            PurgeForms();
            if (Data->FSkinLoading) break;
            for (TPellixForm* Form : FForms) {
                if (Form->FSkinData != Data) continue;
                Form->FreeSysButtons();
                Form->UpdateFrameMetrics();
                Form->RefreshSkin();
                break;
            }
            if (FActive && Owner != nullptr &&
                FindForm(Owner->HandleAllocated() ? Owner->Handle() : nullptr) == nullptr) {
                FScanning = true;
                SkinForm(Owner);
                FScanning = false;
            }
            break;
        default: break;
        }
    } else {
        switch (FAction) {
        case SkinActionOn:
            FActive = true;
            PurgeForms();
            ScanForms();
            break;
        case SkinActionOff:
            FActive = false;
            PurgeForms();
            while (!FForms.empty()) {
                const size_t Before = FForms.size();
                ReleaseForm(FForms.front());
                if (FForms.size() == Before) {
                    // Still inside its window procedure: kept (dead) for a later purge.
                    std::rotate(FForms.begin(), FForms.begin() + 1, FForms.end());
                    if (std::all_of(FForms.begin(), FForms.end(),
                                    [](TPellixForm* Form) { return Form->FSkinState == SkinStateDead; }))
                        break;
                }
            }
            break;
        case SkinActionChanged: {
            ReleaseFramesOf(Data);
            PurgeForms();
            if (Data->FSkinLoading) break;
            std::vector<TPellixForm*> Changed;
            for (TPellixForm* Form : FForms) {
                if (Form->FSkinData != Data) continue;
                Form->FreeSysButtons();
                Form->UpdateFrameMetrics();
                Changed.push_back(Form);
            }
            for (TPellixForm* Form : Changed) Form->RefreshSkin();
            // Forms that lost their skin to a failed load before come back with this one.
            if (FActive) ScanForms();
            break;
        }
        default: break;
        }
    }
    Data->DoSkinChanged();
    FActionData = nullptr;
}

void TSkinManage::SetMDIMaximized(bool Value) {
    if (Value == FMDIMaximized) return;
    FMDIMaximized = Value;
    if (FMainSkinData != nullptr && FMainSkinData->Options().Contains(xoMDIChildBorder)) return;
    for (TPellixForm* Form : FForms) {
        if (!Form->IsMDIChild() || Form->FSkinState == SkinStateDead) continue;
        if (Value) {
            // The region belongs to the system: giving the window none frees it.
            if (Form->FHasRegion) {
                SetWindowRgn(Form->FHandle, nullptr, TRUE);
                Form->FRegion = nullptr;
                Form->FHasRegion = false;
            }
        } else if (!IsIconic(Form->FHandle)) {
            Form->FWindowState = WindowStateNormal;
            Form->UpdateRegion();
            if (!Form->FHasRegion)
                SetWindowPos(Form->FHandle, nullptr, 0, 0, 0, 0,
                             SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
    }
}

// --- Popup menus ----------------------------------------------------------------------------------

void TSkinManage::SkinPopup(HWND Window) {
    if (!FActive) return;
    if (SendMessageW(Window, WM_SKINQUERY, 0, 0) == SkinQueryAnswer) return;
    if (std::any_of(FPopups.begin(), FPopups.end(), [&](TPellixPopMenu* Popup) { return Popup->FHandle == Window; }))
        return;
    TSkinData* Data = SelectSkinData(Window);
    if (Data == nullptr || Data->FSkinLoading) return;
    const TSkinControlTypes Controls = Data->SkinControls();
    switch (FMenuSource) {
    case MenuSourcePopup:
        if (!Controls.Contains(xcPopupMenu)) return;
        break;
    case MenuSourceMenuBar:
        if (!Controls.Contains(xcMainMenu) && !Controls.Contains(xcMenuItem)) return;
        break;
    case MenuSourceSystemMenu:
        if (!Controls.Contains(xcSystemMenu)) return;
        break;
    default: return;
    }
    std::unique_ptr<TPellixPopMenu> Popup = MakePopMenu(Window, Data);
    if (!Popup) return;
    if (FMenuBarOpen) Popup->FFromMenuBar = true;
    FPopups.push_back(Popup.release());
}

void TSkinManage::UnskinPopup(HWND Window) {
    const auto Found =
        std::find_if(FPopups.begin(), FPopups.end(), [&](TPellixPopMenu* Popup) { return Popup->FHandle == Window; });
    if (Found != FPopups.end()) {
        TPellixPopMenu* Popup = *Found;
        FPopups.erase(Found);
        delete Popup;  // its destructor gives the window its procedure back
    }
    if (FPopups.empty()) {
        FMenuBarOpen = false;
        FMenuSource = MenuSourcePopup;
    }
}

void TSkinManage::MarkPopupsFromMenuBar() {
    for (TPellixPopMenu* Popup : FPopups) Popup->FFromMenuBar = true;
}

void TSkinManage::AssignPopupMenu(HMENU Menu) {
    for (auto Popup = FPopups.rbegin(); Popup != FPopups.rend(); ++Popup) {
        if ((*Popup)->FMenuHandle != nullptr) continue;
        (*Popup)->FMenuHandle = Menu;
        return;
    }
}

TBitmap* TSkinManage::PopupBitmapOf(HMENU Menu) const {
    TPellixPopMenu* Popup = PopupOf(Menu);
    return Popup == nullptr || Popup->FBuffer->Empty() ? nullptr : Popup->FBuffer.get();
}

TPellixPopMenu* TSkinManage::PopupOf(HMENU Menu) const {
    if (Menu == nullptr) return nullptr;
    for (TPellixPopMenu* Popup : FPopups)
        if (Popup->FMenuHandle == Menu) return Popup;
    return nullptr;
}
