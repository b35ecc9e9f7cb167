// Status bar panels on a real common-controls status bar under Wine: panels read
// from a text form reach the window (part edges, texts, bevel flags, alignment),
// run-time changes follow, simple mode switches, the panels survive a streaming
// round trip, and owner-drawn panels are painted by OnDrawPanel.
#include "framework/controls/WinApi.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "TextFormReader.h"
#include "framework/controls/Form.h"
#include "framework/controls/StatusBar.h"
#include "framework/core/Streaming.h"
#include "framework/core/TextForm.h"

// A form whose text publishes a panel-drawing handler and its status bar.
class TPanelsForm : public TForm {
    QUIRN_CLASS(TPanelsForm, TForm)
public:
    explicit TPanelsForm(TComponent* AOwner) : TForm(AOwner) {}
    TStatusBar* StatusBar1 = nullptr;
    std::vector<std::pair<TStatusPanel*, RECT>> Drawn;
    void StatusBar1DrawPanel(TCustomStatusBar* bar, TStatusPanel* panel, RECT rect) {
        Drawn.emplace_back(panel, rect);
        TCanvas* canvas = bar->Canvas();
        canvas->Brush().SetColor(RGBColor(0x10, 0xC0, 0x30));
        canvas->FillRect(rect);
    }
};

QUIRN_PUBLISH(TPanelsForm, p) {
    p.Field("StatusBar1", &TPanelsForm::StatusBar1);
    p.Method("StatusBar1DrawPanel", &TPanelsForm::StatusBar1DrawPanel);
}

namespace {

constexpr const char* kPanelsForm = R"(object PanelsForm: TPanelsForm
  Left = 80
  Top = 80
  Width = 420
  Height = 160
  Caption = 'Panels'
  object StatusBar1: TStatusBar
    Left = 0
    Top = 100
    Width = 400
    Height = 22
    SizeGrip = False
    SimpleText = 'simple'
    OnDrawPanel = StatusBar1DrawPanel
    Panels = <
      item
        Text = 'First'
        Width = 80
      end
      item
        Alignment = taCenter
        Bevel = pbRaised
        Text = 'Second'
        Width = 120
      end
      item
        Alignment = taRightJustify
        Bevel = pbNone
        Text = 'Third'
        Width = 60
      end>
  end
end)";

struct TPartText {
    std::wstring Text;
    WORD Flags = 0;
};

std::vector<int> PartEdges(HWND bar) {
    std::vector<int> edges(TCustomStatusBar::kMaxParts + 1);
    const auto count = SendMessageW(bar, SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    edges.resize(static_cast<size_t>(count));
    return edges;
}

TPartText PartText(HWND bar, int part) {
    const LRESULT info = SendMessageW(bar, SB_GETTEXTLENGTHW, part, 0);
    std::wstring text(LOWORD(info) + 1, L'\0');
    const LRESULT result = SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(result));
    return {text, HIWORD(result)};
}

bool IsSimple(HWND bar) { return SendMessageW(bar, SB_ISSIMPLE, 0, 0) != 0; }

struct StatusPanels : ShownTextForm<TPanelsForm> {
    void SetUp() override {
        ShownTextForm::SetUp();
        bar = form->StatusBar1->Handle();
    }
    std::string FormText() const override { return kPanelsForm; }
    TStatusPanels& Panels() const { return *form->StatusBar1->Panels(); }
    HWND bar = nullptr;
};

TEST_F(StatusPanels, TextFormPanelsReachTheWindow) {
    ASSERT_EQ(Panels().Count(), 3);
    EXPECT_EQ(Panels().Items(1)->Text(), "Second");
    EXPECT_EQ(Panels().Items(1)->Alignment(), taCenter);
    EXPECT_EQ(Panels().Items(2)->Bevel(), pbNone);
    EXPECT_EQ(Panels().Items(0)->Bevel(), pbLowered);
    EXPECT_TRUE(form->StatusBar1->OnDrawPanel());

    EXPECT_FALSE(IsSimple(bar));
    // Right edges add up; the last part reaches the bar's right edge.
    EXPECT_EQ(PartEdges(bar), (std::vector<int>{80, 200, -1}));
    const TPartText first = PartText(bar, 0);
    const TPartText second = PartText(bar, 1);
    const TPartText third = PartText(bar, 2);
    EXPECT_EQ(first.Text, L"First");
    EXPECT_EQ(first.Flags & (SBT_NOBORDERS | SBT_POPOUT), 0);
    EXPECT_EQ(second.Text, L"\tSecond");  // one tab centres
    EXPECT_EQ(second.Flags & (SBT_NOBORDERS | SBT_POPOUT), SBT_POPOUT);
    EXPECT_EQ(third.Text, L"\t\tThird");  // two tabs right-align
    EXPECT_EQ(third.Flags & (SBT_NOBORDERS | SBT_POPOUT), SBT_NOBORDERS);

    // The parts lie where the widths put them.
    RECT part{};
    ASSERT_TRUE(SendMessageW(bar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part)));
    EXPECT_NEAR(part.left, 80, 2);
    EXPECT_NEAR(part.right, 200, 2);
}

TEST_F(StatusPanels, RunTimeChangesReachTheWindow) {
    Panels().Items(0)->SetText("Changed");
    EXPECT_EQ(PartText(bar, 0).Text, L"Changed");
    Panels().Items(0)->SetWidth(50);
    EXPECT_EQ(PartEdges(bar), (std::vector<int>{50, 170, -1}));
    Panels().Items(1)->SetBevel(pbLowered);
    EXPECT_EQ(PartText(bar, 1).Flags & (SBT_NOBORDERS | SBT_POPOUT), 0);
    Panels().Items(2)->SetAlignment(taLeftJustify);
    EXPECT_EQ(PartText(bar, 2).Text, L"Third");
    Panels().Items(0)->SetWidth(-5);  // no negative widths
    EXPECT_EQ(Panels().Items(0)->Width(), 0);
    EXPECT_EQ(PartEdges(bar), (std::vector<int>{0, 120, -1}));

    // Changes inside an update go out together at its end.
    Panels().BeginUpdate();
    Panels().Items(1)->SetText("Batched");
    EXPECT_EQ(PartText(bar, 1).Text, L"\tSecond");
    Panels().EndUpdate();
    EXPECT_EQ(PartText(bar, 1).Text, L"\tBatched");

    // Right-to-left panels swap left and right and read right to left.
    Panels().Items(0)->SetBiDiMode(bdRightToLeft);
    EXPECT_FALSE(Panels().Items(0)->ParentBiDiMode());
    EXPECT_EQ(PartText(bar, 0).Text, L"\t\tChanged");
    EXPECT_EQ(PartText(bar, 0).Flags & SBT_RTLREADING, SBT_RTLREADING);
    Panels().Items(0)->SetParentBiDiMode(true);
    EXPECT_EQ(PartText(bar, 0).Text, L"Changed");
    // Panels that follow the bar change with it.
    form->StatusBar1->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(Panels().Items(1)->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(PartText(bar, 0).Text, L"\t\tChanged");
}

TEST_F(StatusPanels, SimplePanelSwitchesBetweenSimpleTextAndParts) {
    form->StatusBar1->SetSimplePanel(true);
    EXPECT_TRUE(IsSimple(bar));
    EXPECT_EQ(PartText(bar, 0).Text, L"simple");
    form->StatusBar1->SetSimpleText("other");
    EXPECT_EQ(PartText(bar, 0).Text, L"other");
    // Panel changes while simple are kept for later.
    Panels().Items(2)->SetText("Later");
    form->StatusBar1->SetSimplePanel(false);
    EXPECT_FALSE(IsSimple(bar));
    EXPECT_EQ(PartEdges(bar), (std::vector<int>{80, 200, -1}));
    EXPECT_EQ(PartText(bar, 2).Text, L"\t\tLater");
    // Without panels the bar shows its simple text even with SimplePanel off.
    Panels().Clear();
    EXPECT_TRUE(IsSimple(bar));
    EXPECT_EQ(PartText(bar, 0).Text, L"other");
}

TEST_F(StatusPanels, PanelsAddedAndDeletedWhileTheWindowExists) {
    Panels().Delete(1);
    EXPECT_EQ(PartEdges(bar), (std::vector<int>{80, -1}));
    EXPECT_EQ(PartText(bar, 1).Text, L"\t\tThird");

    TStatusPanel* added = Panels().Add();
    EXPECT_EQ(added->Width(), TStatusPanel::kDefaultWidth);
    added->SetText("Added");
    EXPECT_EQ(PartEdges(bar), (std::vector<int>{80, 140, -1}));
    EXPECT_EQ(PartText(bar, 2).Text, L"Added");

    Panels().Insert(0)->SetText("Front");
    EXPECT_EQ(PartEdges(bar), (std::vector<int>{50, 130, 190, -1}));
    EXPECT_EQ(PartText(bar, 0).Text, L"Front");
    EXPECT_EQ(PartText(bar, 1).Text, L"First");

    // A panel moved to another index takes its part along.
    Panels().Items(0)->SetIndex(3);
    EXPECT_EQ(PartText(bar, 3).Text, L"Front");
    EXPECT_EQ(PartText(bar, 0).Text, L"First");

    // Freeing a panel takes it out of the bar.
    delete Panels().Items(3);
    EXPECT_EQ(Panels().Count(), 3);
    EXPECT_EQ(PartEdges(bar).size(), 3u);

    // The window made again gets the panels again.
    form->StatusBar1->SetSizeGrip(true);
    bar = form->StatusBar1->Handle();
    EXPECT_EQ(PartEdges(bar), (std::vector<int>{80, 140, -1}));
    EXPECT_EQ(PartText(bar, 2).Text, L"Added");

    // The common controls take 256 parts; further panels are kept but not shown.
    Panels().BeginUpdate();
    while (Panels().Count() < 300) Panels().Add()->SetWidth(2);
    Panels().EndUpdate();
    EXPECT_EQ(PartEdges(bar).size(), static_cast<size_t>(TCustomStatusBar::kMaxParts));
    Panels().Items(299)->SetText("hidden");
    EXPECT_EQ(Panels().Count(), 300);
}

TEST_F(StatusPanels, PanelsSurviveAStreamingRoundTrip) {
    Panels().Items(0)->SetStyle(psOwnerDraw);
    Panels().Items(1)->SetBiDiMode(bdRightToLeft);
    TMemoryStream stream;
    WriteComponent(stream, form->StatusBar1);

    stream.SetPosition(0);
    const std::string text = ObjectBinaryToText(stream);
    EXPECT_NE(text.find("Panels = <"), std::string::npos) << text;
    EXPECT_NE(text.find("Style = psOwnerDraw"), std::string::npos) << text;
    EXPECT_NE(text.find("BiDiMode = bdRightToLeft"), std::string::npos) << text;
    // Defaults stay out of the stream.
    EXPECT_EQ(text.find("Bevel = pbLowered"), std::string::npos) << text;
    EXPECT_EQ(text.find("ParentBiDiMode = True"), std::string::npos) << text;

    stream.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponent(stream, nullptr));
    auto* copy = ObjectAs<TStatusBar>(read.get());
    ASSERT_NE(copy, nullptr);
    TStatusPanels& panels = *copy->Panels();
    ASSERT_EQ(panels.Count(), 3);
    for (int32_t i = 0; i < 3; ++i) {
        const TStatusPanel& a = *Panels().Items(i);
        const TStatusPanel& b = *panels.Items(i);
        EXPECT_EQ(a.Text(), b.Text()) << i;
        EXPECT_EQ(a.Width(), b.Width()) << i;
        EXPECT_EQ(a.Alignment(), b.Alignment()) << i;
        EXPECT_EQ(a.Bevel(), b.Bevel()) << i;
        EXPECT_EQ(a.Style(), b.Style()) << i;
        EXPECT_EQ(a.BiDiMode(), b.BiDiMode()) << i;
        EXPECT_EQ(a.ParentBiDiMode(), b.ParentBiDiMode()) << i;
    }
    EXPECT_EQ(copy->SimpleText(), "simple");
    EXPECT_FALSE(copy->SizeGrip());
    EXPECT_EQ(panels.GetOwner(), copy);

    // Assign copies the panels.
    TStatusBar other(nullptr);
    other.SetPanels(&Panels());
    ASSERT_EQ(other.Panels()->Count(), 3);
    EXPECT_EQ(other.Panels()->Items(2)->Text(), "Third");
}

TEST_F(StatusPanels, OwnerDrawnPanelsArePaintedByOnDrawPanel) {
    Panels().Items(1)->SetStyle(psOwnerDraw);
    RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpPendingMessages();
    ASSERT_FALSE(form->Drawn.empty());
    EXPECT_EQ(form->Drawn.back().first, Panels().Items(1));
    for (const auto& [panel, rect] : form->Drawn) EXPECT_EQ(panel, Panels().Items(1));

    RECT part{};
    ASSERT_TRUE(SendMessageW(bar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part)));
    HDC dc = GetDC(bar);
    const int middleY = (part.top + part.bottom) / 2;
    EXPECT_EQ(GetPixel(dc, (part.left + part.right) / 2, middleY), RGB(0x10, 0xC0, 0x30));
    // The text panel beside it is not painted by the handler.
    EXPECT_NE(GetPixel(dc, 40, middleY), RGB(0x10, 0xC0, 0x30));
    ReleaseDC(bar, dc);
    // The canvas lent to the handler is handed back.
    EXPECT_FALSE(form->StatusBar1->Canvas()->HandleAllocated());

    // Back to text: the handler is no longer asked.
    Panels().Items(1)->SetStyle(psText);
    form->Drawn.clear();
    RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpPendingMessages();
    EXPECT_TRUE(form->Drawn.empty());
    EXPECT_EQ(PartText(bar, 1).Text, L"\tSecond");
}

TEST(StatusPanelsStreaming, UnknownPanelPropertyIsNamed) {
    const std::string text = R"(object PanelsForm: TPanelsForm
  object StatusBar1: TStatusBar
    Panels = <
      item
        Colour = 3
      end>
  end
end)";
    try {
        delete ReadTextForm<TPanelsForm>(text);
        FAIL() << "no error";
    } catch (const EReadError& e) {
        EXPECT_NE(std::string(e.Message()).find("Colour"), std::string::npos) << e.Message();
        EXPECT_NE(std::string(e.Message()).find("StatusBar1"), std::string::npos) << e.Message();
    }
}

}  // namespace
