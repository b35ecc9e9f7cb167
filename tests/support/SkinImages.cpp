#include "SkinImages.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "framework/rtl/Streams.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"

namespace {

constexpr char kIniText[] = ".ini";

std::vector<uint8_t> BytesOf(const TMemoryStream& stream) {
    auto& readable = const_cast<TMemoryStream&>(stream);
    const auto* start = readable.Memory();
    return start ? std::vector<uint8_t>(start, start + readable.Size()) : std::vector<uint8_t>();
}

// Draws from (a rectangle of source's surface) stretched into to on target, colour on colour.
void StretchPiece(const DibSurface& target, const RECT& to, const DibSurface& source, const RECT& from) {
    const int w = to.right - to.left, h = to.bottom - to.top;
    const int sw = from.right - from.left, sh = from.bottom - from.top;
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
    ::StretchBlt(target.DC(), to.left, to.top, w, h, source.DC(), from.left, from.top, sw, sh, SRCCOPY);
}

}  // namespace

SkinPackageImages::SkinPackageImages(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    if (!file) return;
    Open(std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
}

SkinPackageImages::SkinPackageImages(const std::vector<uint8_t>& package) { Open(package); }

SkinPackageImages::~SkinPackageImages() = default;

void SkinPackageImages::Open(const std::vector<uint8_t>& package) {
    TMemoryStream stream;
    if (!package.empty()) stream.Write(package.data(), int32_t(package.size()));
    stream.SetPosition(0);
    FReader = std::make_unique<TSkinReader>();
    if (!FReader->ReadPackage(stream)) return;
    TMemoryStream ini;
    std::string found;
    FReader->ExtractFirstMatch(kIniText, ini, found);
    FIni = std::make_unique<TQuickIni>();
    ini.SetPosition(0);
    FIni->LoadFromStream(&ini);
    FLoaded = true;
}

std::vector<uint8_t> SkinPackageImages::MemberBytes(std::string_view name) const {
    if (!FLoaded) return {};
    TMemoryStream member;
    FReader->ExtractFile(name, member);
    return BytesOf(member);
}

PixelImage SkinPackageImages::Member(std::string_view name) const { return DecodeBmp(MemberBytes(name)); }

std::string SkinPackageImages::Value(std::string_view section, std::string_view key, std::string_view fallback) const {
    return FLoaded ? FIni->ReadString(section, key, fallback) : std::string(fallback);
}

int SkinPackageImages::Integer(std::string_view section, std::string_view key, int fallback) const {
    return FLoaded ? FIni->ReadInteger(section, key, fallback) : fallback;
}

PixelImage SkinPackageImages::BitmapOf(std::string_view section, std::string_view key) const {
    const std::string name = Value(section, key);
    return name.empty() ? PixelImage() : Member(name);
}

std::wstring BundledSkinPackage(std::wstring_view name) {
    wchar_t program[MAX_PATH]{};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder = program;
    // <build>/tests/<area>/<program>.exe -> <build>
    for (int level = 0; level < 3; ++level) folder = folder.substr(0, folder.find_last_of(L"\\/"));
    return folder + L"\\app\\" + std::wstring(name) + L".skn";
}

RECT FrameCellOf(const PixelImage& image, int count, int index, bool vertical) {
    count = std::max(count, 1);
    index = std::clamp(index, 1, count);
    if (vertical) {
        const int height = image.Height() / count;
        return RECT{0, (index - 1) * height, image.Width(), index * height};
    }
    const int width = image.Width() / count;
    return RECT{(index - 1) * width, 0, index * width, image.Height()};
}

PixelImage Stretched(const PixelImage& source, const RECT& from, int width, int height) {
    const DibSurface fromSurface(source);
    DibSurface target(width, height);
    ::SetStretchBltMode(target.DC(), COLORONCOLOR);
    StretchPiece(target, RECT{0, 0, width, height}, fromSurface, from);
    return target.Image();
}

PixelImage NineSliced(const PixelImage& source, const RECT& cell, RECT margins, int width, int height,
                      bool tileCentre) {
    const DibSurface from(source);
    DibSurface target(width, height);
    ::SetStretchBltMode(target.DC(), COLORONCOLOR);
    if (width < margins.left + margins.right) margins.left = margins.right = 0;
    if (height < margins.top + margins.bottom) margins.top = margins.bottom = 0;
    const LONG l = margins.left, t = margins.top, r = margins.right, b = margins.bottom;
    const LONG sx = cell.left, sy = cell.top, sr = cell.right, sb = cell.bottom;
    const LONG w = width, h = height;
    // Columns and rows of the destination and of the cell: [start, first margin end, second margin start, end].
    const LONG dx[] = {0, l, w - r, w}, dy[] = {0, t, h - b, h};
    const LONG cx[] = {sx, sx + l, sr - r, sr}, cy[] = {sy, sy + t, sb - b, sb};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const RECT to{dx[column], dy[row], dx[column + 1], dy[row + 1]};
            const RECT part{cx[column], cy[row], cx[column + 1], cy[row + 1]};
            if (row == 1 && column == 1 && tileCentre) {
                const int tw = part.right - part.left, th = part.bottom - part.top;
                if (tw <= 0 || th <= 0) continue;
                // Whole tiles from the centre's top-left, clipped to the centre.
                const win::RegionHandle clip(::CreateRectRgn(to.left, to.top, to.right, to.bottom));
                ::SelectClipRgn(target.DC(), clip.get());
                for (LONG y = to.top; y < to.bottom; y += th)
                    for (LONG x = to.left; x < to.right; x += tw)
                        ::BitBlt(target.DC(), x, y, tw, th, from.DC(), part.left, part.top, SRCCOPY);
                ::SelectClipRgn(target.DC(), nullptr);
                continue;
            }
            StretchPiece(target, to, from, part);
        }
    return target.Image();
}
