// TSkinManage: registration of skin data components, the WH_CBT hook, the tests that decide which
// windows are skinned, and the skin-on, skin-off and skin-changed actions.
#include "skin/form/SkinManage.h"

#include <algorithm>

#include "framework/controls/ControlAtom.h"
#include "framework/controls/Form.h"
#include "framework/controls/Screen.h"
#include "framework/controls/Timer.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Trace.h"
#include "framework/win/HookHandle.h"
#include "skin/data/ClassNames.h"
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

win::HookHandle Hook;
bool HookDisabled = false;

TSkinPlatform DetectPlatform() {
    TSkinPlatform platform;
    // The module whose code this is: its windows are this program's own.
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&DetectPlatform), &platform.ModuleInstance);
    const DWORD version = GetVersion();
    platform.IsNT = IsNTPlatform();
    platform.NotVersion6 = LOBYTE(LOWORD(version)) != MajorVersion6;
    return platform;
}

TSkinPlatform& MutablePlatform() {
    static TSkinPlatform platform = DetectPlatform();
    return platform;
}

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// A child window that is not an MDI child and does not sit directly in an MDI client.
bool IsPlainChild(HWND window) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    if ((style & WS_CHILD) == 0 || (exStyle & WS_EX_MDICHILD) != 0) return false;
    return !SameText(ClassNameOf(GetParent(window)), MDIClientClassName);
}

// The form object of a window: a form of the application whose window it is, else the control
// stored on the window when that is a form.
TCustomForm* FindVCLForm(HWND window) {
    if (Screen != nullptr) {
        for (int32_t index = 0; index < Screen->FormCount(); ++index) {
            TCustomForm* form = Screen->Forms(index);
            if (form->HandleAllocated() && form->Handle() == window) return form;
        }
    }
    return ObjectAs<TCustomForm>(FindControl(window));
}

// A popup skinner attached to a new menu window; none when the system refused the subclass.
std::unique_ptr<TPellixPopMenu> MakePopMenu(HWND window, TSkinData* data) {
    auto popup = std::make_unique<TPellixPopMenu>();
    if (!popup->Attach(window, data, nullptr)) return nullptr;
    return popup;
}

// The hook sees window creation, activation and destruction on this thread and hands windows to
// the manager. It never blocks an operation, and nothing thrown in it crosses the system's frames.
LRESULT CALLBACK CBTHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (HookDisabled) return Hook.CallNext(code, wParam, lParam);
    TSkinManage* manager = SkinManager;
    if (code >= 0 && manager != nullptr) {
        try {
            const auto window = reinterpret_cast<HWND>(wParam);
            switch (code) {
            case HCBT_CREATEWND: {
                const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
                const std::string className = ClassNameOf(window);
                if (className == ScrollBarClassName && (create->style & SBS_SIZEGRIP) != 0) {
                    if (TPellixForm* form = manager->FindForm(create->hwndParent)) form->MapWindow(window);
                }
                if ((create->style & WS_CHILD) == 0 && className == PopupMenuClassName) manager->SkinPopup(window);
                if ((create->dwExStyle & WS_EX_MDICHILD) != 0) manager->SkinWindow(window);
                break;
            }
            case HCBT_DESTROYWND: manager->UnskinPopup(window); break;
            case HCBT_ACTIVATE:
                if (manager->FState == SkinManagerIdle) manager->FState = SkinManagerRunning;
                manager->SkinWindow(window);
                break;
            default: break;
            }
        } catch (...) {
            QUIRN_TRACE(TTraceChannel::Hook, "hook handler failed for code ", code);
        }
    }
    return Hook.CallNext(code, wParam, lParam);
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

std::string ClassNameOf(HWND window) {
    if (window == nullptr) return {};
    char name[ClassNameChars + 1]{};
    const int length = GetClassNameA(window, name, ClassNameChars);
    return std::string(name, static_cast<size_t>(std::max(length, 0)));
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
        TPellixForm* form = FForms.back();
        FForms.pop_back();
        form->UnskinDestroyed();
        delete form;
    }
    for (TPellixPopMenu* popup : FPopups) delete popup;
    FPopups.clear();
    FSkinDatas.clear();
    Hook.reset();
    HookDisabled = true;
    if (SkinFormHost == this) SkinFormHost = nullptr;
}

// --- Registration and requests -------------------------------------------------------------

void TSkinManage::RegisterSkinData(TSkinData* skinData) {
    FSkinDatas.push_back(skinData);
    if (FMainSkinData == nullptr && skinData->SkinFormtype() == sfMainform) FMainSkinData = skinData;
}

void TSkinManage::UnregisterSkinData(TSkinData* skinData) {
    const auto found = std::find(FSkinDatas.begin(), FSkinDatas.end(), skinData);
    if (found != FSkinDatas.end()) FSkinDatas.erase(found);
    // Nothing may keep pointing at a component that is going: its windows lose their skin.
    if (FState != SkinManagerDestroying) ReleaseFormsOf(skinData);
    if (FMainSkinData == skinData) FMainSkinData = nullptr;
    if (FActionData == skinData) {
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

void TSkinManage::RequestAction(TSkinData* skinData, int32_t action, uint32_t interval) {
    FActionData = skinData;
    StartAction(action, interval);
}

void TSkinManage::AddOwnFormSkinData() {
    FActive = true;
    ++FState;
}

void TSkinManage::StartAction(int32_t action, uint32_t interval) {
    FAction = action;
    FTimer->SetInterval(interval);
    if (FState != SkinManagerIdle) {
        FTimer->SetEnabled(true);
        return;
    }
    // Before any window has been activated, a request only switches the
    // manager; the hook then skins windows as they are activated.
    if (action == SkinActionOn) FActive = true;
    if (action == SkinActionOff) FActive = false;
}

void TSkinManage::ResetSysButtons(TSkinData* skinData) {
    FActionData = skinData;
    // A load that failed leaves the component without a usable skin, and a damaged one may leave a
    // skin without a frame: windows whose frame the skin cannot draw go back to the system's look at
    // once rather than being painted from what the load left.
    if (skinData->FSkinLoading || !TPellixForm::SkinDrawsFrames(*skinData)) ReleaseFramesOf(skinData);
    for (TPellixForm* form : FForms)
        if (form->FSkinData == skinData) form->FreeSysButtons();
}

void TSkinManage::ReleaseFramesOf(TSkinData* skinData) {
    PurgeForms();
    const bool frames = TPellixForm::SkinDrawsFrames(*skinData);
    const std::vector<TPellixForm*> forms = FForms;
    for (TPellixForm* form : forms) {
        if (form->FSkinData != skinData || form->FSkinState == SkinStateDead) continue;
        // Without a usable skin every window goes; without a frame those that draw one. A window
        // that kept the system's frame under a skin without one is attached again (by the scan
        // that follows a skin change), so that it gets the frame of a skin that has one.
        if (skinData->FSkinLoading || form->FSkinFrame != frames) ReleaseForm(form);
    }
}

// --- Deciding on a window -------------------------------------------------------------------

bool TSkinManage::SkinWindow(HWND window) {
    if (!FActive || window == nullptr) return false;
    PurgeForms();
    if (SendMessageW(window, WM_SKINQUERY, 0, 0) == SkinQueryAnswer) return false;
    if (FindForm(window) != nullptr) return false;
    TCustomForm* form = FindVCLForm(window);
    if (!FScanning && IsPlainChild(window)) return false;
    const std::string className = ClassNameOf(window);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    if (form == nullptr && instance != SkinPlatform().ModuleInstance && className != DialogClassName) return false;
    RECT rect{};
    GetWindowRect(window, &rect);
    const bool mdiChild = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
    if ((rect.right - rect.left) * (rect.bottom - rect.top) == 0 && !mdiChild) return false;
    if (form != nullptr && form->Tag() == NeverSkinTag) return false;
    if (Contains(className, PopupEditClassPart) || Contains(className, RenderWindowClassPart) ||
        className == ApplicationClass)
        return false;
    if (!AcceptWindow(window, className)) return false;
    TSkinData* data = SelectSkinData(window);
    if (data == nullptr || data->FSkinLoading) return false;

    auto* skinner = new TPellixForm(form);
    skinner->FHandle = window;
    skinner->FClassName = className;
    if (form != nullptr)
        skinner->AttachForm(data, form);
    else
        skinner->AttachWindow(data);
    if (!skinner->Subclassed()) {
        // The system refused the new window procedure: the window stays as it is.
        skinner->UnskinPlain();
        delete skinner;
        return false;
    }
    FForms.push_back(skinner);
    PostMessageW(window, WM_SKINATTACH, 0, SkinAttachParam);
    QUIRN_TRACE(TTraceChannel::Manager, "skinning ", window, " class ", className);
    return true;
}

bool TSkinManage::AcceptWindow(HWND window, const std::string& className) {
    bool doSkin = true;
    if (FMainSkinData == nullptr) return doSkin;
    const std::string lowerName = LowerCase(className);
    if (!FMainSkinData->Options().Contains(xoPreview) && Contains(lowerName, PreviewClassPart)) doSkin = false;
    if (className == DialogClassName && (GetWindowLongW(window, GWL_STYLE) & DS_SETFOREGROUND) != 0) doSkin = false;
    if (SameText(className, DBTreeViewPopupClass)) doSkin = false;
    FMainSkinData->DoFormSkin(window, className, doSkin);
    return doSkin;
}

TSkinData* TSkinManage::SelectSkinData(HWND window) {
    auto lastOf = [&](auto matches) -> TSkinData* {
        TSkinData* found = nullptr;
        for (TSkinData* data : FSkinDatas)
            if (matches(*data)) found = data;
        return found;
    };
    if (TSkinData* own = lastOf([&](TSkinData& data) {
            auto* owner = ObjectAs<TCustomForm>(data.Owner());
            return data.SkinFormtype() == sfOnlyThisForm && owner != nullptr && owner->HandleAllocated() &&
                   owner->Handle() == window;
        }))
        return own;
    const std::string className = ClassNameOf(window);
    if (SameText(className, MessageFormClass) || className == DialogClassName) {
        if (TSkinData* dialog = lastOf([](TSkinData& data) { return data.SkinFormtype() == sfDialog; })) return dialog;
    }
    if (TSkinData* main = lastOf([](TSkinData& data) { return data.SkinFormtype() == sfMainform; })) return main;
    return FSkinDatas.empty() ? nullptr : FSkinDatas.front();
}

void TSkinManage::SkinForm(TCustomForm* form) {
    if (form == nullptr || !form->HandleAllocated()) return;
    const HWND window = form->Handle();
    if (!IsWindowVisible(window) || (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0) return;
    SkinWindow(window);
}

void TSkinManage::PurgeForms() {
    for (size_t index = FForms.size(); index-- > 0;) {
        TPellixForm* form = FForms[index];
        if (form->FSkinState != SkinStateDead || form->InWindowProc()) continue;
        FForms.erase(FForms.begin() + static_cast<std::ptrdiff_t>(index));
        delete form;
    }
}

TPellixForm* TSkinManage::FindForm(HWND window) const {
    if (window == nullptr) return nullptr;
    for (TPellixForm* form : FForms)
        if (form->FHandle == window && form->FSkinState != SkinStateDead) return form;
    return nullptr;
}

void TSkinManage::RemoveForm(TPellixForm* form) {
    if (FState == SkinManagerDestroying) return;
    const auto found = std::find(FForms.begin(), FForms.end(), form);
    if (found != FForms.end()) FForms.erase(found);
}

// --- Actions ------------------------------------------------------------------------------------

void TSkinManage::ReleaseForm(TPellixForm* form) {
    form->Unskin();
    InvalidateRect(form->FHandle, nullptr, TRUE);
    UpdateWindow(form->FHandle);
    if (form->InWindowProc()) {
        // Freed by the next purge, once its window procedure has returned.
        form->FSkinState = SkinStateDead;
        return;
    }
    RemoveForm(form);
    delete form;
}

void TSkinManage::ReleaseFormsOf(TSkinData* skinData) {
    PurgeForms();
    const std::vector<TPellixForm*> forms = FForms;
    for (TPellixForm* form : forms)
        if (form->FSkinData == skinData && form->FSkinState != SkinStateDead) ReleaseForm(form);
}

void TSkinManage::ScanForms() {
    if (Screen == nullptr) return;
    FScanning = true;
    for (int32_t index = Screen->FormCount(); index-- > 0;)
        if (index < Screen->FormCount()) SkinForm(Screen->Forms(index));
    FScanning = false;
}

void TSkinManage::DoAction(TObject*) {
    FTimer->SetEnabled(false);
    TSkinData* data = FActionData;
    if (data == nullptr) return;
    QUIRN_TRACE(TTraceChannel::Manager, "action ", FAction);
    if (data->SkinFormtype() == sfOnlyThisForm) {
        auto* owner = ObjectAs<TCustomForm>(data->Owner());
        switch (FAction) {
        case SkinActionOn:
            FActive = true;
            if (owner != nullptr) {
                FScanning = true;
                SkinForm(owner);
                FScanning = false;
            }
            break;
        case SkinActionOff:
            FActive = false;
            PurgeForms();
            for (size_t index = FForms.size(); index-- > 0;) {
                if (FForms[index]->FSkinData != data) continue;
                ReleaseForm(FForms[index]);
                break;
            }
            break;
        case SkinActionChanged:
            ReleaseFramesOf(data);
            PurgeForms();
            if (data->FSkinLoading) break;
            for (TPellixForm* form : FForms) {
                if (form->FSkinData != data) continue;
                form->FreeSysButtons();
                form->UpdateFrameMetrics();
                form->RefreshSkin();
                break;
            }
            if (FActive && owner != nullptr &&
                FindForm(owner->HandleAllocated() ? owner->Handle() : nullptr) == nullptr) {
                FScanning = true;
                SkinForm(owner);
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
                const size_t before = FForms.size();
                ReleaseForm(FForms.front());
                if (FForms.size() == before) {
                    // Still inside its window procedure: kept (dead) for a later purge.
                    std::rotate(FForms.begin(), FForms.begin() + 1, FForms.end());
                    if (std::all_of(FForms.begin(), FForms.end(),
                                    [](TPellixForm* form) { return form->FSkinState == SkinStateDead; }))
                        break;
                }
            }
            break;
        case SkinActionChanged: {
            ReleaseFramesOf(data);
            PurgeForms();
            if (data->FSkinLoading) break;
            std::vector<TPellixForm*> changed;
            for (TPellixForm* form : FForms) {
                if (form->FSkinData != data) continue;
                form->FreeSysButtons();
                form->UpdateFrameMetrics();
                changed.push_back(form);
            }
            for (TPellixForm* form : changed) form->RefreshSkin();
            // Forms that lost their skin to a failed load before come back with this one.
            if (FActive) ScanForms();
            break;
        }
        default: break;
        }
    }
    data->DoSkinChanged();
    FActionData = nullptr;
}

void TSkinManage::SetMDIMaximized(bool value) {
    if (value == FMDIMaximized) return;
    FMDIMaximized = value;
    // The frame's bar shows the maximized child's buttons, or shows them no more: it is drawn again
    // (which lays the caption buttons out anew).
    for (TPellixForm* form : FForms)
        if (form->FFormKind == FormKindMDIFrame && form->FSkinState != SkinStateDead && form->FMenuBar)
            RedrawWindow(form->FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    if (FMainSkinData != nullptr && FMainSkinData->Options().Contains(xoMDIChildBorder)) return;
    for (TPellixForm* form : FForms) {
        if (!form->IsMDIChild() || form->FSkinState == SkinStateDead) continue;
        if (value) {
            // The region belongs to the system: giving the window none frees it.
            if (form->FHasRegion) {
                SetWindowRgn(form->FHandle, nullptr, TRUE);
                form->FRegion = nullptr;
                form->FHasRegion = false;
            }
        } else if (!IsIconic(form->FHandle)) {
            form->FWindowState = WindowStateNormal;
            form->UpdateRegion();
            if (!form->FHasRegion)
                SetWindowPos(form->FHandle, nullptr, 0, 0, 0, 0,
                             SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
    }
}

// --- Popup menus ----------------------------------------------------------------------------------

void TSkinManage::SkinPopup(HWND window) {
    if (!FActive) return;
    if (SendMessageW(window, WM_SKINQUERY, 0, 0) == SkinQueryAnswer) return;
    if (std::any_of(FPopups.begin(), FPopups.end(), [&](TPellixPopMenu* popup) { return popup->FHandle == window; }))
        return;
    TSkinData* data = SelectSkinData(window);
    if (data == nullptr || data->FSkinLoading) return;
    const TSkinControlTypes controls = data->SkinControls();
    switch (FMenuSource) {
    case MenuSourcePopup:
        if (!controls.Contains(xcPopupMenu)) return;
        break;
    case MenuSourceMenuBar:
        if (!controls.Contains(xcMainMenu) && !controls.Contains(xcMenuItem)) return;
        break;
    case MenuSourceSystemMenu:
        if (!controls.Contains(xcSystemMenu)) return;
        break;
    default: return;
    }
    std::unique_ptr<TPellixPopMenu> popup = MakePopMenu(window, data);
    QUIRN_TRACE(TTraceChannel::Menu, "menu window ", window, popup ? " skinned, source " : " refused, source ",
                FMenuSource);
    if (!popup) return;
    if (FMenuBarOpen) popup->FFromMenuBar = true;
    FPopups.push_back(popup.release());
}

void TSkinManage::UnskinPopup(HWND window) {
    const auto found =
        std::find_if(FPopups.begin(), FPopups.end(), [&](TPellixPopMenu* popup) { return popup->FHandle == window; });
    if (found != FPopups.end()) {
        QUIRN_TRACE(TTraceChannel::Menu, "menu window ", window, " destroyed");
        TPellixPopMenu* popup = *found;
        FPopups.erase(found);
        delete popup;  // its destructor gives the window its procedure back
    }
    if (FPopups.empty()) {
        FMenuBarOpen = false;
        FMenuSource = MenuSourcePopup;
    }
}

void TSkinManage::MarkPopupsFromMenuBar() {
    for (TPellixPopMenu* popup : FPopups) popup->FFromMenuBar = true;
}

void TSkinManage::AssignPopupMenu(HMENU menu) {
    for (auto popup = FPopups.rbegin(); popup != FPopups.rend(); ++popup) {
        if ((*popup)->FMenuHandle != nullptr) continue;
        (*popup)->FMenuHandle = menu;
        return;
    }
}

TBitmap* TSkinManage::PopupBitmapOf(HMENU menu) const {
    TPellixPopMenu* popup = PopupOf(menu);
    return popup == nullptr || popup->FBuffer->Empty() ? nullptr : popup->FBuffer.get();
}

TPellixPopMenu* TSkinManage::PopupOf(HMENU menu) const {
    if (menu == nullptr) return nullptr;
    for (TPellixPopMenu* popup : FPopups)
        if (popup->FMenuHandle == menu) return popup;
    return nullptr;
}
