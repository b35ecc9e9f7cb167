#include "TestClasses.h"

#include <algorithm>

#include "framework/rtl/Filer.h"

QUIRN_PUBLISH(TTestFont, p) {
    p.Property("Name", &TTestFont::Name, &TTestFont::SetName).Stored(&TTestFont::IsNameStored);
    p.Property("Size", &TTestFont::Size, &TTestFont::SetSize).Default(8);
    p.Property("Charset", &TTestFont::Charset, &TTestFont::SetCharset)
        .Identifiers(CharsetIdents)
        .Default(kDefaultCharset);
}

void TTestFont::Assign(const TPersistent* source) {
    if (const auto* font = ObjectAs<TTestFont>(source)) {
        FName = font->FName;
        FSize = font->FSize;
        FCharset = font->FCharset;
        return;
    }
    TPersistent::Assign(source);
}

QUIRN_PUBLISH(TTestItem, p) {
    p.Property("Text", &TTestItem::Text, &TTestItem::SetText);
    p.Property("Width", &TTestItem::Width, &TTestItem::SetWidth).Default(50);
}

void TTestItem::Assign(const TPersistent* source) {
    if (const auto* item = ObjectAs<TTestItem>(source)) {
        FText = item->FText;
        FWidth = item->FWidth;
        return;
    }
    TCollectionItem::Assign(source);
}

QUIRN_PUBLISH(TTestWidget, p) {
    p.Property("Count", &TTestWidget::Count, &TTestWidget::SetCount).Default(0);
    p.Property("Letter", &TTestWidget::Letter, &TTestWidget::SetLetter).Default('a');
    p.Property("Align", &TTestWidget::Align, &TTestWidget::SetAlign).Default(taNone);
    p.Property("Anchors", &TTestWidget::Anchors, &TTestWidget::SetAnchors)
        .Default(TTestAnchors{TTestAnchor::akLeft, TTestAnchor::akTop});
    p.Property("Visible", &TTestWidget::Visible, &TTestWidget::SetVisible).Default(true);
    p.Property("Caption", &TTestWidget::Caption, &TTestWidget::SetCaption);
    p.Property("Hint", &TTestWidget::Hint, &TTestWidget::SetHint);
    p.Property("Big", &TTestWidget::Big, &TTestWidget::SetBig).Default(0);
    p.Property("Small", &TTestWidget::Small, &TTestWidget::SetSmall).Default(0);
    p.Property("Mask", &TTestWidget::Mask, &TTestWidget::SetMask).Default(0);
    p.Property("Font", &TTestWidget::Font, &TTestWidget::SetFont);
    p.Property("Lines", &TTestWidget::Lines, &TTestWidget::SetLines);
    p.Property("Items", &TTestWidget::Items, &TTestWidget::SetItems);
    p.Property("Buddy", &TTestWidget::Buddy, &TTestWidget::SetBuddy);
    p.Property("Computed", &TTestWidget::Computed);
    p.Property("Color", &TTestWidget::Color, &TTestWidget::SetColor).Identifiers(ColorIdents).Default(clWindow);
    p.Property("Cursor", &TTestWidget::Cursor, &TTestWidget::SetCursor).Identifiers(CursorIdents).Default(crDefault);
    p.Property("OnChange", &TTestWidget::OnChange, &TTestWidget::SetOnChange);
    p.Property("OnClick", &TTestWidget::OnClick, &TTestWidget::OnClick);
}

TTestWidget::TTestWidget(TComponent* AOwner) : TComponent(AOwner) {}

TTestWidget::~TTestWidget() = default;

void TTestWidget::DefineProperties(TFiler& filer) {
    TComponent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Blob",
        [this](TStream& stream) {
            Blob.resize(static_cast<size_t>(stream.Size()));
            stream.ReadBuffer(Blob.data(), static_cast<int32_t>(Blob.size()));
        },
        [this](TStream& stream) { stream.WriteBuffer(Blob.data(), static_cast<int32_t>(Blob.size())); }, !Blob.empty());
}

void TTestWidget::SetBuddy(TTestWidget* value) {
    if (FBuddy == value) return;
    if (FBuddy != nullptr) FBuddy->RemoveFreeNotification(this);
    FBuddy = value;
    if (FBuddy != nullptr) FBuddy->FreeNotification(this);
}

void TTestWidget::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FBuddy) FBuddy = nullptr;
}

void TTestWidget::Loaded() {
    LoadingSeenInLoaded = ComponentState().Contains(csLoading);
    ++LoadedCalls;
    TComponent::Loaded();
}

QUIRN_DEFINE_CLASS(TTestPanel)
QUIRN_REGISTER_CLASS(TTestPanel)

TTestPanel::~TTestPanel() {
    for (TTestChild* child : Children) child->FParent = nullptr;
}

QUIRN_DEFINE_CLASS(TTestChild)
QUIRN_REGISTER_CLASS(TTestChild)

TTestChild::~TTestChild() { SetParentComponent(nullptr); }

void TTestChild::SetParentComponent(TComponent* value) {
    if (FParent != nullptr) std::erase(FParent->Children, this);
    FParent = ObjectAs<TTestPanel>(value);
    if (FParent != nullptr) FParent->Children.push_back(this);
}

QUIRN_PUBLISH(TTestForm, p) {
    p.Method("ButtonChange", &TTestForm::ButtonChange);
    p.Method("ButtonClick", &TTestForm::ButtonClick);
    p.Field("Button1", &TTestForm::Button1);
    p.Field("Panel1", &TTestForm::Panel1);
}
