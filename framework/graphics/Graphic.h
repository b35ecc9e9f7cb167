// TGraphic: base of the pictures a canvas can draw (bitmaps, icons): size, emptiness, transparency,
// stream and file storage, change notification.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/rtl/Delegate.h"
#include "framework/rtl/Object.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/SysUtils.h"

class TCanvas;

// Raised for picture data that cannot be read ("Bitmap image is not valid", ...).
class EInvalidGraphic : public Exception {
    using Exception::Exception;
};
// Raised for an operation the picture cannot do in its state (scan line out of range, ...).
class EInvalidGraphicOperation : public Exception {
    using Exception::Exception;
};
// Raised when GDI cannot make a handle (too large, out of resources).
class EOutOfResources : public Exception {
    using Exception::Exception;
};

// Raised when a named bitmap or icon resource does not exist ("Resource NAME not found").
class EResNotFound : public Exception {
    using Exception::Exception;
};

// Base of pictures (TBitmap, TIcon): what a canvas can Draw and what a picture property of a
// component stores. Each picture owns its handles and raises OnChange when its content changes.
class TGraphic : public TPersistent {
    QUIRN_CLASS(TGraphic, TPersistent)
public:
    TGraphic() = default;

    virtual bool Empty() const = 0;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    virtual void SetWidth(int32_t value) = 0;
    virtual void SetHeight(int32_t value) = 0;

    // Drawn with the key colour left out (what the key is depends on the picture).
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value);

    // Reads the picture from the stream's position to its end; EInvalidGraphic (picture left empty)
    // when the data is not valid.
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) = 0;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);

    bool Modified() const { return FModified; }
    void SetModified(bool value);

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(const TNotifyEvent& handler) { FOnChange = handler; }

    // A picture property of a component is streamed as the binary property "Data": the bytes
    // SaveToStream writes (a .bmp or .ico file), read back through LoadFromStream.
    void DefineProperties(TFiler& filer) override;

protected:
    friend class TCanvas;
    // Draws the picture into rect of the canvas (stretched to it).
    virtual void DrawTo(TCanvas& canvas, const RECT& rect) = 0;
    // Marks the picture modified and notifies.
    virtual void Changed();

private:
    bool FTransparent = false;
    bool FModified = false;
    TNotifyEvent FOnChange;
};
