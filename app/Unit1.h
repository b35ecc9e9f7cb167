// Unit1.h: TForm1, the tool's main window: the input memo, the lookup and
// quit buttons, the output memo, the publisher link and the status line. Its
// layout comes from the form resource (Unit1.frm).
#pragma once

#include "framework/controls/Button.h"
#include "framework/controls/Edit.h"
#include "framework/controls/Form.h"
#include "framework/controls/GroupBox.h"
#include "framework/controls/Label.h"
#include "framework/controls/Memo.h"
#include "framework/controls/StatusBar.h"
#include "skin/data/PellixData.h"

class TForm1 : public TForm {
    QUIRN_CLASS(TForm1, TForm)
public:
    explicit TForm1(TComponent* aOwner);

    TGroupBox* GroupBox1 = nullptr;
    TMemo* Memo1 = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TMemo* Memo2 = nullptr;
    TEdit* Edit_VER = nullptr;
    TGroupBox* GroupBox3 = nullptr;
    TLabel* Label1 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TSkinData* SkinData1 = nullptr;

    // The code lookup: Memo1's text in the ANSI code page -> Memo2.
    void Button1Click(TObject* sender);
    // Closes the window (and so ends the program).
    void Button2Click(TObject* sender);
    // Opens the publisher's page.
    void Label1Click(TObject* sender);
};

extern TForm1* Form1;
