// TSkinScrollbarH: the scroll-bar skinner of bare windows.
#include "skin/controls/SkinScrollbarH.h"

#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/WScrollbar.h"

QUIRN_DEFINE_CLASS(TSkinScrollbarH)

TSkinScrollbarH::TSkinScrollbarH(TComponent* aOwner) : TSkinControl(aOwner) {}

TSkinScrollbarH::~TSkinScrollbarH() = default;

void TSkinScrollbarH::AttachHandle(HWND handle, TSkinData* skinData, TPellixForm* skinForm, TCanvas* canvas) {
    if (FAttached || handle == nullptr) return;
    // The window's procedure first: a window that cannot be subclassed gets no overlays either.
    TSkinControl::AttachHandle(handle, skinData, skinForm, canvas);
    if (!FAttached) return;
    FControl = nullptr;
    FHorzBar = new TWScrollbar(this);
    FVertBar = new TWScrollbar(this);
    FHorzBar->BindHandle(this, handle, ScrollBarHorizontal);
    FVertBar->BindHandle(this, handle, ScrollBarVertical);
}

void TSkinScrollbarH::Detach() {
    TSkinControl::Detach();
    if (FStatus == ControlSkinGone) return;
    delete FHorzBar;
    FHorzBar = nullptr;
    delete FVertBar;
    FVertBar = nullptr;
}

void TSkinScrollbarH::SkinChanged() {
    for (TWScrollbar* bar : {FHorzBar, FVertBar})
        if (bar != nullptr) bar->ForgetPicture();
    TSkinControl::SkinChanged();
}

void TSkinScrollbarH::AfterMessage(TMessage& message) {
    if (FVertBar != nullptr && !IsWindowVisible(FHandle)) FVertBar->Hide();
    switch (message.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
        for (TWScrollbar* bar : {FHorzBar, FVertBar})
            if (bar != nullptr) bar->UpdateBar();
        Repaint();
        break;
    case WM_HSCROLL:
    case WM_VSCROLL: ShowScrollRequest(message, FHorzBar, FVertBar); break;
    default: TSkinControl::AfterMessage(message); break;
    }
}

void TSkinScrollbarH::DrawSkin(HDC dc, const RECT&) {
    for (TWScrollbar* bar : {FHorzBar, FVertBar})
        if (bar != nullptr && bar->FShowing) bar->Invalidate();
    if (FVertBar != nullptr && FHorzBar != nullptr && FVertBar->FShowing && FHorzBar->FShowing)
        FillScrollCorner(*this, dc, *FVertBar, *FHorzBar);
}
