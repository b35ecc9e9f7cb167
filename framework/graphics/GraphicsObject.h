// TGraphicsObject: base of the drawing tools (font, brush, pen) that own a GDI handle made on demand
// from their properties and report every change through OnChange.
#pragma once

#include <windows.h>

#include "framework/rtl/Delegate.h"
#include "framework/rtl/Object.h"
#include "framework/win/GdiObject.h"

// Base of TFont, TBrush and TPen: a description that owns the GDI handle made from it on demand.
class TGraphicsObject : public TPersistent {
    QUIRN_CLASS(TGraphicsObject, TPersistent)
public:
    TGraphicsObject() = default;

    // Called after every property change, with this object as sender.
    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(const TNotifyEvent& handler) { FOnChange = handler; }

    // True once a GDI handle has been made for the current properties.
    virtual bool HandleAllocated() const = 0;

protected:
    // Drops the handle (the next use makes a new one) and notifies; the old handle is deleted only
    // after the listeners had the chance to deselect it.
    void Changed();
    // Notifies without touching the handle (changes the handle does not depend on).
    void NotifyChange();
    // Takes the handle out of the object; the caller deletes it.
    virtual HGDIOBJ DetachHandle() = 0;
    // Installs a new owned handle; the old one is deleted after the listeners were told.
    template <typename OwnedHandle, typename Handle>
    void ReplaceHandle(OwnedHandle& owned, Handle handle) {
        win::UniqueHandle<win::GdiObjectTraits<HGDIOBJ>> old(owned.release());
        owned.reset(handle);
        NotifyChange();
    }

private:
    TNotifyEvent FOnChange;
};
