#include "framework/graphics/ImageList.h"

#include "framework/core/Publisher.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Icon.h"

QUIRN_PUBLISH(TImageList, p) {
    p.Property("BkColor", &TImageList::BkColor, &TImageList::SetBkColor).Identifiers(ColorIdents).Default(clNone);
    p.Property("Height", &TImageList::Height, &TImageList::SetHeight).Default(TImageList::kDefaultSize);
    p.Property("Width", &TImageList::Width, &TImageList::SetWidth).Default(TImageList::kDefaultSize);
}

namespace {
constexpr int kInitialCapacity = 4;
constexpr int kGrowBy = 4;
}  // namespace

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::TImageList(TComponent* owner, int32_t width, int32_t height)
    : TComponent(owner), FWidth(width), FHeight(height) {}

TImageList::~TImageList() = default;

void TImageList::Assign(const TPersistent* source) {
    if (const TImageList* other = ObjectAs<TImageList>(source)) {
        if (other == this) return;
        FWidth = other->FWidth;
        FHeight = other->FHeight;
        FBkColor = other->FBkColor;
        FHandle.reset(other->FHandle ? ::ImageList_Duplicate(other->FHandle.get()) : nullptr);
        Changed();
        return;
    }
    inherited::Assign(source);
}

void TImageList::SetSize(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || (width == FWidth && height == FHeight)) return;
    FWidth = width;
    FHeight = height;
    FHandle.reset();
    Changed();
}

int32_t TImageList::Count() const { return FHandle ? ::ImageList_GetImageCount(FHandle.get()) : 0; }

void TImageList::SetBkColor(TColor value) {
    if (value == FBkColor) return;
    FBkColor = value;
    if (FHandle) ::ImageList_SetBkColor(FHandle.get(), value == clNone ? CLR_NONE : COLORREF(ColorToRGB(value)));
    Changed();
}

HIMAGELIST TImageList::Handle() {
    if (!FHandle) {
        FHandle.reset(::ImageList_Create(FWidth, FHeight, ILC_COLOR32 | ILC_MASK, kInitialCapacity, kGrowBy));
        if (!FHandle) throw EOutOfResources("Out of system resources");
        if (FBkColor != clNone) ::ImageList_SetBkColor(FHandle.get(), COLORREF(ColorToRGB(FBkColor)));
    }
    return FHandle.get();
}

int TImageList::Add(TBitmap& image, TBitmap* mask) {
    if (image.Empty()) return -1;
    // The list copies the pictures; copies keep the caller's bitmaps out of its DCs.
    TBitmap picture;
    picture.Assign(&image);
    TBitmap maskCopy;
    if (mask) {
        maskCopy.Assign(mask);
        maskCopy.SetPixelFormat(pf1bit);
    }
    const int index = ::ImageList_Add(Handle(), picture.Handle(), mask ? maskCopy.Handle() : nullptr);
    Changed();
    return index;
}

int TImageList::AddMasked(TBitmap& image, TColor maskColor) {
    if (image.Empty()) return -1;
    // ImageList_AddMasked blackens the masked pixels of the bitmap it is given: give it a copy.
    TBitmap picture;
    picture.Assign(&image);
    const int index = ::ImageList_AddMasked(Handle(), picture.Handle(), COLORREF(ColorToRGB(maskColor)));
    Changed();
    return index;
}

int TImageList::AddIcon(TIcon& icon) {
    if (icon.Empty()) return -1;
    const int index = ::ImageList_ReplaceIcon(Handle(), -1, icon.Handle());
    Changed();
    return index;
}

void TImageList::Delete(int index) {
    if (!FHandle || index < 0 || index >= Count()) return;
    ::ImageList_Remove(FHandle.get(), index);
    Changed();
}

void TImageList::Clear() {
    if (FHandle) ::ImageList_Remove(FHandle.get(), -1);
    Changed();
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
    if (!FHandle || index < 0 || index >= Count()) return;
    HDC dc = canvas.Handle();
    if (enabled) {
        ::ImageList_Draw(FHandle.get(), index, dc, x, y, ILD_NORMAL);
        return;
    }
    win::IconHandle icon(::ImageList_GetIcon(FHandle.get(), index, ILD_NORMAL));
    if (icon)
        ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.get()), 0, x, y, FWidth, FHeight,
                     DST_ICON | DSS_DISABLED);
}

void TImageList::GetBitmap(int index, TBitmap& bitmap) {
    bitmap.SetSize(FWidth, FHeight);
    bitmap.Canvas().FillRect(RECT{0, 0, FWidth, FHeight});
    Draw(bitmap.Canvas(), 0, 0, index);
}

void TImageList::Changed() {
    if (FOnChange) FOnChange(this);
}
