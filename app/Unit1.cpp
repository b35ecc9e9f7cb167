#include "app/Unit1.h"

#include <shellapi.h>

#include "app/CodeLookup.h"

TForm1* Form1 = nullptr;

QUIRN_PUBLISH(TForm1, p) {
    p.Field("GroupBox1", &TForm1::GroupBox1);
    p.Field("Memo1", &TForm1::Memo1);
    p.Field("GroupBox2", &TForm1::GroupBox2);
    p.Field("Memo2", &TForm1::Memo2);
    p.Field("Edit_VER", &TForm1::Edit_VER);
    p.Field("GroupBox3", &TForm1::GroupBox3);
    p.Field("Label1", &TForm1::Label1);
    p.Field("Button1", &TForm1::Button1);
    p.Field("Button2", &TForm1::Button2);
    p.Field("StatusBar1", &TForm1::StatusBar1);
    p.Field("SkinData1", &TForm1::SkinData1);
    p.Method("Button1Click", &TForm1::Button1Click);
    p.Method("Button2Click", &TForm1::Button2Click);
    p.Method("Label1Click", &TForm1::Label1Click);
}

TForm1::TForm1(TComponent* aOwner) : TForm(aOwner) {}

void TForm1::Button1Click(TObject*) {
    // Caption() converts the memo's text to the system's ANSI code page.
    const std::string codes = ByteCodes(Memo1->Text());
    Memo2->Lines()->Clear();
    Memo2->Lines()->Add(codes);
}

void TForm1::Button2Click(TObject*) { Close(); }

void TForm1::Label1Click(TObject*) {
    const std::string address = PublisherAddress(Edit_VER->Text());
    // Failure (no browser, no association) is not reported.
    ShellExecuteA(Handle(), nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
