// TSkinScrollbarH: the scroll-bar skinner of bare windows.
#include "skin/controls/SkinScrollbarH.h"

#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/WScrollbar.h"

QUIRN_DEFINE_CLASS(TSkinScrollbarH)

TSkinScrollbarH::TSkinScrollbarH(TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinScrollbarH::~TSkinScrollbarH() = default;

void TSkinScrollbarH::AttachHandle(HWND Handle, TSkinData* SkinData, TPellixForm* SkinForm, TCanvas* Canvas) {
    if (FAttached || Handle == nullptr) return;
    // The window's procedure first: a window that cannot be subclassed gets no overlays either.
    TSkinControl::AttachHandle(Handle, SkinData, SkinForm, Canvas);
    if (!FAttached) return;
    FControl = nullptr;
    FHorzBar = new TWScrollbar(this);
    FVertBar = new TWScrollbar(this);
    FHorzBar->BindHandle(this, Handle, ScrollBarHorizontal);
    FVertBar->BindHandle(this, Handle, ScrollBarVertical);
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
    for (TWScrollbar* Bar : {FHorzBar, FVertBar})
        if (Bar != nullptr) Bar->ForgetPicture();
    TSkinControl::SkinChanged();
}

void TSkinScrollbarH::AfterMessage(TMessage& Message) {
    if (FVertBar != nullptr && !IsWindowVisible(FHandle)) FVertBar->Hide();
    switch (Message.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
        for (TWScrollbar* Bar : {FHorzBar, FVertBar})
            if (Bar != nullptr) Bar->UpdateBar();
        Repaint();
        break;
    case WM_HSCROLL:
    case WM_VSCROLL: ShowScrollRequest(Message, FHorzBar, FVertBar); break;
    default: TSkinControl::AfterMessage(Message); break;
    }
}

void TSkinScrollbarH::DrawSkin(HDC DC, const RECT&) {
    for (TWScrollbar* Bar : {FHorzBar, FVertBar})
        if (Bar != nullptr && Bar->FShowing) Bar->Invalidate();
    if (FVertBar != nullptr && FHorzBar != nullptr && FVertBar->FShowing && FHorzBar->FShowing)
        FillScrollCorner(*this, DC, *FVertBar, *FHorzBar);
}
