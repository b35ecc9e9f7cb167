#include "PixelImage.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

constexpr int kBitsPerPixel = 32;
constexpr int kChannelMaximum = 255;

// A DIB section pixel (0x00RRGGBB) as a COLORREF and back.
COLORREF FromDib(uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }
uint32_t ToDib(COLORREF colour) {
    return (uint32_t(GetRValue(colour)) << 16) | (uint32_t(GetGValue(colour)) << 8) | GetBValue(colour);
}

BITMAPINFO TopDownInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = kBitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

HBITMAP CreateSection(int width, int height, uint32_t*& bits) {
    const BITMAPINFO info = TopDownInfo(std::max(width, 1), std::max(height, 1));
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    bits = static_cast<uint32_t*>(pixels);
    return bitmap;
}

int ChannelDistance(COLORREF a, COLORREF b) {
    return std::max({std::abs(int(GetRValue(a)) - int(GetRValue(b))), std::abs(int(GetGValue(a)) - int(GetGValue(b))),
                     std::abs(int(GetBValue(a)) - int(GetBValue(b)))});
}

// --- PNG: signature, IHDR, one IDAT of stored deflate blocks, IEND. ---

constexpr uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint8_t kPngBitDepth = 8;
constexpr uint8_t kPngColourTypeRgb = 2;
constexpr uint8_t kPngFilterNone = 0;
constexpr size_t kStoredBlockLimit = 0xFFFF;  // bytes of one stored deflate block
constexpr uint8_t kZlibHeader[] = {0x78, 0x01};
constexpr uint32_t kAdlerModulus = 65521;

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % kAdlerModulus;
        b = (b + a) % kAdlerModulus;
    }
    return (b << 16) | a;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
    PutBigEndian(out, uint32_t(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + typeAt, 4 + data.size()));
}

std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out(std::begin(kZlibHeader), std::end(kZlibHeader));
    size_t at = 0;
    do {
        const size_t length = std::min(kStoredBlockLimit, raw.size() - at);
        const bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
        out.push_back(uint8_t(length));
        out.push_back(uint8_t(length >> 8));
        out.push_back(uint8_t(~length));
        out.push_back(uint8_t(~length >> 8));
        out.insert(out.end(), raw.begin() + std::ptrdiff_t(at), raw.begin() + std::ptrdiff_t(at + length));
        at += length;
    } while (at < raw.size());
    PutBigEndian(out, Adler32(raw));
    return out;
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 0x80 ? char(c) : '?';
    return out;
}

// A file-name-safe form of the running test's name and the comparison's name.
std::wstring FailureFileStem(std::string_view name) {
    std::string stem;
    if (const auto* test = ::testing::UnitTest::GetInstance()->current_test_info())
        stem = std::string(test->test_suite_name()) + "." + test->name() + "-";
    stem += name;
    std::wstring out;
    for (char c : stem)
        out += (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-') ? wchar_t(c) : L'_';
    return out;
}

}  // namespace

PixelImage::PixelImage(int width, int height, COLORREF fill)
    : FWidth(std::max(width, 0)), FHeight(std::max(height, 0)), FPixels(size_t(FWidth) * size_t(FHeight), fill) {}

PixelImage PixelImage::Crop(const RECT& rect) const {
    RECT clipped{};
    const RECT bounds = Bounds();
    if (!::IntersectRect(&clipped, &rect, &bounds)) return PixelImage();
    PixelImage part(clipped.right - clipped.left, clipped.bottom - clipped.top);
    for (int y = 0; y < part.Height(); ++y)
        for (int x = 0; x < part.Width(); ++x) part.Set(x, y, At(clipped.left + x, clipped.top + y));
    return part;
}

void PixelImage::Paste(const PixelImage& source, int x, int y) {
    for (int sy = 0; sy < source.Height(); ++sy)
        for (int sx = 0; sx < source.Width(); ++sx) {
            const int tx = x + sx, ty = y + sy;
            if (tx >= 0 && ty >= 0 && tx < FWidth && ty < FHeight) Set(tx, ty, source.At(sx, sy));
        }
}

DibSurface::DibSurface(int width, int height)
    : FWidth(std::max(width, 0)),
      FHeight(std::max(height, 0)),
      FBitmap(CreateSection(width, height, FBits)),
      FDC(),
      FSelected(FDC.get(), FBitmap.get()) {
    EXPECT_TRUE(FBitmap && FDC) << "no DIB section of " << width << " x " << height;
}

DibSurface::DibSurface(const PixelImage& image) : DibSurface(image.Width(), image.Height()) {
    if (!FBits) return;
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) FBits[size_t(y) * size_t(FWidth) + size_t(x)] = ToDib(image.At(x, y));
}

PixelImage DibSurface::Image() const {
    PixelImage image(FWidth, FHeight);
    if (!FBits) return image;
    ::GdiFlush();  // drawing may still be queued
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) image.Set(x, y, FromDib(FBits[size_t(y) * size_t(FWidth) + size_t(x)]));
    return image;
}

PixelImage CaptureDC(HDC dc, const RECT& rect) {
    DibSurface surface(rect.right - rect.left, rect.bottom - rect.top);
    EXPECT_TRUE(::BitBlt(surface.DC(), 0, 0, surface.Width(), surface.Height(), dc, rect.left, rect.top, SRCCOPY))
        << "BitBlt from the DC failed, error " << ::GetLastError();
    return surface.Image();
}

PixelImage CaptureBitmap(HBITMAP bitmap) {
    BITMAP info{};
    if (!::GetObjectW(bitmap, sizeof info, &info)) return PixelImage();
    DibSurface surface(info.bmWidth, std::abs(info.bmHeight));
    win::MemoryDC source;
    win::SelectedObject selected(source.get(), bitmap);
    ::BitBlt(surface.DC(), 0, 0, surface.Width(), surface.Height(), source.get(), 0, 0, SRCCOPY);
    return surface.Image();
}

PixelImage CaptureScreen(const RECT& rect) {
    win::ScreenDC screen;
    return CaptureDC(screen.get(), rect);
}

PixelImage CaptureWindowFromScreen(HWND window) {
    RECT rect{};
    if (!::GetWindowRect(window, &rect)) return PixelImage();
    return CaptureScreen(rect);
}

PixelImage CaptureWindowByPrint(HWND window) {
    RECT rect{};
    if (!::GetWindowRect(window, &rect)) return PixelImage();
    POINT client{0, 0};
    ::ClientToScreen(window, &client);
    DibSurface surface(rect.right - rect.left, rect.bottom - rect.top);
    // The frame first, then the client at its place: Wine's default WM_PRINT neither draws the frame
    // nor moves the client to its offset, so the two parts are asked for separately.
    ::SendMessageW(window, WM_PRINT, WPARAM(surface.DC()), PRF_NONCLIENT);
    POINT previous{};
    ::SetViewportOrgEx(surface.DC(), client.x - rect.left, client.y - rect.top, &previous);
    ::SendMessageW(window, WM_PRINT, WPARAM(surface.DC()), PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    ::SetViewportOrgEx(surface.DC(), previous.x, previous.y, nullptr);
    return surface.Image();
}

PixelImage DecodeBmp(const std::vector<uint8_t>& file) {
    if (file.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPCOREHEADER)) return PixelImage();
    BITMAPFILEHEADER header{};
    std::memcpy(&header, file.data(), sizeof header);
    constexpr WORD kBmpMagic = 0x4D42;  // "BM"
    if (header.bfType != kBmpMagic || header.bfOffBits >= file.size()) return PixelImage();
    const auto* info = reinterpret_cast<const BITMAPINFO*>(file.data() + sizeof(BITMAPFILEHEADER));
    int width = 0, height = 0;
    if (info->bmiHeader.biSize == sizeof(BITMAPCOREHEADER)) {
        const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(info);
        width = core->bcWidth;
        height = core->bcHeight;
    } else if (info->bmiHeader.biSize >= sizeof(BITMAPINFOHEADER) &&
               file.size() >= sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) {
        width = info->bmiHeader.biWidth;
        height = std::abs(info->bmiHeader.biHeight);
    }
    constexpr int kLargestSide = 16384;  // no skin bitmap comes near; guards against nonsense headers
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) return PixelImage();
    DibSurface surface(width, height);
    const int rows = ::SetDIBitsToDevice(surface.DC(), 0, 0, DWORD(width), DWORD(height), 0, 0, 0, UINT(height),
                                         file.data() + header.bfOffBits, info, DIB_RGB_COLORS);
    if (rows <= 0) return PixelImage();
    return surface.Image();
}

bool WritePng(const PixelImage& image, const std::wstring& path) {
    std::vector<uint8_t> raw;
    raw.reserve(size_t(image.Height()) * (1 + size_t(image.Width()) * 3));
    for (int y = 0; y < image.Height(); ++y) {
        raw.push_back(kPngFilterNone);
        for (int x = 0; x < image.Width(); ++x) {
            const COLORREF c = image.At(x, y);
            raw.insert(raw.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
        }
    }
    std::vector<uint8_t> header;
    PutBigEndian(header, uint32_t(image.Width()));
    PutBigEndian(header, uint32_t(image.Height()));
    header.insert(header.end(), {kPngBitDepth, kPngColourTypeRgb, 0, 0, 0});  // compression, filter, interlace
    std::vector<uint8_t> file(std::begin(kPngSignature), std::end(kPngSignature));
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", StoredZlib(raw));
    PutChunk(file, "IEND", {});
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    return bool(out);
}

std::wstring FailureImageFolder() {
    std::wstring folder;
    if (const wchar_t* given = ::_wgetenv(L"QUIRN_TEST_IMAGES"); given && *given) {
        folder = given;
    } else {
        wchar_t program[MAX_PATH]{};
        ::GetModuleFileNameW(nullptr, program, MAX_PATH);
        folder = program;
        folder = folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"failed-images";
    }
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::string ColourText(COLORREF colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}

::testing::AssertionResult ImageMatchesAt(const PixelImage& actual, POINT origin, const PixelImage& expected,
                                          std::string_view name, const ImageComparison& comparison) {
    if (expected.Empty()) return ::testing::AssertionFailure() << name << ": the expected image is empty";
    if (origin.x < 0 || origin.y < 0 || origin.x + expected.Width() > actual.Width() ||
        origin.y + expected.Height() > actual.Height())
        return ::testing::AssertionFailure()
               << name << ": the expected " << expected.Width() << " x " << expected.Height() << " at (" << origin.x
               << ", " << origin.y << ") lies outside the actual " << actual.Width() << " x " << actual.Height();
    const PixelImage region =
        actual.Crop(RECT{origin.x, origin.y, origin.x + expected.Width(), origin.y + expected.Height()});
    constexpr COLORREF kSame = RGB(0, 0, 0);
    constexpr COLORREF kDiffers = RGB(kChannelMaximum, 0, 0);
    constexpr COLORREF kIgnored = RGB(128, 128, 128);
    PixelImage difference(expected.Width(), expected.Height(), kSame);
    int differing = 0;
    std::ostringstream first;
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x) {
            const COLORREF want = expected.At(x, y);
            if (want == comparison.DontCare) {
                difference.Set(x, y, kIgnored);
                continue;
            }
            const COLORREF got = region.At(x, y);
            if (ChannelDistance(got, want) <= comparison.Tolerance) continue;
            difference.Set(x, y, kDiffers);
            if (differing++ < comparison.Reported)
                first << " (" << origin.x + x << ", " << origin.y + y << ") is " << ColourText(got) << " not "
                      << ColourText(want) << ";";
        }
    if (differing == 0) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure();
    failure << name << ": " << differing << " of " << expected.Width() * expected.Height()
            << " pixels differ by more than " << comparison.Tolerance << ":" << first.str();
    if (differing > comparison.Reported) failure << " ...";
    if (comparison.WriteImages) {
        const std::wstring stem = FailureImageFolder() + L"\\" + FailureFileStem(name);
        const bool written = WritePng(region, stem + L"-actual.png") && WritePng(expected, stem + L"-expected.png") &&
                             WritePng(difference, stem + L"-difference.png");
        failure << (written ? " pictures: " : " (pictures could not be written): ") << Narrow(stem)
                << "-{actual,expected,difference}.png";
    }
    return failure;
}
