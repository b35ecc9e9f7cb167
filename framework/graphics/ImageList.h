// TImageList: a component holding equally sized images with masks over a comctl32 image list; images
// are added from bitmaps (split into cells of the list's width) or icons and drawn on canvases.
// Publishes BkColor, Height and Width.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "framework/core/Component.h"
#include "framework/graphics/Color.h"
#include "framework/rtl/Delegate.h"
#include "framework/rtl/Object.h"
#include "framework/win/ImageListHandle.h"

class TBitmap;
class TCanvas;
class TIcon;

// A component holding images of one size for menus and controls to draw; owns its HIMAGELIST.
// Images are copied in (the bitmaps and icons given stay the caller's).
class TImageList : public TComponent {
    QUIRN_CLASS(TImageList, TComponent)
public:
    static constexpr int32_t kDefaultSize = 16;

    explicit TImageList(TComponent* owner = nullptr);
    TImageList(TComponent* owner, int32_t width, int32_t height);
    ~TImageList() override;

    void Assign(const TPersistent* source) override;

    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }
    // Changing the size empties the list.
    void SetWidth(int32_t value) { SetSize(value, FHeight); }
    void SetHeight(int32_t value) { SetSize(FWidth, value); }
    void SetSize(int32_t width, int32_t height);
    int32_t Count() const;

    // Colour behind masked images when drawn (clNone: transparent).
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor value);

    // The image list, made on first use; owned by this object.
    HIMAGELIST Handle();
    bool HandleAllocated() const { return static_cast<bool>(FHandle); }

    // Each adds as many images as the bitmap has cells of Width; returns the first index or -1.
    int Add(TBitmap& image, TBitmap* mask);
    int AddMasked(TBitmap& image, TColor maskColor);
    int AddIcon(TIcon& icon);
    void Delete(int index);
    void Clear();

    // Draws image index at (x, y); a disabled image is drawn embossed in the system's disabled style.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);
    // Puts image index into bitmap (sized to the list), drawn over the bitmap's brush colour.
    void GetBitmap(int index, TBitmap& bitmap);

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(const TNotifyEvent& handler) { FOnChange = handler; }

private:
    void Changed();

    int32_t FWidth = kDefaultSize;
    int32_t FHeight = kDefaultSize;
    TColor FBkColor = clNone;
    win::ImageListHandle FHandle;
    TNotifyEvent FOnChange;
};
