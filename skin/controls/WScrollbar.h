// TWScrollbar: the skinned picture of one scroll bar, a small window laid over a scrolling control's
// system bar (a sibling of the control, directly above it). The system keeps doing the scrolling —
// range, position, auto-repeat and thumb tracking — and the overlay follows it: each paint reads the
// bar from the system and composes arrows, track and thumb from the skin; a button-down on the
// overlay is handed to the system's own scroll-bar loop of the control.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "framework/controls/CustomControl.h"

class TBitmap;
class TSkinControl;
class TSkinData;

// FKind of an overlay: which bar of its target it covers.
constexpr uint8_t ScrollBarHorizontal = 0;  // the target's horizontal system bar
constexpr uint8_t ScrollBarVertical = 1;    // the target's vertical system bar
constexpr uint8_t ScrollBarControl = 2;     // the target is itself a scroll-bar control

// Parts of a bar (FHotPart and the hit test): the scroll request codes.
constexpr int32_t ScrollPartNone = -1;
constexpr int32_t ScrollPartFirstArrow = SB_LINEUP;     // 0, up or left
constexpr int32_t ScrollPartSecondArrow = SB_LINEDOWN;  // 1, down or right
constexpr int32_t ScrollPartPageBefore = SB_PAGEUP;     // 2, track before the thumb
constexpr int32_t ScrollPartPageAfter = SB_PAGEDOWN;    // 3, track after the thumb
constexpr int32_t ScrollPartThumb = SB_THUMBTRACK;      // 5

// What the overlay knows of its bar: the bar on the screen (Kinds 0 and 1) or the control's bounds
// (Kind 2), the thumb's extent from the bar's start, and the bar's state flags.
struct TScrollBarGeometry {
    RECT Bar{};
    int32_t ThumbTop = 0;
    int32_t ThumbBottom = 0;
    DWORD State = 0;
};

class TWScrollbar : public TCustomControl {
    QUIRN_CLASS(TWScrollbar, TCustomControl)
public:
    // Owner: the skinner.
    explicit TWScrollbar(TComponent* aOwner);
    ~TWScrollbar() override;

    // Covers bar Kind of Control (Kind 2: the control is a scroll bar itself).
    void Bind(TSkinControl* skinner, TWinControl* control, uint8_t kind);
    // The same for a bare window.
    void BindHandle(TSkinControl* skinner, HWND handle, uint8_t kind);
    // Hides the overlay (the system bar below shows again only if nothing else covers it).
    void Hide();
    // Reads the bar from the system and lays the overlay over it, or hides it with the bar.
    void UpdateBar();
    // The part at a point in overlay coordinates.
    int32_t HitTest(POINT point) const;
    // The bar from the system (or, for Kind 2, computed from the control's scroll information).
    // MinimumThumb: keep the thumb at least MinimumThumbLength long (Kind 2). False when unavailable.
    bool ReadGeometry(TScrollBarGeometry& geometry, bool minimumThumb = true) const;
    // A new skin: the next paint composes the bar again.
    void ForgetPicture() { FPictureValid = false; }
    // The overlay's window, made when first needed.
    HWND OverlayHandle() { return Handle(); }

    // --- Fields (the design's names) ---
    int32_t FLength = 0;
    int32_t FThumbStart = 0;
    int32_t FThumbEnd = 0;
    POINT FBarOrigin{};
    POINT FPressPos{};
    int32_t FPressThumb = 0;
    bool FTracking = false;
    int32_t FVertical = 0;
    int32_t FHotPart = ScrollPartNone;
    int32_t FArrowSize = 0;
    HWND FTargetHandle = nullptr;
    TWinControl* FTarget = nullptr;
    TSkinControl* FSkinner = nullptr;
    uint8_t FKind = ScrollBarHorizontal;
    RECT FBarRect{};
    bool FShowing = false;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void Paint() override;

private:
    void BindTo(TSkinControl* skinner, TWinControl* control, HWND handle, uint8_t kind);
    bool Vertical() const { return FVertical != 0; }
    // The coordinate along the bar's axis.
    int32_t AlongAxis(POINT point) const { return Vertical() ? point.y : point.x; }
    void MouseMoved(const TMessage& message);
    void ButtonDown(const TMessage& message);
    void ButtonUp(const TMessage& message);
    // A point of the overlay on the screen (the bar's screen origin read again).
    POINT ScreenPointOf(POINT point) const;
    // The bar copied to DC from the buffer, composed again when anything it shows has changed.
    void PaintBar(HDC dc);
    // Track, arrows and thumb composed in the buffer; false when it cannot be had.
    bool ComposeBar(TSkinData& data, RECT bar, int32_t thickness, bool enabled);
    void PaintArrows(HDC buffer, const RECT& bar, int32_t thickness);
    void PaintThumb(HDC buffer, int32_t thickness);

    // What the buffer shows: the skin and every input of the composition.
    struct TBarPicture {
        const TSkinData* Data = nullptr;
        const void* Strip = nullptr;
        int32_t Width = 0;
        int32_t Height = 0;
        int32_t Thickness = 0;
        int32_t HotPart = ScrollPartNone;
        bool Tracking = false;
        bool Enabled = false;
        int32_t ThumbStart = 0;
        int32_t ThumbEnd = 0;
        friend bool operator==(const TBarPicture&, const TBarPicture&) = default;
    };

    std::unique_ptr<TBitmap> FBuffer;
    // False once the overlay is destroyed (checked after the system's scroll-bar loop).
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
    TBarPicture FPicture;
    bool FPictureValid = false;
};

// Kind 2: the thumb never gets shorter than this.
constexpr int32_t MinimumThumbLength = 8;
// Kind 2: the range taken when the scroll bar's maximum equals its minimum.
constexpr int32_t EmptyScrollRange = 9999999;
