// Skin elements: each makes the bitmaps of its class when created; the
// bitmaps are freed with the element.
#include "skin/data/SkinElements.h"

#include <utility>

QUIRN_DEFINE_CLASS(TDataSkinObject)
QUIRN_DEFINE_CLASS(TDataSkinBorder)
QUIRN_DEFINE_CLASS(TDataSkinTitle)
QUIRN_DEFINE_CLASS(TDataSkinButton)
QUIRN_DEFINE_CLASS(TDataSkinSysButton)
QUIRN_DEFINE_CLASS(TDataSkinBoxLabel)

TDataSkinObject::TDataSkinObject(std::string aName) : Bitmap(std::make_unique<TBitmap>()), Name(std::move(aName)) {}
TDataSkinObject::~TDataSkinObject() = default;

TDataSkinBorder::TDataSkinBorder(std::string aName)
    : TDataSkinObject(std::move(aName)), Bitmap2(std::make_unique<TBitmap>()) {}
TDataSkinBorder::~TDataSkinBorder() = default;

TDataSkinTitle::TDataSkinTitle(std::string aName) : TDataSkinObject(std::move(aName)) {}
TDataSkinTitle::~TDataSkinTitle() = default;

TDataSkinButton::TDataSkinButton(std::string aName)
    : TDataSkinObject(std::move(aName)),
      CheckBitmap(std::make_unique<TBitmap>()),
      RadioBitmap(std::make_unique<TBitmap>()) {}
TDataSkinButton::~TDataSkinButton() = default;

TDataSkinSysButton::TDataSkinSysButton(std::string aName) : TDataSkinObject(std::move(aName)) {}
TDataSkinSysButton::~TDataSkinSysButton() = default;

TDataSkinBoxLabel::TDataSkinBoxLabel(std::string aName) : TDataSkinObject(std::move(aName)) {}
TDataSkinBoxLabel::~TDataSkinBoxLabel() = default;
