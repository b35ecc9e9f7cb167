#include "SkinFixtures.h"

#include <windows.h>

#include "framework/graphics/BmpCodec.h"
#include "framework/graphics/Canvas.h"
#include "skin/data/SkinArchiveWriter.h"

QUIRN_PUBLISH(TSkinHolder, p) { p.Field("SkinData1", &TSkinHolder::SkinData1); }

namespace skintest {

namespace {
constexpr TColor DefaultPixel = 0x808080;
constexpr int BytesPerPixel = 3;
}  // namespace

std::vector<uint8_t> MakeBmp(int32_t Width, int32_t Height, const TPixelFn& Pixel) {
    TBmpImage Image;
    Image.Width = Width;
    Image.Height = Height;
    Image.BitCount = 24;
    const size_t Stride = Image.Stride();
    Image.Bits.assign(Stride * static_cast<size_t>(Height), 0);
    for (int32_t Y = 0; Y < Height; ++Y) {
        // Rows are stored bottom-up.
        uint8_t* Row = Image.Bits.data() + Stride * static_cast<size_t>(Height - 1 - Y);
        for (int32_t X = 0; X < Width; ++X) {
            const TColor C = Pixel ? Pixel(X, Y) : DefaultPixel;
            Row[X * BytesPerPixel + 0] = ColorBlue(C);
            Row[X * BytesPerPixel + 1] = ColorGreen(C);
            Row[X * BytesPerPixel + 2] = ColorRed(C);
        }
    }
    return EncodeBmpFile(Image);
}

TTestSkin& TTestSkin::Bitmap(const std::string& Name, int32_t Width, int32_t Height, const TPixelFn& Pixel) {
    Files[Name] = MakeBmp(Width, Height, Pixel);
    return *this;
}

std::vector<uint8_t> TTestSkin::Package() const {
    std::vector<TSkinPackageFile> Members;
    Members.push_back({IniName, std::vector<uint8_t>(Ini.begin(), Ini.end())});
    for (const auto& [Name, Data] : Files) Members.push_back({Name, Data});
    return BuildSkinPackage(Members);
}

bool LoadPackageBytes(TSkinData& Data, const std::vector<uint8_t>& Package) {
    TMemoryStream& Stream = Data.SkinStream();
    Stream.Clear();
    if (!Package.empty()) Stream.WriteBuffer(Package.data(), static_cast<int32_t>(Package.size()));
    Stream.SetPosition(0);
    return Data.LoadSkinPackage();
}

std::unique_ptr<TSkinData> LoadSkin(const TTestSkin& Skin) {
    auto Data = std::make_unique<TSkinData>(nullptr);
    LoadPackageBytes(*Data, Skin.Package());
    return Data;
}

TTestSkin SmallSkin() {
    TTestSkin Skin;
    Skin.Ini = "[TitlebarSkin]\nSkinName=Small\n[Colours]\nButtonFace=230 235 245\n";
    return Skin;
}

std::string WriteTempPackage(const std::vector<uint8_t>& Package, const std::string& FileName) {
    wchar_t Dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, Dir);
    char Narrow[MAX_PATH * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, Dir, -1, Narrow, sizeof(Narrow), nullptr, nullptr);
    const std::string Path = std::string(Narrow) + FileName;
    TFileStream File(Path, fmCreate);
    File.WriteBuffer(Package.data(), static_cast<int32_t>(Package.size()));
    return Path;
}

TColor PixelOf(TBitmap& Bitmap, int32_t X, int32_t Y) { return Bitmap.Canvas().Pixels(X, Y); }

}  // namespace skintest
