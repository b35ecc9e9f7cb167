#include "gallery/GalleryForm.h"

#include <windows.h>

#include <commdlg.h>

#include "framework/controls/Application.h"
#include "framework/graphics/ImageList.h"
#include "framework/rtl/Streams.h"
#include "framework/win/ResourceData.h"
#include "gallery/GalleryWindows.h"

TGalleryForm* GalleryForm = nullptr;

namespace {

// The graphite package, an RCDATA resource of the program (Gallery.rc).
constexpr wchar_t kGraphiteResource[] = L"GRAPHITESKIN";
constexpr char kDefaultSkinName[] = "default";
constexpr char kGraphiteSkinName[] = "graphite";
constexpr char kSkinOffName[] = "off";
// The command line's switches (UseCommandLine).
constexpr char kSkinSwitch[] = "--skin";
constexpr char kPageSwitch[] = "--page";

// Page selector buttons: stacked in PagesBox below its caption.
constexpr int32_t kSelectorLeft = 10;
constexpr int32_t kSelectorTop = 20;
constexpr int32_t kSelectorWidth = 146;
constexpr int32_t kSelectorHeight = 25;
constexpr int32_t kSelectorStep = 28;
// The menus' pictures.
constexpr int32_t kMenuGlyphSize = 16;

// Lines of the Basic page's memo and list box: several times what they show.
constexpr int32_t kBasicLines = 40;

std::string AnsiOf(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string ansi(size_t(size > 0 ? size : 0), '\0');
    if (size > 0) ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), int(text.size()), ansi.data(), size, nullptr, nullptr);
    return ansi;
}

std::wstring FileNameOf(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

}  // namespace

QUIRN_PUBLISH(TGalleryForm, p) {
    p.Field("SideBar", &TGalleryForm::SideBar);
    p.Field("SkinBox", &TGalleryForm::SkinBox);
    p.Field("DefaultSkinButton", &TGalleryForm::DefaultSkinButton);
    p.Field("GraphiteSkinButton", &TGalleryForm::GraphiteSkinButton);
    p.Field("FileSkinButton", &TGalleryForm::FileSkinButton);
    p.Field("SkinOffButton", &TGalleryForm::SkinOffButton);
    p.Field("WindowsBox", &TGalleryForm::WindowsBox);
    p.Field("ToolWindowButton", &TGalleryForm::ToolWindowButton);
    p.Field("SizeToolWindowButton", &TGalleryForm::SizeToolWindowButton);
    p.Field("DialogButton", &TGalleryForm::DialogButton);
    p.Field("MessageBoxButton", &TGalleryForm::MessageBoxButton);
    p.Field("PagesBox", &TGalleryForm::PagesBox);
    p.Field("PageArea", &TGalleryForm::PageArea);
    p.Field("FramePage", &TGalleryForm::FramePage);
    p.Field("FrameLabel", &TGalleryForm::FrameLabel);
    p.Field("SkinInfo", &TGalleryForm::SkinInfo);
    p.Field("TextPage", &TGalleryForm::TextPage);
    p.Field("NameLabel", &TGalleryForm::NameLabel);
    p.Field("SampleEdit", &TGalleryForm::SampleEdit);
    p.Field("ReadOnlyEdit", &TGalleryForm::ReadOnlyEdit);
    p.Field("SampleMemo", &TGalleryForm::SampleMemo);
    p.Field("ButtonPage", &TGalleryForm::ButtonPage);
    p.Field("NormalButton", &TGalleryForm::NormalButton);
    p.Field("DefaultButton", &TGalleryForm::DefaultButton);
    p.Field("DisabledButton", &TGalleryForm::DisabledButton);
    p.Field("BasicPage", &TGalleryForm::BasicPage);
    p.Field("BasicNormalButton", &TGalleryForm::BasicNormalButton);
    p.Field("BasicDefaultButton", &TGalleryForm::BasicDefaultButton);
    p.Field("BasicDisabledButton", &TGalleryForm::BasicDisabledButton);
    p.Field("BorderEdit", &TGalleryForm::BorderEdit);
    p.Field("FlatEdit", &TGalleryForm::FlatEdit);
    p.Field("BasicMemo", &TGalleryForm::BasicMemo);
    p.Field("BasicList", &TGalleryForm::BasicList);
    p.Field("BasicGroup", &TGalleryForm::BasicGroup);
    p.Field("BasicGroupLabel", &TGalleryForm::BasicGroupLabel);
    p.Field("BasicGroupButton", &TGalleryForm::BasicGroupButton);
    p.Field("BasicPanel", &TGalleryForm::BasicPanel);
    p.Field("PanelStatusBar", &TGalleryForm::PanelStatusBar);
    p.Field("SimpleStatusBar", &TGalleryForm::SimpleStatusBar);
    p.Field("StatusBar1", &TGalleryForm::StatusBar1);
    p.Field("SkinData1", &TGalleryForm::SkinData1);
    p.Method("FormCreate", &TGalleryForm::FormCreate);
    p.Method("DefaultSkinButtonClick", &TGalleryForm::DefaultSkinButtonClick);
    p.Method("GraphiteSkinButtonClick", &TGalleryForm::GraphiteSkinButtonClick);
    p.Method("FileSkinButtonClick", &TGalleryForm::FileSkinButtonClick);
    p.Method("SkinOffButtonClick", &TGalleryForm::SkinOffButtonClick);
    p.Method("ToolWindowButtonClick", &TGalleryForm::ToolWindowButtonClick);
    p.Method("SizeToolWindowButtonClick", &TGalleryForm::SizeToolWindowButtonClick);
    p.Method("DialogButtonClick", &TGalleryForm::DialogButtonClick);
    p.Method("MessageBoxButtonClick", &TGalleryForm::MessageBoxButtonClick);
    p.Method("PageButtonClick", &TGalleryForm::PageButtonClick);
}

void TGalleryForm::FormCreate(TObject*) {
    TMemoryStream& stored = SkinData1->SkinStream();
    if (stored.Memory()) FDefaultPackage.assign(stored.Memory(), stored.Memory() + stored.Size());
    FillBasicPage();
    BuildPageSelector();
    BuildMenus();
    ShowPage(0);
    ShowSkinState(SkinData1->FSkinLoading ? std::string("no usable skin") : std::string(kDefaultSkinName));
}

void TGalleryForm::BuildPageSelector() {
    int32_t page = 0;
    for (int32_t i = 0; i < PageArea->ControlCount(); ++i) {
        auto* box = dynamic_cast<TGroupBox*>(PageArea->Controls(i));
        if (!box) continue;
        auto* selector = new TButton(this);
        selector->SetParent(PagesBox);
        selector->SetBounds(kSelectorLeft, kSelectorTop + page * kSelectorStep, kSelectorWidth, kSelectorHeight);
        selector->SetCaption(box->Caption());
        selector->SetTag(page++);
        selector->SetOnClick(TNotifyEvent(this, &TGalleryForm::PageButtonClick));
    }
}

void TGalleryForm::FillBasicPage() {
    for (int32_t line = 1; line <= kBasicLines; ++line) {
        const std::string number = std::to_string(line);
        BasicMemo->Lines()->Add("Line " + number + " of the memo, long enough to scroll it sideways as well");
        BasicList->Items()->Add("Item " + number + " of the list box, wider than the box");
    }
}

void TGalleryForm::ShowPage(int32_t index) {
    int32_t page = 0;
    for (int32_t i = 0; i < PageArea->ControlCount(); ++i) {
        auto* box = dynamic_cast<TGroupBox*>(PageArea->Controls(i));
        if (box) box->SetVisible(page++ == index);
    }
}

void TGalleryForm::UseCommandLine(const std::vector<std::string>& arguments) {
    for (size_t i = 0; i + 1 < arguments.size(); ++i) {
        const std::string& value = arguments[i + 1];
        if (arguments[i] == kSkinSwitch) {
            if (value == kGraphiteSkinName) GraphiteSkinButtonClick(this);
            if (value == kSkinOffName) SkinOffButtonClick(this);
        } else if (arguments[i] == kPageSwitch) {
            int32_t page = 0;
            for (int32_t c = 0; c < PageArea->ControlCount(); ++c) {
                auto* box = dynamic_cast<TGroupBox*>(PageArea->Controls(c));
                if (!box) continue;
                if (box->Caption() == value) ShowPage(page);
                ++page;
            }
        }
    }
}

void TGalleryForm::BuildMenus() {
    // Pictures for the items: squares of four colours.
    auto* images = new TImageList(this, kMenuGlyphSize, kMenuGlyphSize);
    for (TColor colour : {TColor(0x3050D0), TColor(0x30A040), TColor(0xD07020), TColor(0x9030A0)}) {
        TBitmap glyph(kMenuGlyphSize, kMenuGlyphSize, pf24bit);
        glyph.Canvas().Brush().SetColor(clFuchsia);
        glyph.Canvas().FillRect(RECT{0, 0, kMenuGlyphSize, kMenuGlyphSize});
        glyph.Canvas().Brush().SetColor(colour);
        glyph.Canvas().FillRect(RECT{2, 2, kMenuGlyphSize - 2, kMenuGlyphSize - 2});
        images->AddMasked(glyph, clFuchsia);
    }
    auto add = [this](TMenuItem* parent, const std::string& caption, TNotifyEvent click = {}) {
        auto* item = new TMenuItem(this);
        item->SetCaption(caption);
        item->SetOnClick(click);
        parent->Add(item);
        return item;
    };
    MainMenu = new TMainMenu(this);
    MainMenu->SetImages(images);
    TMenuItem* skin = add(MainMenu->Items(), "&Skin");
    TMenuItem* useDefault = add(skin, "&Default skin", TNotifyEvent(this, &TGalleryForm::DefaultSkinButtonClick));
    useDefault->SetImageIndex(0);
    useDefault->SetShortCut(ShortCut('1', TShiftState{ssCtrl}));
    TMenuItem* useGraphite = add(skin, "&Graphite skin", TNotifyEvent(this, &TGalleryForm::GraphiteSkinButtonClick));
    useGraphite->SetImageIndex(1);
    useGraphite->SetShortCut(ShortCut('2', TShiftState{ssCtrl}));
    add(skin, "Skin &file...", TNotifyEvent(this, &TGalleryForm::FileSkinButtonClick));
    add(skin, "Skin &off", TNotifyEvent(this, &TGalleryForm::SkinOffButtonClick));
    add(skin, "-");
    TMenuItem* close = add(skin, "&Close", TNotifyEvent(this, &TGalleryForm::CloseClick));
    close->SetShortCut(ShortCut(VK_F4, TShiftState{ssAlt}));

    TMenuItem* windows = add(MainMenu->Items(), "&Windows");
    add(windows, "&Tool window", TNotifyEvent(this, &TGalleryForm::ToolWindowButtonClick))->SetImageIndex(2);
    add(windows, "&Sizeable tool window", TNotifyEvent(this, &TGalleryForm::SizeToolWindowButtonClick));
    add(windows, "&Dialog", TNotifyEvent(this, &TGalleryForm::DialogButtonClick));
    add(windows, "-");
    add(windows, "&Message box", TNotifyEvent(this, &TGalleryForm::MessageBoxButtonClick))->SetImageIndex(3);

    TMenuItem* view = add(MainMenu->Items(), "&View");
    TMenuItem* pages = add(view, "&Page");
    for (int32_t i = 0, page = 0; i < PageArea->ControlCount(); ++i) {
        auto* box = dynamic_cast<TGroupBox*>(PageArea->Controls(i));
        if (!box) continue;
        TMenuItem* item = add(pages, box->Caption(), TNotifyEvent(this, &TGalleryForm::PageMenuClick));
        item->SetTag(page);
        item->SetRadioItem(true);
        item->SetAutoCheck(true);
        item->SetChecked(page++ == 0);
    }
    TMenuItem* status = add(view, "&Status bar");
    status->SetAutoCheck(true);
    status->SetChecked(true);
    add(view, "-");
    add(view, "&Zoom (not available)")->SetEnabled(false);
    CounterItem = add(view, "Clicked &0 times", TNotifyEvent(this, &TGalleryForm::CounterClick));

    add(MainMenu->Items(), "&Refresh", TNotifyEvent(this, &TGalleryForm::DefaultSkinButtonClick));
    SetMenu(MainMenu);

    // Right click on the pages: the same page choice and the counter.
    PagePopup = new TPopupMenu(this);
    PagePopup->SetImages(images);
    for (int32_t i = 0, page = 0; i < PageArea->ControlCount(); ++i) {
        auto* box = dynamic_cast<TGroupBox*>(PageArea->Controls(i));
        if (!box) continue;
        add(PagePopup->Items(), "Show " + box->Caption(), TNotifyEvent(this, &TGalleryForm::PageMenuClick))
            ->SetTag(page++);
    }
    add(PagePopup->Items(), "-");
    add(PagePopup->Items(), "&Count", TNotifyEvent(this, &TGalleryForm::CounterClick))->SetImageIndex(1);
    add(PagePopup->Items(), "&Disabled")->SetEnabled(false);
    PageArea->SetPopupMenu(PagePopup);
}

void TGalleryForm::PageMenuClick(TObject* sender) {
    if (auto* item = dynamic_cast<TMenuItem*>(sender)) ShowPage(item->Tag());
}

void TGalleryForm::CounterClick(TObject*) {
    // A dynamic item: its caption changes from its own click.
    ++FCounterClicks;
    CounterItem->SetCaption("Clicked &" + std::to_string(FCounterClicks) + " times");
}

void TGalleryForm::CloseClick(TObject*) { Close(); }

void TGalleryForm::PageButtonClick(TObject* sender) {
    if (auto* selector = dynamic_cast<TButton*>(sender)) ShowPage(selector->Tag());
}

void TGalleryForm::UsePackage(const std::vector<uint8_t>& package, const std::string& name) {
    TMemoryStream& stream = SkinData1->SkinStream();
    stream.Clear();
    if (!package.empty()) stream.Write(package.data(), int32_t(package.size()));
    stream.SetPosition(0);
    const bool loaded = SkinData1->LoadSkinPackage();
    // The manager repaints the skinned windows with the new skin (skin changed), or skins them (on).
    SkinData1->ApplySkinFile();
    if (loaded && !SkinData1->Active()) SkinData1->SetActive(true);
    ShowSkinState(loaded ? name : "no usable skin in " + name);
}

void TGalleryForm::DefaultSkinButtonClick(TObject*) { UsePackage(FDefaultPackage, kDefaultSkinName); }

void TGalleryForm::GraphiteSkinButtonClick(TObject*) {
    UsePackage(win::RcDataBytes(kGraphiteResource), kGraphiteSkinName);
}

void TGalleryForm::FileSkinButtonClick(TObject*) {
    wchar_t path[MAX_PATH]{};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = L"Skin packages (*.skn)\0*.skn\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = L"Open a skin package";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!::GetOpenFileNameW(&dialog)) return;  // cancelled: the skin stays as it is
    // A missing or damaged package leaves the component without a usable skin (the windows go back to
    // the system's look); the caption says so.
    SkinData1->SetSkinFile(AnsiOf(path));
    const std::string name = AnsiOf(FileNameOf(path));
    if (!SkinData1->FSkinLoading && !SkinData1->Active()) SkinData1->SetActive(true);
    ShowSkinState(SkinData1->FSkinLoading ? "no usable skin in " + name : name);
}

void TGalleryForm::SkinOffButtonClick(TObject*) {
    SkinData1->SetActive(false);
    ShowSkinState(kSkinOffName);
}

void TGalleryForm::ShowSkinState(const std::string& name) {
    SetCaption(std::string(GalleryTitle) + " - " + name);
    StatusBar1->SetSimpleText("Skin: " + name);
    SkinInfo->Lines()->Clear();
    SkinInfo->Lines()->Add("Skin in use: " + name);
    SkinInfo->Lines()->Add("Skin name: " + (SkinData1->FSkinLoading ? std::string("(none)") : SkinData1->FSkinName));
    SkinInfo->Lines()->Add("Package: " + std::to_string(SkinData1->SkinStream().Size()) + " bytes");
    SkinInfo->Lines()->Add(std::string("Skinning: ") + (SkinData1->Active() ? "on" : "off"));
}

void TGalleryForm::ToolWindowButtonClick(TObject*) {
    if (!FToolForm) Application->CreateForm(FToolForm);
    FToolForm->Show();
}

void TGalleryForm::SizeToolWindowButtonClick(TObject*) {
    if (!FSizeToolForm) {
        Application->CreateForm(FSizeToolForm);
        FSizeToolForm->SetBorderStyle(bsSizeToolWin);
        FSizeToolForm->SetCaption("Sizeable tool window");
    }
    FSizeToolForm->Show();
}

void TGalleryForm::DialogButtonClick(TObject*) {
    if (!FDialogForm) Application->CreateForm(FDialogForm);
    FDialogForm->Show();
}

void TGalleryForm::MessageBoxButtonClick(TObject*) {
    ::MessageBoxW(Handle(), L"A message box of a skinned program: the system's own dialog, skinned through its window.",
                  L"Message box", MB_OK | MB_ICONINFORMATION);
}
