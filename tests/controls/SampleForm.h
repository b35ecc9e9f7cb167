// SampleForm.h: a small form of the framework read from its text form
// (SampleForm.frm): a group box with a label, an edit, a memo and a list box, a
// default button, a panel, a scroll box with content beyond its edge, a status
// bar and a main menu whose item shares the button's handler.
#pragma once

#include "framework/controls/Button.h"
#include "framework/controls/Edit.h"
#include "framework/controls/Form.h"
#include "framework/controls/GroupBox.h"
#include "framework/controls/Label.h"
#include "framework/controls/ListBox.h"
#include "framework/controls/Memo.h"
#include "framework/controls/Menu.h"
#include "framework/controls/Panel.h"
#include "framework/controls/ScrollBox.h"
#include "framework/controls/StatusBar.h"

class TSampleForm : public TForm {
    QUIRN_CLASS(TSampleForm, TForm)
public:
    explicit TSampleForm(TComponent* AOwner) : TForm(AOwner) {}

    TGroupBox* GroupBox1 = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* Edit1 = nullptr;
    TMemo* Memo1 = nullptr;
    TListBox* ListBox1 = nullptr;
    TButton* Button1 = nullptr;
    TPanel* Panel1 = nullptr;
    TScrollBox* ScrollBox1 = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* Edit2 = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* File1 = nullptr;
    TMenuItem* Apply1 = nullptr;
    int Applied = 0;

    // Copies the edit's text into the status bar.
    void Button1Click(TObject* Sender);
};
