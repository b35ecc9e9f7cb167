// GalleryWindows.h: the gallery's secondary forms, each read from its text form: a tool window (shown
// also with a sizeable tool frame) and a dialog-frame form. Their buttons close them (hide).
#pragma once

#include "framework/controls/Button.h"
#include "framework/controls/Edit.h"
#include "framework/controls/Form.h"
#include "framework/controls/Label.h"

class TToolForm : public TForm {
    QUIRN_CLASS(TToolForm, TForm)
public:
    explicit TToolForm(TComponent* aOwner) : TForm(aOwner) {}

    TLabel* ToolLabel = nullptr;
    TButton* ToolCloseButton = nullptr;

    void CloseButtonClick(TObject* sender);
};

class TDialogForm : public TForm {
    QUIRN_CLASS(TDialogForm, TForm)
public:
    explicit TDialogForm(TComponent* aOwner) : TForm(aOwner) {}

    TLabel* DialogLabel = nullptr;
    TEdit* DialogEdit = nullptr;
    TButton* OkButton = nullptr;

    void CloseButtonClick(TObject* sender);
};
