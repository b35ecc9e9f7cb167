#include "framework/graphics/Icon.h"

#include <cstring>

#include "framework/graphics/AnsiText.h"
#include "framework/graphics/BmpCodec.h"
#include "framework/graphics/Canvas.h"
#include "framework/win/DeviceContext.h"

QUIRN_DEFINE_CLASS(TIcon)

namespace {

constexpr const char* kInvalidIcon = "Icon image is not valid";
constexpr uint16_t kIconType = 1;
constexpr size_t kDirHeaderSize = 6;
constexpr size_t kFileEntrySize = 16;
constexpr size_t kGroupEntrySize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr DWORD kIconFormatVersion = 0x00030000;  // CreateIconFromResourceEx: Windows 3.x icons
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
const wchar_t* const kRtIcon = MAKEINTRESOURCEW(3);
const wchar_t* const kRtGroupIcon = MAKEINTRESOURCEW(14);

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0] | (p[1] << 8) | (p[2] << 16)) | (uint32_t(p[3]) << 24); }
void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// An image must be a PNG or a DIB whose colour (XOR) and mask (AND) planes fit in its bytes.
bool ValidImage(const uint8_t* image, size_t size, TIcon::TImageInfo& info) {
    if (size >= sizeof(kPngSignature) && std::memcmp(image, kPngSignature, sizeof(kPngSignature)) == 0) return true;
    if (size < kInfoHeaderSize || U32(image) != kInfoHeaderSize) return false;
    const int32_t width = int32_t(U32(image + 4));
    const int32_t doubleHeight = int32_t(U32(image + 8));
    const uint16_t bits = U16(image + 14);
    const uint32_t compression = U32(image + 16);
    const uint32_t colorsUsed = U32(image + 32);
    if (width <= 0 || doubleHeight <= 0 || doubleHeight % 2 || width > 1024 || doubleHeight > 2048) return false;
    if (!(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32) || compression != 0)
        return false;
    if (bits <= 8 && colorsUsed > (1u << bits)) return false;
    const int32_t height = doubleHeight / 2;
    const size_t colors = bits <= 8 ? (colorsUsed ? colorsUsed : (1u << bits)) : 0;
    const size_t needed = kInfoHeaderSize + colors * 4 + TBmpImage::BmpStride(width, bits) * size_t(height) +
                          TBmpImage::BmpStride(width, 1) * size_t(height);
    if (needed > size) return false;
    info.Width = width;
    info.Height = height;
    info.BitCount = bits;
    return true;
}

}  // namespace

TIcon::TIcon() = default;
TIcon::~TIcon() = default;

void TIcon::Assign(const TPersistent* source) {
    if (source == nullptr) {
        FData.clear();
        FImages.clear();
        FHandle.reset();
        Changed();
        return;
    }
    if (const TIcon* other = ObjectAs<TIcon>(source)) {
        if (other == this) return;
        FData = other->FData;
        FImages = other->FImages;
        FWidth = other->FWidth;
        FHeight = other->FHeight;
        FHandle.reset(other->FHandle && FData.empty() ? ::CopyIcon(other->FHandle.get()) : nullptr);
        Changed();
        return;
    }
    inherited::Assign(source);
}

int TIcon::BestImage(int32_t width, int32_t height) const {
    if (FImages.empty()) return -1;
    // The system's own choice, asked through a group directory of the images.
    std::vector<uint8_t> group;
    Put16(group, 0);
    Put16(group, kIconType);
    Put16(group, uint32_t(FImages.size()));
    for (size_t i = 0; i < FImages.size(); ++i) {
        const TImageInfo& image = FImages[i];
        const uint8_t* entry = FData.data() + kDirHeaderSize + i * kFileEntrySize;
        group.insert(group.end(), entry, entry + 8);  // width, height, colours, reserved, planes, bit count
        Put32(group, uint32_t(image.Size));
        Put16(group, uint32_t(i + 1));
    }
    const int id = ::LookupIconIdFromDirectoryEx(group.data(), TRUE, width, height, LR_DEFAULTCOLOR);
    return id >= 1 && size_t(id) <= FImages.size() ? id - 1 : 0;
}

int32_t TIcon::Width() const {
    if (FWidth > 0) return FWidth;
    const int best = BestImage(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
    if (best >= 0 && FImages[size_t(best)].Width > 0) return FImages[size_t(best)].Width;
    if (FHandle || !FData.empty()) return ::GetSystemMetrics(SM_CXICON);
    return 0;
}

int32_t TIcon::Height() const {
    if (FHeight > 0) return FHeight;
    const int best = BestImage(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
    if (best >= 0 && FImages[size_t(best)].Height > 0) return FImages[size_t(best)].Height;
    if (FHandle || !FData.empty()) return ::GetSystemMetrics(SM_CYICON);
    return 0;
}

void TIcon::SetSize(int32_t width, int32_t height) {
    if (width == FWidth && height == FHeight) return;
    FWidth = width;
    FHeight = height;
    // Only an icon that has its images can be made again at another size.
    if (!FData.empty()) FHandle.reset();
    Changed();
}

HICON TIcon::Handle() {
    if (!FHandle && !FData.empty()) {
        FHandle = NewHandle(Width(), Height());
        if (!FHandle) throw EInvalidGraphic(kInvalidIcon);
    }
    return FHandle.get();
}

win::IconHandle TIcon::NewHandle(int32_t width, int32_t height) const {
    if (width <= 0 || height <= 0) return {};
    if (FData.empty()) {
        if (!FHandle) return {};
        return win::IconHandle(static_cast<HICON>(::CopyImage(FHandle.get(), IMAGE_ICON, width, height, 0)));
    }
    const TImageInfo& image = FImages[size_t(BestImage(width, height))];
    return win::IconHandle(::CreateIconFromResourceEx(const_cast<uint8_t*>(FData.data() + image.Offset),
                                                      DWORD(image.Size), TRUE, kIconFormatVersion, width, height,
                                                      LR_DEFAULTCOLOR));
}

void TIcon::SetHandle(HICON handle) {
    FData.clear();
    FImages.clear();
    FWidth = FHeight = 0;
    FHandle.reset(handle);
    ICONINFO info{};
    if (handle && ::GetIconInfo(handle, &info)) {
        win::BitmapHandle color(info.hbmColor), mask(info.hbmMask);
        BITMAP bitmap{};
        if (color && ::GetObjectW(color.get(), sizeof(bitmap), &bitmap)) {
            FWidth = bitmap.bmWidth;
            FHeight = bitmap.bmHeight;
        } else if (mask && ::GetObjectW(mask.get(), sizeof(bitmap), &bitmap)) {
            FWidth = bitmap.bmWidth;
            FHeight = bitmap.bmHeight / 2;  // a monochrome icon stacks its two masks
        }
    }
    Changed();
}

HICON TIcon::ReleaseHandle() {
    HICON handle = FHandle.release();
    Changed();
    return handle;
}

void TIcon::LoadData(std::vector<uint8_t> data) {
    std::vector<TImageInfo> images;
    bool valid = data.size() >= kDirHeaderSize && data.size() <= kMaxBytes && U16(data.data()) == 0 &&
                 U16(data.data() + 2) == kIconType;
    const size_t count = valid ? U16(data.data() + 4) : 0;
    valid = valid && count >= 1 && count <= kMaxImages && data.size() >= kDirHeaderSize + count * kFileEntrySize;
    for (size_t i = 0; valid && i < count; ++i) {
        const uint8_t* entry = data.data() + kDirHeaderSize + i * kFileEntrySize;
        TImageInfo image;
        image.Size = U32(entry + 8);
        image.Offset = U32(entry + 12);
        image.Width = entry[0] ? entry[0] : 256;
        image.Height = entry[1] ? entry[1] : 256;
        image.BitCount = U16(entry + 6);
        valid = image.Offset >= kDirHeaderSize + count * kFileEntrySize && image.Offset <= data.size() &&
                image.Size <= data.size() - image.Offset && ValidImage(data.data() + image.Offset, image.Size, image);
        images.push_back(image);
    }
    if (!valid) {
        FData.clear();
        FImages.clear();
        FHandle.reset();
        Changed();
        throw EInvalidGraphic(kInvalidIcon);
    }
    FData = std::move(data);
    FImages = std::move(images);
    FHandle.reset();
    Changed();
}

void TIcon::LoadFromStream(TStream& stream) {
    std::vector<uint8_t> data;
    try {
        const int64_t remaining = stream.Size() - stream.Position();
        if (remaining > 0 && remaining <= int64_t(kMaxBytes)) {
            data.resize(size_t(remaining));
            stream.ReadBuffer(data.data(), int32_t(remaining));
        }
    } catch (const EStreamError&) {
        data.clear();
    }
    LoadData(std::move(data));
}

void TIcon::LoadFromResourceName(HINSTANCE instance, std::string_view name) {
    const std::wstring wide = AnsiToWideText(name);
    LoadFromResourceName(instance, wide.c_str());
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const wchar_t* name) {
    auto bytesOf = [instance](const wchar_t* resourceName, const wchar_t* type, DWORD& size) -> const uint8_t* {
        HRSRC resource = ::FindResourceW(instance, resourceName, type);
        HGLOBAL loaded = resource ? ::LoadResource(instance, resource) : nullptr;
        size = resource ? ::SizeofResource(instance, resource) : 0;
        return loaded ? static_cast<const uint8_t*>(::LockResource(loaded)) : nullptr;
    };
    DWORD groupSize = 0;
    const uint8_t* group = bytesOf(name, kRtGroupIcon, groupSize);
    if (!group) {
        const std::string text =
            IS_INTRESOURCE(name) ? IntToStr(int64_t(reinterpret_cast<ULONG_PTR>(name))) : WideToAnsiText(name);
        throw EResNotFound("Resource " + text + " not found");
    }
    // Rebuild the .ico file: the group directory with file offsets in place of image ids.
    const size_t count = groupSize >= kDirHeaderSize ? U16(group + 4) : 0;
    std::vector<std::pair<const uint8_t*, DWORD>> images;
    for (size_t i = 0; i < count && kDirHeaderSize + (i + 1) * kGroupEntrySize <= groupSize; ++i) {
        const uint8_t* entry = group + kDirHeaderSize + i * kGroupEntrySize;
        DWORD size = 0;
        const uint8_t* image = bytesOf(MAKEINTRESOURCEW(U16(entry + 12)), kRtIcon, size);
        if (image) images.emplace_back(image, size);
    }
    std::vector<uint8_t> data;
    Put16(data, 0);
    Put16(data, kIconType);
    Put16(data, uint32_t(images.size()));
    size_t offset = kDirHeaderSize + images.size() * kFileEntrySize;
    for (size_t i = 0, used = 0; used < images.size(); ++i) {
        const uint8_t* entry = group + kDirHeaderSize + i * kGroupEntrySize;
        DWORD size = 0;
        if (!bytesOf(MAKEINTRESOURCEW(U16(entry + 12)), kRtIcon, size)) continue;
        data.insert(data.end(), entry, entry + 8);
        Put32(data, images[used].second);
        Put32(data, uint32_t(offset));
        offset += images[used].second;
        ++used;
    }
    for (const auto& [image, size] : images) data.insert(data.end(), image, image + size);
    LoadData(std::move(data));
}

std::vector<uint8_t> TIcon::EncodeHandle() {
    std::vector<uint8_t> out;
    ICONINFO info{};
    if (!FHandle || !::GetIconInfo(FHandle.get(), &info)) return out;
    win::BitmapHandle color(info.hbmColor), mask(info.hbmMask);
    const int32_t width = Width();
    const int32_t height = Height();
    if (width <= 0 || height <= 0 || width > 256 || height > 256) return out;
    // One 32-bit image: the icon drawn with its alpha and mask planes read back through GetDIBits.
    std::vector<uint8_t> xorBits(TBmpImage::BmpStride(width, 32) * size_t(height));
    std::vector<uint8_t> andBits(TBmpImage::BmpStride(width, 1) * size_t(height), 0);
    win::ScreenDC screen;
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[2];
    } bmi{};
    bmi.Header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    if (color)
        ::GetDIBits(screen.get(), color.get(), 0, UINT(height), xorBits.data(), reinterpret_cast<BITMAPINFO*>(&bmi),
                    DIB_RGB_COLORS);
    bmi.Header =
        BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, color ? height : height * 2, 1, 1, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint8_t> maskBits(TBmpImage::BmpStride(width, 1) * size_t(color ? height : height * 2));
    if (mask)
        ::GetDIBits(screen.get(), mask.get(), 0, UINT(color ? height : height * 2), maskBits.data(),
                    reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS);
    // For a monochrome icon the AND plane is the top half of the mask (stored last, bottom-up).
    std::memcpy(andBits.data(), maskBits.data() + (color ? 0 : andBits.size()), andBits.size());
    if (!color) {
        // Monochrome: XOR plane from the bottom half of the mask, as white or black pixels.
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) {
                const bool set =
                    maskBits[size_t(y) * TBmpImage::BmpStride(width, 1) + size_t(x / 8)] & (0x80 >> (x % 8));
                std::memset(&xorBits[size_t(y) * size_t(width) * 4 + size_t(x) * 4], set ? 0xFF : 0, 3);
            }
    }
    const uint32_t imageSize = uint32_t(kInfoHeaderSize + xorBits.size() + andBits.size());
    Put16(out, 0);
    Put16(out, kIconType);
    Put16(out, 1);
    out.push_back(uint8_t(width == 256 ? 0 : width));
    out.push_back(uint8_t(height == 256 ? 0 : height));
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, imageSize);
    Put32(out, uint32_t(kDirHeaderSize + kFileEntrySize));
    Put32(out, uint32_t(kInfoHeaderSize));
    Put32(out, uint32_t(width));
    Put32(out, uint32_t(height * 2));
    Put16(out, 1);
    Put16(out, 32);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    out.insert(out.end(), xorBits.begin(), xorBits.end());
    out.insert(out.end(), andBits.begin(), andBits.end());
    return out;
}

void TIcon::SaveToStream(TStream& stream) {
    const std::vector<uint8_t> data = FData.empty() ? EncodeHandle() : FData;
    if (!data.empty()) stream.WriteBuffer(data.data(), int32_t(data.size()));
}

void TIcon::DrawTo(TCanvas& canvas, const RECT& rect) {
    HICON icon = Handle();
    if (icon)
        ::DrawIconEx(canvas.Handle(), rect.left, rect.top, icon, rect.right - rect.left, rect.bottom - rect.top, 0,
                     nullptr, DI_NORMAL);
}
