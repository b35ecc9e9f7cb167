// Classes the core tests publish, read and write: one property of every kind.
#pragma once

#include <string>

#include "framework/controls/Cursors.h"
#include "framework/core/Collection.h"
#include "framework/core/Component.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/FontCharset.h"
#include "framework/rtl/Strings.h"

enum TTestAlign { taNone, taTop, taBottom, taClient };
QUIRN_ENUM(TTestAlign, taNone, taTop, taBottom, taClient)

enum class TTestAnchor { akLeft, akTop, akRight, akBottom };
QUIRN_ENUM(TTestAnchor, TTestAnchor::akLeft, TTestAnchor::akTop, TTestAnchor::akRight, TTestAnchor::akBottom)
using TTestAnchors = TSet<TTestAnchor>;

using TTestClickEvent = TDelegate<void(TObject* Sender, int32_t Button)>;
QUIRN_EVENT_TYPE(TTestClickEvent)

// TTestFont: a nested persistent property (as a control's Font).
class TTestFont : public TPersistent {
    QUIRN_CLASS(TTestFont, TPersistent)
public:
    const std::string& Name() const { return FName; }
    void SetName(std::string_view value) { FName = std::string(value); }
    bool IsNameStored() const { return FName != "Tahoma"; }
    int32_t Size() const { return FSize; }
    void SetSize(int32_t value) { FSize = value; }
    // Published with CharsetIdents.
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset value) { FCharset = value; }
    void Assign(const TPersistent* source) override;

    static constexpr TFontCharset kDefaultCharset = *IdentToInt("DEFAULT_CHARSET", CharsetIdents);

private:
    std::string FName = "Tahoma";
    int32_t FSize = 8;
    TFontCharset FCharset = kDefaultCharset;
};

// TTestItem: a collection item (as a status-bar panel).
class TTestItem : public TCollectionItem {
    QUIRN_CLASS(TTestItem, TCollectionItem)
public:
    const std::string& Text() const { return FText; }
    void SetText(std::string_view value) { FText = std::string(value); }
    int32_t Width() const { return FWidth; }
    void SetWidth(int32_t value) { FWidth = value; }
    void Assign(const TPersistent* source) override;

private:
    std::string FText;
    int32_t FWidth = 50;
};

// TTestWidget: a component with one published property of each kind.
class TTestWidget : public TComponent {
    QUIRN_CLASS(TTestWidget, TComponent)
public:
    explicit TTestWidget(TComponent* AOwner);
    ~TTestWidget() override;

    int32_t Count() const { return FCount; }
    void SetCount(int32_t value) { FCount = value; }
    char Letter() const { return FLetter; }
    void SetLetter(char value) { FLetter = value; }
    TTestAlign Align() const { return FAlign; }
    void SetAlign(TTestAlign value) { FAlign = value; }
    TTestAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TTestAnchors value) { FAnchors = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(std::string_view value) { FCaption = std::string(value); }
    const std::wstring& Hint() const { return FHint; }
    void SetHint(const std::wstring& value) { FHint = value; }
    int64_t Big() const { return FBig; }
    void SetBig(int64_t value) { FBig = value; }
    uint32_t Mask() const { return FMask; }
    void SetMask(uint32_t value) { FMask = value; }
    uint8_t Small() const { return FSmall; }
    void SetSmall(uint8_t value) { FSmall = value; }
    TTestFont* Font() const { return FFont.get(); }
    void SetFont(TTestFont* value) { FFont->Assign(value); }
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* value) { FLines->Assign(value); }
    TCollection* Items() const { return FItems.get(); }
    void SetItems(TCollection* value) { FItems->Assign(value); }
    // Stored through DefineBinaryProperty as "Blob" when not empty.
    std::vector<uint8_t> Blob;
    void DefineProperties(TFiler& filer) override;
    TTestWidget* Buddy() const { return FBuddy; }
    void SetBuddy(TTestWidget* value);
    int32_t Computed() const { return FCount * 2; }
    // Published with identifiers: ColorIdents and CursorIdents.
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value) { FCursor = value; }

    TNotifyEvent OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent value) { FOnChange = value; }
    TTestClickEvent OnClick;  // published as a data member

    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    int LoadedCalls = 0;
    bool LoadingSeenInLoaded = false;

private:
    int32_t FCount = 0;
    char FLetter = 'a';
    TTestAlign FAlign = taNone;
    TTestAnchors FAnchors{TTestAnchor::akLeft, TTestAnchor::akTop};
    bool FVisible = true;
    std::string FCaption;
    std::wstring FHint;
    int64_t FBig = 0;
    uint8_t FSmall = 0;
    uint32_t FMask = 0;
    std::unique_ptr<TTestFont> FFont = std::make_unique<TTestFont>();
    std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
    std::unique_ptr<TOwnedCollection> FItems = std::make_unique<TOwnedCollection>(this, TTestItem::StaticClass());
    TTestWidget* FBuddy = nullptr;
    TNotifyEvent FOnChange;
    TColor FColor = clWindow;
    TCursor FCursor = crDefault;
};

// TTestPanel: a widget with children of its own (parent/child streaming).
class TTestPanel : public TTestWidget {
    QUIRN_CLASS(TTestPanel, TTestWidget)
public:
    explicit TTestPanel(TComponent* AOwner) : TTestWidget(AOwner) {}
    ~TTestPanel() override;
    std::vector<class TTestChild*> Children;
};

// TTestChild: a widget that lives inside a panel (HasParent).
class TTestChild : public TTestWidget {
    QUIRN_CLASS(TTestChild, TTestWidget)
public:
    explicit TTestChild(TComponent* AOwner) : TTestWidget(AOwner) {}
    ~TTestChild() override;
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return FParent; }
    void SetParentComponent(TComponent* value) override;
    TTestPanel* FParent = nullptr;
};

// TTestForm: a root that publishes event handlers and component fields.
class TTestForm : public TTestWidget {
    QUIRN_CLASS(TTestForm, TTestWidget)
public:
    explicit TTestForm(TComponent* AOwner) : TTestWidget(AOwner) {}
    void ButtonChange(TObject* sender) { Log += "change:" + static_cast<TComponent*>(sender)->Name() + ";"; }
    void ButtonClick(TObject*, int32_t button) { Log += "click:" + std::to_string(button) + ";"; }
    void Unpublished(TObject*) {}
    std::string Log;
    TTestWidget* Button1 = nullptr;
    TTestPanel* Panel1 = nullptr;
};
