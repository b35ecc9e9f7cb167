#include "framework/controls/CustomApplication.h"

QUIRN_DEFINE_CLASS(TCustomApplication)

TCustomApplication* CustomApplication = nullptr;

TCustomApplication::TCustomApplication(TComponent* owner) : TComponent(owner) {
    if (!CustomApplication) CustomApplication = this;
}

TCustomApplication::~TCustomApplication() {
    if (CustomApplication == this) CustomApplication = nullptr;
}

void ApplicationHandleException(TObject* sender) {
    if (CustomApplication) CustomApplication->HandleException(sender);
}
