// TIcon: an icon of one or more images (sizes and colour depths) from an .ico stream, a resource or a
// handle; makes the HICON for the chosen size and draws it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/graphics/Graphic.h"
#include "framework/win/GdiObject.h"

// An icon as a picture: keeps the .ico data it was loaded from (all images) and makes the HICON for
// the wanted size on demand, owning it. Bad or oversized .ico data leaves it empty (EInvalidGraphic).
class TIcon : public TGraphic {
    QUIRN_CLASS(TIcon, TGraphic)
public:
    // Limits of accepted icon data.
    static constexpr size_t kMaxImages = 64;
    static constexpr size_t kMaxBytes = 16 * 1024 * 1024;

    // One image listed in the .ico directory.
    struct TImageInfo {
        int32_t Width = 0;
        int32_t Height = 0;
        int BitCount = 0;
        size_t Offset = 0;  // in the .ico data
        size_t Size = 0;
    };

    TIcon();
    ~TIcon() override;

    void Assign(const TPersistent* source) override;

    bool Empty() const override { return FData.empty() && !FHandle; }
    // The size the handle is made at: set by SetSize, else the natural size of the image that best
    // fits the system's large-icon size.
    int32_t Width() const override;
    int32_t Height() const override;
    void SetWidth(int32_t value) override { SetSize(value, Height()); }
    void SetHeight(int32_t value) override { SetSize(Width(), value); }
    void SetSize(int32_t width, int32_t height);

    // The images of the loaded .ico data (none for an icon given only as a handle).
    const std::vector<TImageInfo>& Images() const { return FImages; }

    // The icon at Width x Height, made on first use; owned by the icon.
    HICON Handle();
    // A new icon at width x height, made from the image that fits that size best (an icon given only
    // as a handle is scaled); the caller owns it. Empty when the icon is empty or cannot be made.
    win::IconHandle NewHandle(int32_t width, int32_t height) const;
    // Takes ownership of an icon handle; the stored images are dropped.
    void SetHandle(HICON handle);
    HICON ReleaseHandle();

    // Reads an .ico file; EInvalidGraphic (icon left empty) for anything else or for lying sizes.
    void LoadFromStream(TStream& stream) override;
    // Writes the .ico data (an icon given as a handle is written as one 32-bit image).
    void SaveToStream(TStream& stream) override;
    // Icon group resource (RT_GROUP_ICON) of a module with all its images.
    void LoadFromResourceName(HINSTANCE instance, std::string_view name);
    void LoadFromResourceName(HINSTANCE instance, const wchar_t* name);
    void LoadFromResourceID(HINSTANCE instance, int id) { LoadFromResourceName(instance, MAKEINTRESOURCEW(id)); }

protected:
    void DrawTo(TCanvas& canvas, const RECT& rect) override;

private:
    // Index of the image that best fits a size (the system's choice among the images).
    int BestImage(int32_t width, int32_t height) const;
    void LoadData(std::vector<uint8_t> data);
    std::vector<uint8_t> EncodeHandle();

    std::vector<uint8_t> FData;
    std::vector<TImageInfo> FImages;
    win::IconHandle FHandle;
    int32_t FWidth = 0;
    int32_t FHeight = 0;
};
