#include "gallery/GalleryWindows.h"

QUIRN_PUBLISH(TToolForm, p) {
    p.Field("ToolLabel", &TToolForm::ToolLabel);
    p.Field("ToolCloseButton", &TToolForm::ToolCloseButton);
    p.Method("CloseButtonClick", &TToolForm::CloseButtonClick);
}

void TToolForm::CloseButtonClick(TObject*) { Close(); }

QUIRN_PUBLISH(TDialogForm, p) {
    p.Field("DialogLabel", &TDialogForm::DialogLabel);
    p.Field("DialogEdit", &TDialogForm::DialogEdit);
    p.Field("OkButton", &TDialogForm::OkButton);
    p.Method("CloseButtonClick", &TDialogForm::CloseButtonClick);
}

void TDialogForm::CloseButtonClick(TObject*) { Close(); }
