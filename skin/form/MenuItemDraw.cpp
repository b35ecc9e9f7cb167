// TPellixForm's menu items drawn from the skin: every owner-drawn item of the form's popup menus,
// of the menu bar's drop-downs and of the system menu gets the skin's "MenuItem" frame over the
// menu window's skinned background, then its picture or check mark, caption and shortcut.
#include <algorithm>

#include "framework/controls/Menu.h"
#include "framework/graphics/AnsiText.h"
#include "framework/graphics/ImageList.h"
#include "framework/rtl/Trace.h"
#include "framework/win/DeviceContext.h"
#include "framework/win/GdiObject.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinServices.h"
#include "skin/form/PellixFormSkinner.h"
#include "skin/form/PellixPopMenu.h"
#include "skin/form/SkinManage.h"
#include "skin/form/SkinMenuBarLink.h"

namespace {

// "MenuItem" has five frames side by side: 1 normal, 2 separator, 4 selected.
constexpr int32_t MenuItemFrames = 5;
constexpr int32_t MenuItemNormalFrame = 1;
constexpr int32_t MenuItemSeparatorFrame = 2;
constexpr int32_t MenuItemSelectedFrame = 4;
// A picture or check mark box is this wide at least.
constexpr int32_t GlyphSize = 16;
// Between the glyph box and the caption; the shortcut ends this far before the item's right edge.
constexpr int32_t CaptionGap = 3;
constexpr int32_t ShortcutRightGap = 11;
// The separator line lies this far below the item's top.
constexpr int32_t SeparatorLineOffset = 4;
// Widths added to measured items: menu-bar drop-downs, popups, and either without pictures.
constexpr int32_t MainMenuExtraWidth = 10;
constexpr int32_t PopupExtraWidth = 12;
constexpr int32_t NoImagesExtraWidth = 35;
// Items of a menu known only by handle.
constexpr int32_t OwnMeasureExtraWidth = 26;
constexpr int32_t OwnMeasureExtraHeight = 4;
constexpr int32_t EmptyItemHeight = 8;
// Commands the framework gives its menu items; other owner-drawn items of these numbers are left to
// the window.
constexpr UINT LastFrameworkCommand = 4095;
constexpr int MenuTextChars = 80;
constexpr const char* SeparatorCaption = "-";
// The system's check-mark bitmap (OBM_CHECK, declared only with OEMRESOURCE).
constexpr WORD SystemCheckMark = 32760;
// The radio mark: a dot this wide.
constexpr int32_t RadioDotSize = 6;

int32_t Width(const RECT& R) { return R.right - R.left; }
int32_t Height(const RECT& R) { return R.bottom - R.top; }

bool HasElement(const std::unique_ptr<TDataSkinObject>& Element) { return Element && !Element->Bitmap->Empty(); }

RECT MarginsOf(const TDataSkinObject& Element) {
    return RECT{Element.LeftWidth, Element.TopHeight, Element.RightWidth, Element.BottomHeight};
}

// The framework's hatch of button face and button highlight behind a checked picture.
win::BrushHandle PatternBrush() {
    TBitmap Pattern(8, 8, pf24bit);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X) Pattern.Canvas().SetPixels(X, Y, (X + Y) % 2 == 0 ? clBtnFace : clBtnHighlight);
    return win::BrushHandle(CreatePatternBrush(Pattern.Handle()));
}

// The system's check mark (a monochrome bitmap: the mark black on white) drawn at (X, Y) in Color,
// the white left out.
void DrawCheckMark(HDC DC, int32_t X, int32_t Y, TColor Color) {
    const win::BitmapHandle Mark(LoadBitmapW(nullptr, MAKEINTRESOURCEW(SystemCheckMark)));
    if (!Mark) return;
    BITMAP Info{};
    GetObjectW(Mark.get(), sizeof(Info), &Info);
    win::MemoryDC Source(DC);
    const win::SelectedObject Picked(Source.get(), Mark.get());
    const win::BrushHandle Brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color))));
    const win::SelectedObject Painted(DC, Brush.get());
    const COLORREF OldText = SetTextColor(DC, RGB(0, 0, 0));
    const COLORREF OldBack = SetBkColor(DC, RGB(255, 255, 255));
    // Where the source is black the brush paints, where it is white the destination stays.
    constexpr DWORD PaintBrushWhereSourceBlack = 0x00B8074A;
    BitBlt(DC, X, Y, Info.bmWidth, Info.bmHeight, Source.get(), 0, 0, PaintBrushWhereSourceBlack);
    SetTextColor(DC, OldText);
    SetBkColor(DC, OldBack);
}

SIZE CheckMarkSize() {
    const win::BitmapHandle Mark(LoadBitmapW(nullptr, MAKEINTRESOURCEW(SystemCheckMark)));
    BITMAP Info{};
    if (Mark) GetObjectW(Mark.get(), sizeof(Info), &Info);
    return SIZE{Info.bmWidth, Info.bmHeight};
}

// A menu item built from an entry of a menu known only by handle (for drawing it).
std::unique_ptr<TMenuItem> ItemFromEntry(HMENU Menu, UINT Command) {
    wchar_t Text[MenuTextChars + 1]{};
    MENUITEMINFOW Info{};
    Info.cbSize = sizeof(Info);
    Info.fMask = MIIM_STATE | MIIM_STRING | MIIM_FTYPE;
    Info.dwTypeData = Text;
    Info.cch = MenuTextChars;
    auto Item = std::make_unique<TMenuItem>(nullptr);
    if (!GetMenuItemInfoW(Menu, Command, FALSE, &Info)) Text[0] = L'\0';
    std::wstring Caption = Text;
    const size_t Tab = Caption.find(L'\t');
    if (Text[0] == L'\0' || (Info.fType & MFT_SEPARATOR) != 0)
        Item->SetCaption(SeparatorCaption);
    else
        Item->SetCaption(WideToAnsiText(Caption.substr(0, Tab)));
    Item->SetEnabled((Info.fState & MFS_DISABLED) == 0);
    Item->SetChecked((Info.fState & MFS_CHECKED) != 0);
    Item->SetRadioItem((Info.fType & MFT_RADIOCHECK) != 0);
    return Item;
}

}  // namespace

// --- Drawing ---------------------------------------------------------------------------------------

void TPellixForm::DrawMenuItem(TObject* Sender, TCanvas* ACanvas, RECT ARect, bool Selected) {
    auto* Item = ObjectAs<TMenuItem>(Sender);
    if (Item == nullptr || ACanvas == nullptr || FSkinData == nullptr) return;
    HMENU Menu = Item->Parent() != nullptr ? Item->Parent()->Handle() : nullptr;
    if (Menu != nullptr && SkinManager != nullptr) SkinManager->AssignPopupMenu(Menu);
    if (!HasElement(FSkinData->FMenuItem)) {
        DrawPlainMenuItem(Item, ACanvas, Selected, ARect);
        return;
    }
    DrawMenuItemOfMenu(Menu, Item, Selected, ARect, ACanvas);
}

void TPellixForm::DrawMenuItemOfMenu(HMENU Menu, TMenuItem* Item, bool Selected, RECT ARect, TCanvas* ACanvas) {
    if (Item == nullptr || ACanvas == nullptr || FSkinData == nullptr) return;
    if (!HasElement(FSkinData->FMenuItem)) {
        DrawPlainMenuItem(Item, ACanvas, Selected, ARect);
        return;
    }
    const int32_t W = Width(ARect);
    const int32_t H = Height(ARect);
    if (W <= 0 || H <= 0) return;
    TDataSkinObject& Element = *FSkinData->FMenuItem;
    TBitmap Picture(W, H, pf24bit);
    Picture.Canvas().SetFont(*FMenuFont);
    HDC DC = Picture.Canvas().Handle();
    // The menu window's skinned background under the item, else the skin's menu colour.
    TPellixPopMenu* Popup = SkinManager != nullptr ? SkinManager->PopupOf(Menu) : nullptr;
    TBitmap* Background = SkinManager != nullptr ? SkinManager->PopupBitmapOf(Menu) : nullptr;
    if (Popup != nullptr && Background != nullptr) {
        const POINT Offset = Popup->ClientOffset();
        BitBlt(DC, 0, 0, W, H, Background->Canvas().Handle(), ARect.left + Offset.x, ARect.top + Offset.y, SRCCOPY);
    } else {
        Picture.Canvas().Brush().SetColor(FSkinData->FColors[SkinColour::Menu]);
        Picture.Canvas().FillRect(RECT{0, 0, W, H});
    }
    const RECT Whole{0, 0, W, H};
    if (!Item->IsLine()) {
        DrawSkinElement(Picture.Canvas().Handle(), Whole, *Element.Bitmap, false, Element.Tile == 1, Element.Trans == 1,
                        MenuItemFrames, Selected ? MenuItemSelectedFrame : MenuItemNormalFrame, MarginsOf(Element));
        DrawMenuItemContent(Item, &Picture.Canvas(), Selected, Whole);
        BitBlt(ACanvas->Handle(), ARect.left, ARect.top, W, H, Picture.Canvas().Handle(), 0, 0, SRCCOPY);
        return;
    }
    BitBlt(ACanvas->Handle(), ARect.left, ARect.top, W, H, Picture.Canvas().Handle(), 0, 0, SRCCOPY);
    // The separator: frame 2's left part, stretched middle and right part, its bottom rows when the
    // item is lower than the bitmap, composed on the key colour and drawn with the key left out.
    TBitmap& Source = *Element.Bitmap;
    const int32_t Cell = Source.Width() / MenuItemFrames;
    const int32_t CellLeft = Cell * (MenuItemSeparatorFrame - 1);
    const int32_t SourceTop = H < Source.Height() ? Source.Height() - H : 0;
    const int32_t SourceHeight = Source.Height() - SourceTop;
    if (Cell <= 0 || SourceHeight <= 0) return;
    const int32_t Left = std::clamp(Element.LeftWidth, 0, Cell);
    const int32_t Right = std::clamp(Element.RightWidth, 0, Cell - Left);
    TBitmap Line(W, H, pf24bit);
    Line.Canvas().Brush().SetColor(SkinTransparentColor);
    Line.Canvas().FillRect(Whole);
    HDC LineDC = Line.Canvas().Handle();
    HDC SourceDC = Source.Canvas().Handle();
    SetStretchBltMode(LineDC, COLORONCOLOR);
    StretchBlt(LineDC, 0, 0, Left, H, SourceDC, CellLeft, SourceTop, Left, SourceHeight, SRCCOPY);
    StretchBlt(LineDC, Left, 0, std::max(W - Left - Right, 0), H, SourceDC, CellLeft + Left, SourceTop,
               std::max(Cell - Left - Right, 1), SourceHeight, SRCCOPY);
    StretchBlt(LineDC, W - Right, 0, Right, H, SourceDC, CellLeft + Cell - Right, SourceTop, Right, SourceHeight,
               SRCCOPY);
    DrawTransparent(ACanvas->Handle(), ARect, Line, SkinTransparentColor);
}

void TPellixForm::DrawPlainMenuItem(TMenuItem* Item, TCanvas* ACanvas, bool Selected, RECT ARect) {
    if (Item == nullptr || ACanvas == nullptr || FSkinData == nullptr) return;
    const int32_t W = Width(ARect);
    const int32_t H = Height(ARect);
    if (W <= 0 || H <= 0) return;
    TBitmap Picture(W, H, pf24bit);
    Picture.Canvas().SetFont(*FMenuFont);
    Picture.Canvas().Brush().SetColor(FSkinData->FColors[Selected ? SkinColour::Hilight : SkinColour::Menu]);
    Picture.Canvas().FillRect(RECT{0, 0, W, H});
    DrawMenuItemContent(Item, &Picture.Canvas(), Selected, RECT{0, 0, W, H});
    BitBlt(ACanvas->Handle(), ARect.left, ARect.top, W, H, Picture.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TPellixForm::DrawMenuItemContent(TMenuItem* Item, TCanvas* ACanvas, bool Selected, RECT ARect) {
    const std::string& Caption = Item->Caption();
    TMenu* Menu = Item->GetParentMenu();
    if (Menu == nullptr && FMenuBar) Menu = FMenuBar->Menu();
    TImageList* Images = Menu != nullptr ? Menu->Images() : nullptr;
    int32_t Glyph = Images != nullptr ? Images->Width() : GlyphSize;
    if (Item->Checked()) Glyph = std::max(Glyph, GlyphSize);
    const bool Mirrored = FRightToLeft;
    const int32_t Indent = 1 + (HasElement(FSkinData->FMenuItem) ? FSkinData->FMenuItem->LeftWidth : 0);
    const int32_t H = Height(ARect);
    const bool Line = Item->IsLine();
    const int32_t BoxWidth = Line ? 0 : Glyph;
    RECT Box{ARect.left + Indent, ARect.top + 1, ARect.left + Indent + BoxWidth, ARect.top + 1 + BoxWidth};
    if (Mirrored) Box = RECT{ARect.right - Indent - BoxWidth, Box.top, ARect.right - Indent, Box.bottom};
    HDC DC = ACanvas->Handle();
    if (!Line) {
        const int32_t Index = Item->ImageIndex();
        if (Images != nullptr && Index >= 0 && Index < Images->Count()) {
            int32_t Top = ARect.top + (H - Images->Height()) / 2;
            if (Item->Checked()) {
                Top = ARect.top + (H - GlyphSize) / 2;
                RECT Sunken{Box.left, Top, Box.right, Top + GlyphSize};
                const win::BrushHandle Hatch = PatternBrush();
                FillRect(DC, &Sunken, Hatch.get());
                DrawEdge(DC, &Sunken, BDR_SUNKENOUTER, BF_RECT);
            }
            Images->Draw(*ACanvas, Box.left, Top, Index, Item->Enabled());
        } else if (Item->Checked()) {
            const TColor Mark = Item->Enabled() ? clBtnText : clBtnShadow;
            if (Item->RadioItem()) {
                const int32_t X = Box.left + (BoxWidth - RadioDotSize) / 2 + 1;
                const int32_t Y = ARect.top + (H - RadioDotSize) / 2 + 1;
                const win::BrushHandle Dot(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Mark))));
                const win::SelectedObject Filled(DC, Dot.get());
                const win::SelectedObject NoPen(DC, GetStockObject(NULL_PEN));
                Ellipse(DC, X, Y, X + RadioDotSize + 1, Y + RadioDotSize + 1);
            } else {
                const SIZE Size = CheckMarkSize();
                DrawCheckMark(DC, Box.left + (BoxWidth - Size.cx) / 2 + 1, ARect.top + (H - Size.cy) / 2 + 1, Mark);
            }
        }
    }
    RECT Text{Box.right + CaptionGap, ARect.top, ARect.right - 1, ARect.bottom};
    if (Mirrored) Text = RECT{ARect.left + 1, ARect.top, Box.left - CaptionGap, ARect.bottom};
    RECT Measured = Text;
    DrawMenuItemText(Item, ACanvas, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE, Selected, Measured,
                     Caption);
    const int32_t TextWidth = Width(Measured);
    const int32_t TextHeight = Height(Measured);
    Text.top = ARect.top + (H - TextHeight) / 2;
    Text.bottom = Text.top + TextHeight;
    if (Line) {
        Text = RECT{ARect.left, ARect.top, ARect.right, ARect.bottom};
        DrawMenuItemText(Item, ACanvas, DT_SINGLELINE, Selected, Text, Caption);
        return;
    }
    RECT Drawn = Text;
    DrawMenuItemText(Item, ACanvas, DT_SINGLELINE | DT_EXPANDTABS | (Mirrored ? DT_RIGHT | DT_RTLREADING : 0), Selected,
                     Drawn, Caption);
    if (Item->ShortCut() == scNone) return;
    RECT Keys = Mirrored ? RECT{ARect.left + ShortcutRightGap, Text.top, Text.right - TextWidth, Text.bottom}
                         : RECT{Text.left + TextWidth, Text.top, ARect.right - ShortcutRightGap, Text.bottom};
    DrawMenuItemText(Item, ACanvas, DT_SINGLELINE | (Mirrored ? DT_LEFT : DT_RIGHT), Selected, Keys,
                     ShortCutToText(Item->ShortCut()));
}

void TPellixForm::DrawMenuItemText(TMenuItem* Item, TCanvas* ACanvas, UINT Flags, bool Selected, RECT& ARect,
                                   const std::string& Text) {
    const bool Measuring = (Flags & DT_CALCRECT) != 0;
    std::string Shown = Text;
    if (Measuring && (Shown.empty() || Shown == "&")) Shown += ' ';
    if (Shown == SeparatorCaption) {
        if (Measuring) return;
        RECT Line = ARect;
        Line.top += SeparatorLineOffset;
        DrawEdge(ACanvas->Handle(), &Line, EDGE_ETCHED, BF_TOP);
        return;
    }
    ACanvas->Brush().SetStyle(bsClear);
    ACanvas->Font().SetStyle(Item->Default() ? TFontStyles{fsBold} : TFontStyles{});
    TColor Colour = FSkinData->FColors[Selected ? SkinColour::HilightText : SkinColour::MenuText];
    if (!Item->Enabled()) {
        Colour = FSkinData->FColors[SkinColour::ButtonShadow];
        // A skin whose shadow is its text colour would hide the difference.
        if (ColorToRGB(Colour) == ColorToRGB(FSkinData->FColors[SkinColour::MenuText])) Colour = clBtnShadow;
    }
    ACanvas->Font().SetColor(Colour);
    HDC DC = ACanvas->Handle();
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(Colour)));
    DrawTextWide(DC, AnsiToWide(Shown), ARect, Flags);
}

// --- Measuring -------------------------------------------------------------------------------------

void TPellixForm::MeasureMenuItem(TObject* Sender, TCanvas* ACanvas, int32_t& Width, int32_t& Height) {
    auto* Item = ObjectAs<TMenuItem>(Sender);
    if (Item == nullptr || ACanvas == nullptr) return;
    // The framework measures the item as it would without this handler.
    const TMenuMeasureItemEvent Own = Item->OnMeasureItem();
    Item->SetOnMeasureItem(nullptr);
    try {
        Item->MeasureItem(ACanvas, Width, Height);
    } catch (...) {
        Item->SetOnMeasureItem(Own);
        throw;
    }
    Item->SetOnMeasureItem(Own);
    if (FSkinData != nullptr && HasElement(FSkinData->FMenuItem)) Width += FSkinData->FMenuItem->LeftWidth;
    const TMenu* Menu = Item->GetParentMenu();
    Width += Menu != nullptr && Menu->Images() != nullptr ? MainMenuExtraWidth : NoImagesExtraWidth;
}

void TPellixForm::MeasurePopupItem(TObject* Sender, TCanvas*, int32_t& Width, int32_t&) {
    auto* Item = ObjectAs<TMenuItem>(Sender);
    if (Item == nullptr) return;
    if (FSkinData != nullptr && HasElement(FSkinData->FMenuItem)) Width += FSkinData->FMenuItem->LeftWidth;
    const TMenu* Menu = Item->GetParentMenu();
    Width += Menu != nullptr && Menu->Images() != nullptr ? PopupExtraWidth : NoImagesExtraWidth;
}

// --- The window's owner-draw messages ---------------------------------------------------------------

bool TPellixForm::MeasureItemMessage(TMessage& Message) {
    auto* Measure = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    if (Measure == nullptr || Measure->CtlType != ODT_MENU || FWindowMenu == nullptr || FSkinData == nullptr)
        return false;
    if (SkinManager != nullptr) SkinManager->MarkPopupsFromMenuBar();
    win::WindowFrameDC WindowDC(FHandle);
    TCanvas Canvas;
    const TCanvasBinding Bound(Canvas, WindowDC.get());
    Canvas.SetFont(*FMenuFont);
    if (FForm != nullptr) {
        TMainMenu* Menu = FMenuBar ? FMenuBar->Menu() : nullptr;
        if (TMenuItem* Item = Menu != nullptr ? Menu->FindItem(Measure->itemID, fkCommand) : nullptr) {
            int32_t W = 0;
            int32_t H = 0;
            MeasureMenuItem(Item, &Canvas, W, H);
            Measure->itemWidth = static_cast<UINT>(std::max(W, 0));
            Measure->itemHeight = static_cast<UINT>(std::max(H, 0));
            Message.Result = TRUE;
            return true;
        }
        if (Measure->itemID >= 1 && Measure->itemID <= LastFrameworkCommand) return false;
    }
    wchar_t Text[MenuTextChars + 1]{};
    if (FTrackedMenu != nullptr) GetMenuStringW(FTrackedMenu, Measure->itemID, Text, MenuTextChars, MF_BYCOMMAND);
    const std::wstring Caption = Text;
    RECT Extent{0, 0, 0, 0};
    DrawTextWide(Canvas.Handle(), Caption.empty() ? std::wstring(L" ") : Caption, Extent,
                 DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    int32_t W = Width(Extent) + OwnMeasureExtraWidth;
    if (HasElement(FSkinData->FMenuItem)) W += FSkinData->FMenuItem->LeftWidth;
    int32_t H = Caption.empty() ? EmptyItemHeight : Height(Extent) + OwnMeasureExtraHeight;
    if (IsWindows9xVersion(SkinPlatform().SystemVersion)) H += OwnMeasureExtraHeight;
    Measure->itemWidth = static_cast<UINT>(W);
    Measure->itemHeight = static_cast<UINT>(H);
    Message.Result = TRUE;
    return true;
}

bool TPellixForm::DrawItemMessage(TMessage& Message) {
    auto* Draw = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
    if (Draw == nullptr || Draw->CtlType != ODT_MENU || FWindowMenu == nullptr || FSkinData == nullptr) return false;
    const auto Menu = reinterpret_cast<HMENU>(Draw->hwndItem);
    if (SkinManager != nullptr) {
        SkinManager->AssignPopupMenu(Menu);
        SkinManager->MarkPopupsFromMenuBar();
    }
    const bool Selected = (Draw->itemState & ODS_SELECTED) != 0;
    // The DC is the system's: its state comes back when the drawing ends.
    const win::SavedDC Saved(Draw->hDC);
    TCanvas Canvas;
    const TCanvasBinding Bound(Canvas, Draw->hDC);
    Canvas.SetFont(*FMenuFont);
    if (FForm != nullptr) {
        TMainMenu* MainMenu = FMenuBar ? FMenuBar->Menu() : nullptr;
        if (TMenuItem* Item = MainMenu != nullptr ? MainMenu->FindItem(Draw->itemID, fkCommand) : nullptr) {
            if (HasElement(FSkinData->FMenuItem))
                DrawMenuItemOfMenu(Menu, Item, Selected, Draw->rcItem, &Canvas);
            else
                DrawPlainMenuItem(Item, &Canvas, Selected, Draw->rcItem);
            Message.Result = TRUE;
            return true;
        }
        if (Draw->itemID >= 1 && Draw->itemID <= LastFrameworkCommand) return false;
    }
    const std::unique_ptr<TMenuItem> Entry = ItemFromEntry(Menu, Draw->itemID);
    DrawMenuItemOfMenu(Menu, Entry.get(), Selected, Draw->rcItem, &Canvas);
    Message.Result = TRUE;
    return true;
}
