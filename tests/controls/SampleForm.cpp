#include "SampleForm.h"

QUIRN_PUBLISH(TSampleForm, p) {
    p.Field("GroupBox1", &TSampleForm::GroupBox1);
    p.Field("Label1", &TSampleForm::Label1);
    p.Field("Edit1", &TSampleForm::Edit1);
    p.Field("Memo1", &TSampleForm::Memo1);
    p.Field("ListBox1", &TSampleForm::ListBox1);
    p.Field("Button1", &TSampleForm::Button1);
    p.Field("Panel1", &TSampleForm::Panel1);
    p.Field("ScrollBox1", &TSampleForm::ScrollBox1);
    p.Field("Label2", &TSampleForm::Label2);
    p.Field("Edit2", &TSampleForm::Edit2);
    p.Field("StatusBar1", &TSampleForm::StatusBar1);
    p.Field("MainMenu1", &TSampleForm::MainMenu1);
    p.Field("File1", &TSampleForm::File1);
    p.Field("Apply1", &TSampleForm::Apply1);
    p.Method("Button1Click", &TSampleForm::Button1Click);
}

void TSampleForm::Button1Click(TObject*) {
    ++Applied;
    StatusBar1->SetSimpleText("Applied: " + Edit1->Text());
}
