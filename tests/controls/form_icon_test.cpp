// A form's Icon under Wine: its .ico bytes travel through the form stream as
// Icon.Data, the window gets a big and a small icon made from the images that
// fit those sizes, changes reach the window, an empty icon gives the
// application's icon, and no GDI or USER object is left behind.
#include "framework/controls/WinApi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GdiObjectCounter.h"
#include "IcoWriter.h"
#include "MessagePump.h"
#include "TextFormReader.h"
#include "framework/controls/Application.h"
#include "framework/controls/Form.h"
#include "framework/core/Streaming.h"
#include "framework/core/TextForm.h"
#include "framework/win/DeviceContext.h"

namespace {

constexpr COLORREF kSmallColour = RGB(0xE0, 0x20, 0x20);
constexpr COLORREF kBigColour = RGB(0x20, 0x40, 0xE0);
constexpr COLORREF kLargerColour = RGB(0x20, 0xB0, 0x40);

// Images at the small and large system sizes and one larger, each its own colour.
std::vector<uint8_t> ThreeSizeIcon() {
    return icotest::SolidIcoFile({{GetSystemMetrics(SM_CXSMICON), kSmallColour},
                                  {GetSystemMetrics(SM_CXICON), kBigColour},
                                  {48, kLargerColour}});
}

std::vector<uint8_t> IconBytes(TIcon& icon) {
    TMemoryStream stream;
    icon.SaveToStream(stream);
    return {stream.Memory(), stream.Memory() + stream.Size()};
}

void LoadIconBytes(TIcon& icon, const std::vector<uint8_t>& bytes) {
    TReadOnlyMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
    icon.LoadFromStream(stream);
}

HICON WindowIcon(HWND window, WPARAM which) {
    return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
}

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return {};
    win::BitmapHandle colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap{};
    GetObjectW(colour.get(), sizeof bitmap, &bitmap);
    return {bitmap.bmWidth, bitmap.bmHeight};
}

// The icon drawn on white at its own size; the colour at its centre.
COLORREF CentreColour(HICON icon) {
    const SIZE size = IconSize(icon);
    win::ScreenDC screen;
    win::MemoryDC dc(screen.get());
    win::BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    const win::SelectedObject selected(dc.get(), bitmap.get());
    const RECT all{0, 0, size.cx, size.cy};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc.get(), 0, 0, icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
    return GetPixel(dc.get(), size.cx / 2, size.cy / 2);
}

std::string IconFormText(const std::vector<uint8_t>& icon) {
    return "object IconForm: TForm\n  Caption = 'Icon'\n  Icon.Data = {" + icotest::HexDigits(icon) + "}\nend";
}

TEST(FormIcon, DataSurvivesTheFormStreamByteForByte) {
    const std::vector<uint8_t> bytes = ThreeSizeIcon();
    TForm source(nullptr);
    LoadIconBytes(*source.Icon(), bytes);
    TMemoryStream stream;
    WriteComponent(stream, &source);
    stream.SetPosition(0);
    const std::string text = ObjectBinaryToText(stream);
    EXPECT_NE(text.find("Icon.Data = {"), std::string::npos) << text;

    stream.SetPosition(0);
    TForm copy(nullptr);
    ReadComponentRes(stream, &copy);
    EXPECT_EQ(IconBytes(*copy.Icon()), bytes);
    ASSERT_EQ(copy.Icon()->Images().size(), 3u);
    EXPECT_EQ(copy.Icon()->Images()[2].Width, 48);

    // An empty icon is not stored.
    TForm plain(nullptr);
    TMemoryStream empty;
    WriteComponent(empty, &plain);
    empty.SetPosition(0);
    EXPECT_EQ(ObjectBinaryToText(empty).find("Icon"), std::string::npos);

    // Assign copies; nullptr empties.
    plain.SetIcon(copy.Icon());
    EXPECT_EQ(IconBytes(*plain.Icon()), bytes);
    plain.SetIcon(nullptr);
    EXPECT_TRUE(plain.Icon()->Empty());
}

TEST(FormIcon, TextFormIconIsShownAtTheBigAndSmallSizes) {
    TForm* form = ReadTextForm<TForm>(IconFormText(ThreeSizeIcon()));
    form->Show();
    PumpPendingMessages();
    const HICON bigIcon = WindowIcon(form->Handle(), ICON_BIG);
    const HICON smallIcon = WindowIcon(form->Handle(), ICON_SMALL);
    ASSERT_NE(bigIcon, nullptr);
    ASSERT_NE(smallIcon, nullptr);
    EXPECT_NE(bigIcon, Application->IconHandle());
    const SIZE bigSize = IconSize(bigIcon);
    const SIZE smallSize = IconSize(smallIcon);
    EXPECT_EQ(bigSize.cx, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(bigSize.cy, GetSystemMetrics(SM_CYICON));
    EXPECT_EQ(smallSize.cx, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(smallSize.cy, GetSystemMetrics(SM_CYSMICON));
    // Each size comes from its own image, not from scaling another.
    EXPECT_EQ(CentreColour(bigIcon), kBigColour);
    EXPECT_EQ(CentreColour(smallIcon), kSmallColour);
    FreeForm(form);
}

TEST(FormIcon, ChangesReachTheWindowAndAnEmptyIconFallsBackToTheApplications) {
    TForm* form = ReadTextForm<TForm>("object IconForm: TForm\nend");
    form->Show();
    PumpPendingMessages();
    // No form icon: the application's.
    EXPECT_EQ(WindowIcon(form->Handle(), ICON_BIG), Application->IconHandle());
    EXPECT_EQ(WindowIcon(form->Handle(), ICON_SMALL), Application->IconHandle());

    LoadIconBytes(*form->Icon(), ThreeSizeIcon());
    EXPECT_EQ(CentreColour(WindowIcon(form->Handle(), ICON_SMALL)), kSmallColour);

    // One larger image only: both sizes are scaled from it.
    LoadIconBytes(*form->Icon(), icotest::SolidIcoFile({{48, kLargerColour}}));
    EXPECT_EQ(CentreColour(WindowIcon(form->Handle(), ICON_BIG)), kLargerColour);
    EXPECT_EQ(CentreColour(WindowIcon(form->Handle(), ICON_SMALL)), kLargerColour);
    EXPECT_EQ(IconSize(WindowIcon(form->Handle(), ICON_SMALL)).cx, GetSystemMetrics(SM_CXSMICON));

    // An icon given as a handle is shown too.
    TIcon adopted;
    LoadIconBytes(adopted, ThreeSizeIcon());
    form->Icon()->SetHandle(CopyIcon(adopted.Handle()));
    EXPECT_EQ(CentreColour(WindowIcon(form->Handle(), ICON_BIG)), kBigColour);
    EXPECT_EQ(IconSize(WindowIcon(form->Handle(), ICON_SMALL)).cx, GetSystemMetrics(SM_CXSMICON));

    // A window made again gets the icon again.
    form->SetBorderStyle(bsSingle);
    EXPECT_EQ(CentreColour(WindowIcon(form->Handle(), ICON_BIG)), kBigColour);

    // Bad data empties the icon: the application's comes back.
    EXPECT_THROW(LoadIconBytes(*form->Icon(), {0, 0, 1, 0}), EInvalidGraphic);
    EXPECT_EQ(WindowIcon(form->Handle(), ICON_BIG), Application->IconHandle());
    LoadIconBytes(*form->Icon(), ThreeSizeIcon());
    form->SetIcon(nullptr);
    EXPECT_EQ(WindowIcon(form->Handle(), ICON_SMALL), Application->IconHandle());
    FreeForm(form);
}

TEST(FormIcon, MalformedIconDataNamesTheProperty) {
    try {
        FreeForm(ReadTextForm<TForm>(IconFormText({0, 0, 1, 0, 1, 0})));
        FAIL() << "no error";
    } catch (const EReadError& e) {
        EXPECT_NE(std::string(e.Message()).find("Icon.Data"), std::string::npos) << e.Message();
    }
}

TEST(FormIcon, RepeatedIconChangesLeaveNoGdiOrUserObjectBehind) {
    const std::vector<uint8_t> three = ThreeSizeIcon();
    const std::vector<uint8_t> one = icotest::SolidIcoFile({{48, kLargerColour}});
    FreeForm(ReadTextForm<TForm>(IconFormText(three)));  // classes and caches are made once
    const GdiObjectCounter gdi;
    const DWORD userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    TForm* form = ReadTextForm<TForm>(IconFormText(three));
    form->Show();
    for (int i = 0; i < 20; ++i) {
        LoadIconBytes(*form->Icon(), i % 2 ? three : one);
        if (i % 5 == 0) form->SetIcon(nullptr);
        PumpPendingMessages();
    }
    FreeForm(form);
    for (int i = 0; i < 5; ++i) {
        TForm* shown = ReadTextForm<TForm>(IconFormText(i % 2 ? three : one));
        shown->Show();
        PumpPendingMessages();
        FreeForm(shown);
    }
    EXPECT_EQ(gdi.Leaked(), GdiObjectCounts{}) << gdi.Leaked().ToString();
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userObjects);
}

}  // namespace
