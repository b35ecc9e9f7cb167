// The pixel kit of the engine tests checked on its own: comparisons that fail on real differences and say
// where, PNG files a PNG decoder reads back (the system's imaging component), BMP decoding, captures of a
// real window from the screen and through WM_PRINT, and expected images made from a skin package.
#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "BmpWriter.h"
#include "MessagePump.h"
#include "PixelImage.h"
#include "SkinImages.h"

namespace {

// Red = column, green = row: every pixel tells where it came from.
COLORREF Coded(int x, int y) { return RGB(x * 7 % 256, y * 5 % 256, 0x40); }

PixelImage CodedImage(int width, int height) {
    PixelImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.Set(x, y, Coded(x, y));
    return image;
}

TEST(ImageComparison, PassesOnEqualPixelsAndNamesTheFirstDifferencesOtherwise) {
    const PixelImage actual = CodedImage(20, 10);
    const PixelImage expected = actual.Crop(RECT{4, 2, 12, 8});
    EXPECT_TRUE(ImageMatchesAt(actual, POINT{4, 2}, expected, "same"));
    EXPECT_FALSE(ImageMatchesAt(actual, POINT{5, 2}, expected, "shifted", {0, CLR_INVALID, 8, false}));

    PixelImage changed = actual;
    changed.Set(7, 5, RGB(1, 2, 3));
    ImageComparison quiet;
    quiet.WriteImages = false;
    const ::testing::AssertionResult result = ImageMatchesAt(changed, POINT{4, 2}, expected, "one pixel", quiet);
    ASSERT_FALSE(result);
    const std::string message = result.message();
    EXPECT_NE(message.find("1 of 48 pixels"), std::string::npos) << message;
    EXPECT_NE(message.find("(7, 5) is #010203 not " + ColourText(Coded(7, 5))), std::string::npos) << message;

    // Outside the actual image: a clear failure, not a read past its pixels.
    EXPECT_FALSE(ImageMatchesAt(actual, POINT{15, 0}, expected, "outside", quiet));
    EXPECT_FALSE(ImageMatchesAt(actual, POINT{-1, 0}, expected, "outside", quiet));
}

TEST(ImageComparison, ToleranceAndDontCarePixels) {
    PixelImage expected(4, 4, RGB(100, 100, 100));
    PixelImage actual(4, 4, RGB(102, 98, 100));
    ImageComparison comparison;
    comparison.WriteImages = false;
    comparison.Tolerance = 2;
    EXPECT_TRUE(ImageMatchesAt(actual, POINT{0, 0}, expected, "within", comparison));
    comparison.Tolerance = 1;
    EXPECT_FALSE(ImageMatchesAt(actual, POINT{0, 0}, expected, "beyond", comparison));
    // Magenta in the expected image: pixels the comparison leaves out (transparent parts of a skin).
    expected = PixelImage(4, 4, RGB(255, 0, 255));
    expected.Set(0, 0, RGB(102, 98, 100));
    comparison.Tolerance = 0;
    comparison.DontCare = RGB(255, 0, 255);
    EXPECT_TRUE(ImageMatchesAt(actual, POINT{0, 0}, expected, "masked", comparison));
    expected.Set(3, 3, RGB(0, 0, 0));
    EXPECT_FALSE(ImageMatchesAt(actual, POINT{0, 0}, expected, "masked", comparison));
}

// Decodes a PNG with the system's imaging component (an implementation independent of the kit).
PixelImage DecodePngWithImaging(const std::wstring& path) {
    PixelImage image;
    IWICImagingFactory* factory = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(&factory))))
        return image;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    if (SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom))) {
        UINT width = 0, height = 0;
        converter->GetSize(&width, &height);
        std::vector<uint8_t> pixels(size_t(width) * height * 4);
        if (SUCCEEDED(converter->CopyPixels(nullptr, width * 4, UINT(pixels.size()), pixels.data()))) {
            image = PixelImage(int(width), int(height));
            for (UINT y = 0; y < height; ++y)
                for (UINT x = 0; x < width; ++x) {
                    const uint8_t* p = &pixels[(size_t(y) * width + x) * 4];
                    image.Set(int(x), int(y), RGB(p[2], p[1], p[0]));
                }
        }
    }
    for (IUnknown* object : {static_cast<IUnknown*>(converter), static_cast<IUnknown*>(frame),
                             static_cast<IUnknown*>(decoder), static_cast<IUnknown*>(factory)})
        if (object) object->Release();
    return image;
}

TEST(Png, ReadsBackPixelForPixelIncludingImagesLargerThanOneStoredBlock) {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    // 300 x 80 x 3 bytes: more than one 64 KiB stored block.
    for (const PixelImage& image : {CodedImage(5, 3), CodedImage(300, 80)}) {
        const std::wstring path = FailureImageFolder() + L"\\png-round-trip.png";
        ASSERT_TRUE(WritePng(image, path));
        const PixelImage decoded = DecodePngWithImaging(path);
        EXPECT_TRUE(decoded == image) << image.Width() << " x " << image.Height() << " decoded as " << decoded.Width()
                                      << " x " << decoded.Height();
        std::filesystem::remove(path);
    }
    ::CoUninitialize();
}

TEST(ImageComparison, FailureWritesActualExpectedAndDifferencePictures) {
    const PixelImage expected(6, 4, RGB(10, 20, 30));
    PixelImage actual = expected;
    actual.Set(2, 1, RGB(200, 20, 30));
    const ::testing::AssertionResult result = ImageMatchesAt(actual, POINT{0, 0}, expected, "written");
    ASSERT_FALSE(result);
    const std::wstring stem =
        FailureImageFolder() + L"\\ImageComparison.FailureWritesActualExpectedAndDifferencePictures-written";
    for (const wchar_t* suffix : {L"-actual.png", L"-expected.png", L"-difference.png"}) {
        EXPECT_TRUE(std::filesystem::exists(stem + suffix)) << std::string(result.message());
        std::filesystem::remove(stem + suffix);
    }
}

TEST(DecodeBmp, PaletteAndTrueColourRowsInEitherOrderAndNothingForOtherBytes) {
    using bmptest::BmpLayout;
    const std::vector<std::vector<uint32_t>> indices = {{0, 1, 2}, {2, 1, 0}};
    BmpLayout paletted;
    paletted.Width = 3;
    paletted.Height = 2;
    paletted.BitCount = 8;
    paletted.Palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    paletted.Pixels = bmptest::PackRows(indices, 8, false);
    const PixelImage a = DecodeBmp(bmptest::WriteBmp(paletted));
    ASSERT_EQ(a.Width(), 3);
    ASSERT_EQ(a.Height(), 2);
    EXPECT_EQ(a.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(a.At(2, 0), RGB(0, 0, 255));
    EXPECT_EQ(a.At(0, 1), RGB(0, 0, 255));

    BmpLayout topDown;
    topDown.Width = 2;
    topDown.Height = -2;
    topDown.BitCount = 24;
    topDown.Pixels = bmptest::PackRows({{0x102030, 0x405060}, {0x708090, 0xA0B0C0}}, 24, true);
    const PixelImage b = DecodeBmp(bmptest::WriteBmp(topDown));
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(b.At(0, 0), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(b.At(1, 1), RGB(0xA0, 0xB0, 0xC0));

    EXPECT_TRUE(DecodeBmp({}).Empty());
    EXPECT_TRUE(DecodeBmp(std::vector<uint8_t>(100, 'x')).Empty());
}

// A top-level window whose client shows four coloured quarters.
class QuarterWindow {
public:
    static constexpr COLORREF kQuarters[4] = {RGB(200, 30, 30), RGB(30, 200, 30), RGB(30, 30, 200), RGB(220, 220, 40)};
    QuarterWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QuirnPixelKitQuarters";
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        ::RegisterClassW(&windowClass);
        FWindow = ::CreateWindowExW(0, windowClass.lpszClassName, L"Quarters", WS_OVERLAPPEDWINDOW, 60, 60, 240, 180,
                                    nullptr, nullptr, windowClass.hInstance, nullptr);
        ::ShowWindow(FWindow, SW_SHOWNORMAL);
        ::SetForegroundWindow(FWindow);
        ::UpdateWindow(FWindow);
        PumpPendingMessages();
    }
    ~QuarterWindow() { ::DestroyWindow(FWindow); }
    HWND Handle() const { return FWindow; }

    // The client's offset inside the window rectangle.
    POINT ClientOrigin() const {
        RECT window{};
        ::GetWindowRect(FWindow, &window);
        POINT origin{0, 0};
        ::ClientToScreen(FWindow, &origin);
        return POINT{origin.x - window.left, origin.y - window.top};
    }
    PixelImage ExpectedClient() const {
        RECT client{};
        ::GetClientRect(FWindow, &client);
        PixelImage image(client.right, client.bottom);
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                image.Set(x, y, kQuarters[(x >= client.right / 2 ? 1 : 0) + (y >= client.bottom / 2 ? 2 : 0)]);
        return image;
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_ERASEBKGND) return 1;
        if (message == WM_PAINT || message == WM_PRINTCLIENT) {
            PAINTSTRUCT paint{};
            HDC dc = message == WM_PAINT ? ::BeginPaint(window, &paint) : reinterpret_cast<HDC>(wParam);
            RECT client{};
            ::GetClientRect(window, &client);
            for (int quarter = 0; quarter < 4; ++quarter) {
                const RECT part{quarter % 2 ? client.right / 2 : 0, quarter / 2 ? client.bottom / 2 : 0,
                                quarter % 2 ? client.right : client.right / 2,
                                quarter / 2 ? client.bottom : client.bottom / 2};
                const win::BrushHandle brush(::CreateSolidBrush(kQuarters[quarter]));
                ::FillRect(dc, &part, brush.get());
            }
            if (message == WM_PAINT) ::EndPaint(window, &paint);
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    HWND FWindow = nullptr;
};

TEST(Capture, WholeWindowFromTheScreenAndThroughPrinting) {
    QuarterWindow window;
    RECT rect{};
    ::GetWindowRect(window.Handle(), &rect);
    const PixelImage expected = window.ExpectedClient();
    // The screen shows the client once the window is painted and in front.
    PixelImage screen;
    const DWORD start = ::GetTickCount();
    do {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        PumpPendingMessages();
        screen = CaptureWindowFromScreen(window.Handle());
    } while (!ImageMatchesAt(screen, window.ClientOrigin(), expected, "screen", {0, CLR_INVALID, 8, false}) &&
             ::GetTickCount() - start < 20000);
    EXPECT_EQ(screen.Width(), rect.right - rect.left);
    EXPECT_EQ(screen.Height(), rect.bottom - rect.top);
    EXPECT_TRUE(ImageMatchesAt(screen, window.ClientOrigin(), expected, "screen client"));

    // Printed: the client lands at its place inside the window rectangle.
    const PixelImage printed = CaptureWindowByPrint(window.Handle());
    EXPECT_EQ(printed.Width(), rect.right - rect.left);
    EXPECT_EQ(printed.Height(), rect.bottom - rect.top);
    EXPECT_TRUE(ImageMatchesAt(printed, window.ClientOrigin(), expected, "printed client"));
}

TEST(SkinImages, BundledPackageMembersDecodeAndItsDefinitionReads) {
    SkinPackageImages skin(BundledSkinPackage(L"default"));
    ASSERT_TRUE(skin.Loaded()) << "no default.skn beside the program";
    EXPECT_EQ(skin.Value("Personality", "Top"), "frametop.bmp");
    EXPECT_EQ(skin.Integer("Personality", "TopFrame"), 2);
    const PixelImage top = skin.BitmapOf("Personality", "Top");
    const std::vector<uint8_t> bytes = skin.MemberBytes("FRAMETOP.BMP");
    ASSERT_GE(bytes.size(), 26u);
    const auto header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes.data() + sizeof(BITMAPFILEHEADER));
    EXPECT_EQ(top.Width(), header->biWidth);
    EXPECT_EQ(top.Height(), std::abs(header->biHeight));
    EXPECT_TRUE(skin.Member("no-such.bmp").Empty());
    EXPECT_FALSE(SkinPackageImages(std::vector<uint8_t>{1, 2, 3}).Loaded());
}

TEST(SkinImages, CellsStretchesAndNineSlicesFollowTheCompositionRules) {
    const PixelImage source = CodedImage(22, 9);  // two frames of 11 x 9
    const RECT cell = FrameCellOf(source, 2, 2, false);
    EXPECT_TRUE(EqualRect(&cell, std::array<RECT, 1>{RECT{11, 0, 22, 9}}.data()));
    const RECT stacked = FrameCellOf(CodedImage(5, 10), 3, 3, true);
    EXPECT_TRUE(EqualRect(&stacked, std::array<RECT, 1>{RECT{0, 6, 5, 9}}.data()));

    const PixelImage doubled = Stretched(source, RECT{0, 0, 2, 1}, 4, 2);
    EXPECT_EQ(doubled.At(0, 0), Coded(0, 0));
    EXPECT_EQ(doubled.At(1, 1), Coded(0, 0));
    EXPECT_EQ(doubled.At(3, 0), Coded(1, 0));

    // Margins 2, 3, 4, 1 of the second frame into 30 x 20: corners 1:1, edges from their own strips.
    const int w = 30, h = 20;
    const PixelImage nine = NineSliced(source, cell, RECT{2, 3, 4, 1}, w, h);
    EXPECT_EQ(nine.At(0, 0), Coded(11, 0));
    EXPECT_EQ(nine.At(1, 2), Coded(12, 2));
    EXPECT_EQ(nine.At(w - 1, 0), Coded(21, 0));
    EXPECT_EQ(nine.At(w - 4, h - 1), Coded(18, 8));
    EXPECT_EQ(nine.At(0, h - 1), Coded(11, 8));
    for (int y = 3; y < h - 1; ++y) EXPECT_EQ(GetRValue(nine.At(0, y)), GetRValue(Coded(11, 0))) << y;
    // A tiled centre repeats its 5 x 5 tile from the centre's top-left, clipped at the right margin.
    const PixelImage tiled = NineSliced(source, cell, RECT{2, 3, 4, 1}, w, h, true);
    for (int x = 2; x < w - 4; ++x) EXPECT_EQ(tiled.At(x, 3), Coded(13 + (x - 2) % 5, 3)) << x;
    EXPECT_EQ(tiled.At(w - 4, 3), Coded(18, 3));
    // Too narrow for both side margins: a plain stretch across.
    const PixelImage narrow = NineSliced(source, cell, RECT{2, 3, 4, 1}, 5, h);
    EXPECT_TRUE(narrow.Crop(RECT{0, 0, 5, 3}) == Stretched(source, RECT{11, 0, 22, 3}, 5, 3));
    EXPECT_FALSE(narrow.Crop(RECT{0, 0, 5, 3}) ==
                 NineSliced(source, cell, RECT{2, 3, 2, 1}, 5, h).Crop(RECT{0, 0, 5, 3}))
        << "margins that fit are kept";
}

}  // namespace
