// SampleForm.h: a small form of the framework read from its text form
// (SampleForm.frm): a group box with a label, an edit and a memo, a default
// button, a status bar and a main menu whose item shares the button's handler.
#pragma once

#include "framework/controls/Button.h"
#include "framework/controls/Edit.h"
#include "framework/controls/Form.h"
#include "framework/controls/GroupBox.h"
#include "framework/controls/Label.h"
#include "framework/controls/Memo.h"
#include "framework/controls/Menu.h"
#include "framework/controls/StatusBar.h"

class TSampleForm : public TForm {
    QUIRN_CLASS(TSampleForm, TForm)
public:
    explicit TSampleForm(TComponent* AOwner) : TForm(AOwner) {}

    TGroupBox* GroupBox1 = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* Edit1 = nullptr;
    TMemo* Memo1 = nullptr;
    TButton* Button1 = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* File1 = nullptr;
    TMenuItem* Apply1 = nullptr;
    int Applied = 0;

    // Copies the edit's text into the status bar.
    void Button1Click(TObject* Sender);
};
