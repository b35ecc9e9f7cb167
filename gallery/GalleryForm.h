// GalleryForm.h: TGalleryForm, the skin gallery's main window, where a skin designer sees every element
// the skin draws: switches for the skin (the embedded default, the bundled graphite skin, a package file,
// off), buttons that open each kind of secondary window and a message box, and pages of controls chosen
// from a list made of PageArea's group boxes. Its caption tells the skin in use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/controls/Button.h"
#include "framework/controls/Edit.h"
#include "framework/controls/Form.h"
#include "framework/controls/GroupBox.h"
#include "framework/controls/Label.h"
#include "framework/controls/ListBox.h"
#include "framework/controls/Memo.h"
#include "framework/controls/Panel.h"
#include "framework/controls/Menu.h"
#include "framework/controls/StatusBar.h"
#include "skin/data/PellixData.h"

class TToolForm;
class TDialogForm;

// The main form's caption: the title, then " - " and the skin in use.
inline constexpr char GalleryTitle[] = "Quirn Skin Gallery";

class TGalleryForm : public TForm {
    QUIRN_CLASS(TGalleryForm, TForm)
public:
    explicit TGalleryForm(TComponent* aOwner) : TForm(aOwner) {}

    TGroupBox* SideBar = nullptr;
    TGroupBox* SkinBox = nullptr;
    TButton* DefaultSkinButton = nullptr;
    TButton* GraphiteSkinButton = nullptr;
    TButton* FileSkinButton = nullptr;
    TButton* SkinOffButton = nullptr;
    TGroupBox* WindowsBox = nullptr;
    TButton* ToolWindowButton = nullptr;
    TButton* SizeToolWindowButton = nullptr;
    TButton* DialogButton = nullptr;
    TButton* MessageBoxButton = nullptr;
    TGroupBox* PagesBox = nullptr;
    TGroupBox* PageArea = nullptr;
    TGroupBox* FramePage = nullptr;
    TLabel* FrameLabel = nullptr;
    TMemo* SkinInfo = nullptr;
    TGroupBox* TextPage = nullptr;
    TLabel* NameLabel = nullptr;
    TEdit* SampleEdit = nullptr;
    TEdit* ReadOnlyEdit = nullptr;
    TMemo* SampleMemo = nullptr;
    TGroupBox* ButtonPage = nullptr;
    TButton* NormalButton = nullptr;
    TButton* DefaultButton = nullptr;
    TButton* DisabledButton = nullptr;
    // The basic controls together, each in the looks a skin gives it.
    TGroupBox* BasicPage = nullptr;
    TButton* BasicNormalButton = nullptr;
    TButton* BasicDefaultButton = nullptr;
    TButton* BasicDisabledButton = nullptr;
    TEdit* BorderEdit = nullptr;
    TEdit* FlatEdit = nullptr;
    TMemo* BasicMemo = nullptr;
    TListBox* BasicList = nullptr;
    TGroupBox* BasicGroup = nullptr;
    TLabel* BasicGroupLabel = nullptr;
    TButton* BasicGroupButton = nullptr;
    TPanel* BasicPanel = nullptr;
    TStatusBar* PanelStatusBar = nullptr;
    TStatusBar* SimpleStatusBar = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TSkinData* SkinData1 = nullptr;

    void FormCreate(TObject* sender);
    // The skin switches.
    void DefaultSkinButtonClick(TObject* sender);
    void GraphiteSkinButtonClick(TObject* sender);
    void FileSkinButtonClick(TObject* sender);
    void SkinOffButtonClick(TObject* sender);
    // The secondary windows.
    void ToolWindowButtonClick(TObject* sender);
    void SizeToolWindowButtonClick(TObject* sender);
    void DialogButtonClick(TObject* sender);
    void MessageBoxButtonClick(TObject* sender);
    // A page selector button: shows the page its Tag numbers.
    void PageButtonClick(TObject* sender);

    // Shows page index of PageArea and hides the others.
    void ShowPage(int32_t index);
    // The start-up choices of the command line, for screenshots: "--skin default|graphite|off" and
    // "--page CAPTION" (a page's caption without its accelerator mark). Unknown words are ignored.
    void UseCommandLine(const std::vector<std::string>& arguments);

    // The main menu (every kind of item the skin draws) and the page area's popup menu.
    TMainMenu* MainMenu = nullptr;
    TPopupMenu* PagePopup = nullptr;
    TMenuItem* CounterItem = nullptr;  // its caption counts its clicks
    void PageMenuClick(TObject* sender);
    void CounterClick(TObject* sender);
    void CloseClick(TObject* sender);

private:
    // Loads a package into the skin data (as if stored in the form) and switches the skin on.
    void UsePackage(const std::vector<uint8_t>& package, const std::string& name);
    // Tells the skin in use: caption, status bar and the frame page's description.
    void ShowSkinState(const std::string& name);
    void BuildPageSelector();
    // Gives the Basic page's memo and list box more lines, and longer ones, than they show.
    void FillBasicPage();
    void BuildMenus();
    int32_t FCounterClicks = 0;

    std::vector<uint8_t> FDefaultPackage;  // the package the form carries, to come back to
    TToolForm* FToolForm = nullptr;
    TToolForm* FSizeToolForm = nullptr;
    TDialogForm* FDialogForm = nullptr;
};

extern TGalleryForm* GalleryForm;
