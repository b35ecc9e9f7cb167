#include "framework/graphics/GraphicsObject.h"

QUIRN_DEFINE_CLASS(TGraphicsObject)

void TGraphicsObject::Changed() {
    win::UniqueHandle<win::GdiObjectTraits<HGDIOBJ>> old(DetachHandle());
    NotifyChange();
}

void TGraphicsObject::NotifyChange() {
    if (FOnChange) FOnChange(this);
}
