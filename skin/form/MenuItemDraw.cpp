// TPellixForm's menu items drawn from the skin: every owner-drawn item of the form's popup menus,
// of the menu bar's drop-downs and of the system menu gets the skin's "MenuItem" frame over the
// menu window's skinned background, then its picture or check mark, caption and shortcut.
#include <algorithm>
#include <cstdlib>

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

// The sub-menu arrow: a triangle this many pixels high (and half as wide, plus one).
constexpr int32_t SubMenuArrowHeight = 7;
// A disabled item's colour must stand this far (in brightness, 0 to 255) from the menu's background.
constexpr int32_t MinDisabledContrast = 48;

int32_t Width(const RECT& r) { return r.right - r.left; }
int32_t Height(const RECT& r) { return r.bottom - r.top; }

bool HasElement(const std::unique_ptr<TDataSkinObject>& element) { return element && !element->Bitmap->Empty(); }

RECT MarginsOf(const TDataSkinObject& element) {
    return RECT{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
}

// The framework's hatch of button face and button highlight behind a checked picture.
win::BrushHandle PatternBrush() {
    TBitmap pattern(8, 8, pf24bit);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pattern.Canvas().SetPixels(x, y, (x + y) % 2 == 0 ? clBtnFace : clBtnHighlight);
    return win::BrushHandle(CreatePatternBrush(pattern.Handle()));
}

// The system's check mark (a monochrome bitmap: the mark black on white) drawn at (X, Y) in Color,
// the white left out.
void DrawCheckMark(HDC dc, int32_t x, int32_t y, TColor color) {
    const win::BitmapHandle mark(LoadBitmapW(nullptr, MAKEINTRESOURCEW(SystemCheckMark)));
    if (!mark) return;
    BITMAP info{};
    GetObjectW(mark.get(), sizeof(info), &info);
    win::MemoryDC source(dc);
    const win::SelectedObject picked(source.get(), mark.get());
    const win::BrushHandle brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color))));
    const win::SelectedObject painted(dc, brush.get());
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    // Where the source is black the brush paints, where it is white the destination stays.
    constexpr DWORD paintBrushWhereSourceBlack = 0x00B8074A;
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source.get(), 0, 0, paintBrushWhereSourceBlack);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

int32_t Brightness(TColor color) {
    const auto rgb = static_cast<COLORREF>(ColorToRGB(color));
    return (GetRValue(rgb) * 299 + GetGValue(rgb) * 587 + GetBValue(rgb) * 114) / 1000;
}

TColor Midway(TColor a, TColor b) {
    const auto x = static_cast<COLORREF>(ColorToRGB(a));
    const auto y = static_cast<COLORREF>(ColorToRGB(b));
    return static_cast<TColor>(
        RGB((GetRValue(x) + GetRValue(y)) / 2, (GetGValue(x) + GetGValue(y)) / 2, (GetBValue(x) + GetBValue(y)) / 2));
}

// Disabled items are drawn in the skin's button shadow; where that is the text colour (no difference
// to see), the system's button shadow; where it all but vanishes on the menu's background (a dark
// skin's shadow on its dark menu), the colour halfway between the menu text and the background,
// which stays readable and still differs from enabled items.
TColor DisabledMenuTextColour(const TSkinData& skin) {
    const TColor shadow = skin.FColors[SkinColour::ButtonShadow];
    const TColor text = skin.FColors[SkinColour::MenuText];
    const TColor back = skin.FColors[SkinColour::Menu];
    if (ColorToRGB(shadow) == ColorToRGB(text)) return clBtnShadow;
    if (std::abs(Brightness(shadow) - Brightness(back)) < MinDisabledContrast) return Midway(text, back);
    return shadow;
}

SIZE CheckMarkSize() {
    const win::BitmapHandle mark(LoadBitmapW(nullptr, MAKEINTRESOURCEW(SystemCheckMark)));
    BITMAP info{};
    if (mark) GetObjectW(mark.get(), sizeof(info), &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

// A menu item built from an entry of a menu known only by handle (for drawing it).
std::unique_ptr<TMenuItem> ItemFromEntry(HMENU menu, UINT command) {
    wchar_t text[MenuTextChars + 1]{};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_STRING | MIIM_FTYPE;
    info.dwTypeData = text;
    info.cch = MenuTextChars;
    auto item = std::make_unique<TMenuItem>(nullptr);
    if (!GetMenuItemInfoW(menu, command, FALSE, &info)) text[0] = L'\0';
    if (text[0] == L'\0' || (info.fType & MFT_SEPARATOR) != 0)
        item->SetCaption(SeparatorCaption);
    else
        SetItemFromEntryText(*item, text);
    item->SetEnabled((info.fState & MFS_DISABLED) == 0);
    item->SetChecked((info.fState & MFS_CHECKED) != 0);
    item->SetRadioItem((info.fType & MFT_RADIOCHECK) != 0);
    return item;
}

}  // namespace

// --- Drawing ---------------------------------------------------------------------------------------

void TPellixForm::DrawMenuItem(TObject* sender, TCanvas* aCanvas, RECT aRect, bool selected) {
    auto* item = ObjectAs<TMenuItem>(sender);
    if (item == nullptr || aCanvas == nullptr || FSkinData == nullptr) return;
    HMENU menu = item->Parent() != nullptr ? item->Parent()->Handle() : nullptr;
    if (menu != nullptr && SkinManager != nullptr) SkinManager->AssignPopupMenu(menu);
    if (!HasElement(FSkinData->FMenuItem)) {
        DrawPlainMenuItem(item, aCanvas, selected, aRect);
        return;
    }
    DrawMenuItemOfMenu(menu, item, selected, aRect, aCanvas);
}

void TPellixForm::DrawMenuItemOfMenu(HMENU menu, TMenuItem* item, bool selected, RECT aRect, TCanvas* aCanvas) {
    if (item == nullptr || aCanvas == nullptr || FSkinData == nullptr) return;
    if (!HasElement(FSkinData->FMenuItem)) {
        DrawPlainMenuItem(item, aCanvas, selected, aRect);
        return;
    }
    const int32_t w = Width(aRect);
    const int32_t h = Height(aRect);
    if (w <= 0 || h <= 0) return;
    TDataSkinObject& element = *FSkinData->FMenuItem;
    TBitmap picture(w, h, pf24bit);
    picture.Canvas().SetFont(*FMenuFont);
    HDC dc = picture.Canvas().Handle();
    // The menu window's skinned background under the item, else the skin's menu colour.
    TPellixPopMenu* popup = SkinManager != nullptr ? SkinManager->PopupOf(menu) : nullptr;
    TBitmap* background = SkinManager != nullptr ? SkinManager->PopupBitmapOf(menu) : nullptr;
    if (popup != nullptr && background != nullptr) {
        const POINT offset = popup->ClientOffset();
        BitBlt(dc, 0, 0, w, h, background->Canvas().Handle(), aRect.left + offset.x, aRect.top + offset.y, SRCCOPY);
    } else {
        picture.Canvas().Brush().SetColor(FSkinData->FColors[SkinColour::Menu]);
        picture.Canvas().FillRect(RECT{0, 0, w, h});
    }
    const RECT whole{0, 0, w, h};
    if (!item->IsLine()) {
        DrawSkinElement(picture.Canvas().Handle(), whole, *element.Bitmap, false, element.Tile == 1, element.Trans == 1,
                        MenuItemFrames, selected ? MenuItemSelectedFrame : MenuItemNormalFrame, MarginsOf(element));
        DrawMenuItemContent(item, &picture.Canvas(), selected, whole);
        BitBlt(aCanvas->Handle(), aRect.left, aRect.top, w, h, picture.Canvas().Handle(), 0, 0, SRCCOPY);
        return;
    }
    BitBlt(aCanvas->Handle(), aRect.left, aRect.top, w, h, picture.Canvas().Handle(), 0, 0, SRCCOPY);
    // The separator: frame 2's left part, stretched middle and right part, its bottom rows when the
    // item is lower than the bitmap, composed on the key colour and drawn with the key left out.
    TBitmap& source = *element.Bitmap;
    const int32_t cell = source.Width() / MenuItemFrames;
    const int32_t cellLeft = cell * (MenuItemSeparatorFrame - 1);
    const int32_t sourceTop = h < source.Height() ? source.Height() - h : 0;
    const int32_t sourceHeight = source.Height() - sourceTop;
    if (cell <= 0 || sourceHeight <= 0) return;
    const int32_t left = std::clamp(element.LeftWidth, 0, cell);
    const int32_t right = std::clamp(element.RightWidth, 0, cell - left);
    TBitmap line(w, h, pf24bit);
    line.Canvas().Brush().SetColor(SkinTransparentColor);
    line.Canvas().FillRect(whole);
    HDC lineDc = line.Canvas().Handle();
    HDC sourceDc = source.Canvas().Handle();
    SetStretchBltMode(lineDc, COLORONCOLOR);
    StretchBlt(lineDc, 0, 0, left, h, sourceDc, cellLeft, sourceTop, left, sourceHeight, SRCCOPY);
    StretchBlt(lineDc, left, 0, std::max(w - left - right, 0), h, sourceDc, cellLeft + left, sourceTop,
               std::max(cell - left - right, 1), sourceHeight, SRCCOPY);
    StretchBlt(lineDc, w - right, 0, right, h, sourceDc, cellLeft + cell - right, sourceTop, right, sourceHeight,
               SRCCOPY);
    DrawTransparent(aCanvas->Handle(), aRect, line, SkinTransparentColor);
}

void TPellixForm::DrawPlainMenuItem(TMenuItem* item, TCanvas* aCanvas, bool selected, RECT aRect) {
    if (item == nullptr || aCanvas == nullptr || FSkinData == nullptr) return;
    const int32_t w = Width(aRect);
    const int32_t h = Height(aRect);
    if (w <= 0 || h <= 0) return;
    TBitmap picture(w, h, pf24bit);
    picture.Canvas().SetFont(*FMenuFont);
    picture.Canvas().Brush().SetColor(FSkinData->FColors[selected ? SkinColour::Hilight : SkinColour::Menu]);
    picture.Canvas().FillRect(RECT{0, 0, w, h});
    DrawMenuItemContent(item, &picture.Canvas(), selected, RECT{0, 0, w, h});
    BitBlt(aCanvas->Handle(), aRect.left, aRect.top, w, h, picture.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TPellixForm::DrawMenuItemContent(TMenuItem* item, TCanvas* aCanvas, bool selected, RECT aRect) {
    const std::string& caption = item->Caption();
    TMenu* menu = item->GetParentMenu();
    if (menu == nullptr && FMenuBar) menu = FMenuBar->Menu();
    TImageList* images = menu != nullptr ? menu->Images() : nullptr;
    int32_t glyph = images != nullptr ? images->Width() : GlyphSize;
    if (item->Checked()) glyph = std::max(glyph, GlyphSize);
    const bool mirrored = FRightToLeft;
    const int32_t indent = 1 + (HasElement(FSkinData->FMenuItem) ? FSkinData->FMenuItem->LeftWidth : 0);
    const int32_t h = Height(aRect);
    const bool line = item->IsLine();
    const int32_t boxWidth = line ? 0 : glyph;
    RECT box{aRect.left + indent, aRect.top + 1, aRect.left + indent + boxWidth, aRect.top + 1 + boxWidth};
    if (mirrored) box = RECT{aRect.right - indent - boxWidth, box.top, aRect.right - indent, box.bottom};
    HDC dc = aCanvas->Handle();
    if (!line) {
        const int32_t index = item->ImageIndex();
        if (images != nullptr && index >= 0 && index < images->Count()) {
            int32_t top = aRect.top + (h - images->Height()) / 2;
            if (item->Checked()) {
                top = aRect.top + (h - GlyphSize) / 2;
                RECT sunken{box.left, top, box.right, top + GlyphSize};
                const win::BrushHandle hatch = PatternBrush();
                FillRect(dc, &sunken, hatch.get());
                DrawEdge(dc, &sunken, BDR_SUNKENOUTER, BF_RECT);
            }
            images->Draw(*aCanvas, box.left, top, index, item->Enabled());
        } else if (item->Checked()) {
            if (item->RadioItem()) {
                const int32_t x = box.left + (boxWidth - RadioDotSize) / 2 + 1;
                const int32_t y = aRect.top + (h - RadioDotSize) / 2 + 1;
                // The radio dot takes the caption's colour, so that it shows on a dark skin's menu too.
                const TColor dotColour = MenuItemTextColour(*item, selected);
                const win::BrushHandle dot(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(dotColour))));
                const win::SelectedObject filled(dc, dot.get());
                const win::SelectedObject noPen(dc, GetStockObject(NULL_PEN));
                Ellipse(dc, x, y, x + RadioDotSize + 1, y + RadioDotSize + 1);
            } else {
                const TColor mark = item->Enabled() ? clBtnText : clBtnShadow;
                const SIZE size = CheckMarkSize();
                DrawCheckMark(dc, box.left + (boxWidth - size.cx) / 2 + 1, aRect.top + (h - size.cy) / 2 + 1, mark);
            }
        }
    }
    if (item->Count() > 0 && !line) DrawSubMenuArrow(dc, aRect, MenuItemTextColour(*item, selected));
    RECT text{box.right + CaptionGap, aRect.top, aRect.right - 1, aRect.bottom};
    if (mirrored) text = RECT{aRect.left + 1, aRect.top, box.left - CaptionGap, aRect.bottom};
    RECT measured = text;
    DrawMenuItemText(item, aCanvas, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE, selected, measured,
                     caption);
    const int32_t textWidth = Width(measured);
    const int32_t textHeight = Height(measured);
    text.top = aRect.top + (h - textHeight) / 2;
    text.bottom = text.top + textHeight;
    if (line) {
        text = RECT{aRect.left, aRect.top, aRect.right, aRect.bottom};
        DrawMenuItemText(item, aCanvas, DT_SINGLELINE, selected, text, caption);
        return;
    }
    RECT drawn = text;
    DrawMenuItemText(item, aCanvas, DT_SINGLELINE | DT_EXPANDTABS | (mirrored ? DT_RIGHT | DT_RTLREADING : 0), selected,
                     drawn, caption);
    if (item->ShortCut() == scNone) return;
    RECT keys = mirrored ? RECT{aRect.left + ShortcutRightGap, text.top, text.right - textWidth, text.bottom}
                         : RECT{text.left + textWidth, text.top, aRect.right - ShortcutRightGap, text.bottom};
    DrawMenuItemText(item, aCanvas, DT_SINGLELINE | (mirrored ? DT_LEFT : DT_RIGHT), selected, keys,
                     ShortCutToText(item->ShortCut()));
}

void TPellixForm::DrawMenuItemText(TMenuItem* item, TCanvas* aCanvas, UINT flags, bool selected, RECT& aRect,
                                   const std::string& text) {
    const bool measuring = (flags & DT_CALCRECT) != 0;
    std::string shown = text;
    if (measuring && (shown.empty() || shown == "&")) shown += ' ';
    if (shown == SeparatorCaption) {
        if (measuring) return;
        RECT line = aRect;
        line.top += SeparatorLineOffset;
        DrawEdge(aCanvas->Handle(), &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    aCanvas->Brush().SetStyle(bsClear);
    aCanvas->Font().SetStyle(item->Default() ? TFontStyles{fsBold} : TFontStyles{});
    const TColor colour = MenuItemTextColour(*item, selected);
    aCanvas->Font().SetColor(colour);
    HDC dc = aCanvas->Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(colour)));
    DrawTextWide(dc, AnsiToWide(shown), aRect, flags);
}

TColor TPellixForm::MenuItemTextColour(const TMenuItem& item, bool selected) const {
    if (!item.Enabled()) return DisabledMenuTextColour(*FSkinData);
    return FSkinData->FColors[selected ? SkinColour::HilightText : SkinColour::MenuText];
}

void TPellixForm::DrawSubMenuArrow(HDC dc, const RECT& item, TColor colour) const {
    RECT strip = SystemSubMenuArrowRect(item);
    if (FRightToLeft) strip = RECT{item.left, item.top, item.left + Width(strip), item.bottom};
    const int32_t half = SubMenuArrowHeight / 2;
    const int32_t top = item.top + (Height(item) - SubMenuArrowHeight) / 2;
    const int32_t left = strip.left + (Width(strip) - half - 1) / 2;
    // Column by column: the arrow's tip points away from the caption.
    const win::BrushHandle brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(colour))));
    for (int32_t column = 0; column <= half; ++column) {
        const int32_t x = FRightToLeft ? left + half - column : left + column;
        const RECT bar{x, top + column, x + 1, top + SubMenuArrowHeight - column};
        FillRect(dc, &bar, brush.get());
    }
}

// --- Measuring -------------------------------------------------------------------------------------

void TPellixForm::MeasureMenuItem(TObject* sender, TCanvas* aCanvas, int32_t& width, int32_t& height) {
    auto* item = ObjectAs<TMenuItem>(sender);
    if (item == nullptr || aCanvas == nullptr) return;
    // The framework measures the item as it would without this handler.
    const TMenuMeasureItemEvent own = item->OnMeasureItem();
    item->SetOnMeasureItem(nullptr);
    try {
        item->MeasureItem(aCanvas, width, height);
    } catch (...) {
        item->SetOnMeasureItem(own);
        throw;
    }
    item->SetOnMeasureItem(own);
    if (FSkinData != nullptr && HasElement(FSkinData->FMenuItem)) width += FSkinData->FMenuItem->LeftWidth;
    const TMenu* menu = item->GetParentMenu();
    width += menu != nullptr && menu->Images() != nullptr ? MainMenuExtraWidth : NoImagesExtraWidth;
}

void TPellixForm::MeasurePopupItem(TObject* sender, TCanvas*, int32_t& width, int32_t&) {
    auto* item = ObjectAs<TMenuItem>(sender);
    if (item == nullptr) return;
    if (FSkinData != nullptr && HasElement(FSkinData->FMenuItem)) width += FSkinData->FMenuItem->LeftWidth;
    const TMenu* menu = item->GetParentMenu();
    width += menu != nullptr && menu->Images() != nullptr ? PopupExtraWidth : NoImagesExtraWidth;
}

// --- The window's owner-draw messages ---------------------------------------------------------------

bool TPellixForm::MeasureItemMessage(TMessage& message) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
    if (measure == nullptr || measure->CtlType != ODT_MENU || FWindowMenu == nullptr || FSkinData == nullptr)
        return false;
    if (SkinManager != nullptr) SkinManager->MarkPopupsFromMenuBar();
    win::WindowFrameDC windowDc(FHandle);
    TCanvas canvas;
    const TCanvasBinding bound(canvas, windowDc.get());
    canvas.SetFont(*FMenuFont);
    if (FForm != nullptr) {
        TMainMenu* menu = FMenuBar ? FMenuBar->Menu() : nullptr;
        if (TMenuItem* item = menu != nullptr ? menu->FindItem(measure->itemID, fkCommand) : nullptr) {
            int32_t w = 0;
            int32_t h = 0;
            MeasureMenuItem(item, &canvas, w, h);
            measure->itemWidth = static_cast<UINT>(std::max(w, 0));
            measure->itemHeight = static_cast<UINT>(std::max(h, 0));
            message.Result = TRUE;
            return true;
        }
        if (measure->itemID >= 1 && measure->itemID <= LastFrameworkCommand) return false;
    }
    wchar_t text[MenuTextChars + 1]{};
    if (FTrackedMenu != nullptr) GetMenuStringW(FTrackedMenu, measure->itemID, text, MenuTextChars, MF_BYCOMMAND);
    const std::wstring caption = text;
    RECT extent{0, 0, 0, 0};
    DrawTextWide(canvas.Handle(), caption.empty() ? std::wstring(L" ") : caption, extent,
                 DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    int32_t w = Width(extent) + OwnMeasureExtraWidth;
    if (HasElement(FSkinData->FMenuItem)) w += FSkinData->FMenuItem->LeftWidth;
    int32_t h = caption.empty() ? EmptyItemHeight : Height(extent) + OwnMeasureExtraHeight;
    if (IsWindows9xVersion(SkinPlatform().SystemVersion)) h += OwnMeasureExtraHeight;
    measure->itemWidth = static_cast<UINT>(w);
    measure->itemHeight = static_cast<UINT>(h);
    message.Result = TRUE;
    return true;
}

bool TPellixForm::DrawItemMessage(TMessage& message) {
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
    if (draw == nullptr || draw->CtlType != ODT_MENU || FWindowMenu == nullptr || FSkinData == nullptr) return false;
    const auto menu = reinterpret_cast<HMENU>(draw->hwndItem);
    if (SkinManager != nullptr) {
        SkinManager->AssignPopupMenu(menu);
        SkinManager->MarkPopupsFromMenuBar();
    }
    const bool selected = (draw->itemState & ODS_SELECTED) != 0;
    TMainMenu* mainMenu = FForm != nullptr && FMenuBar ? FMenuBar->Menu() : nullptr;
    TMenuItem* item = mainMenu != nullptr ? mainMenu->FindItem(draw->itemID, fkCommand) : nullptr;
    if (item == nullptr && FForm != nullptr && draw->itemID >= 1 && draw->itemID <= LastFrameworkCommand) return false;
    bool hasSubMenu = item != nullptr && item->Count() > 0;
    {
        // The DC is the system's: its state comes back when the drawing ends.
        const win::SavedDC saved(draw->hDC);
        TCanvas canvas;
        const TCanvasBinding bound(canvas, draw->hDC);
        canvas.SetFont(*FMenuFont);
        if (item != nullptr) {
            if (HasElement(FSkinData->FMenuItem))
                DrawMenuItemOfMenu(menu, item, selected, draw->rcItem, &canvas);
            else
                DrawPlainMenuItem(item, &canvas, selected, draw->rcItem);
        } else {
            const std::unique_ptr<TMenuItem> entry = ItemFromEntry(menu, draw->itemID);
            DrawMenuItemOfMenu(menu, entry.get(), selected, draw->rcItem, &canvas);
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_SUBMENU;
            hasSubMenu = GetMenuItemInfoW(menu, draw->itemID, FALSE, &info) && info.hSubMenu != nullptr;
            if (hasSubMenu && !entry->IsLine())
                DrawSubMenuArrow(draw->hDC, draw->rcItem, MenuItemTextColour(*entry, selected));
        }
    }
    // The item is drawn whole, its arrow too: the system's own arrow stays off it.
    if (hasSubMenu) KeepSystemSubMenuArrowOff(draw->hDC, draw->rcItem);
    message.Result = TRUE;
    return true;
}
