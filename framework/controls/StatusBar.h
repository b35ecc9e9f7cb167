// StatusBar.h: TCustomStatusBar and TStatusBar, the status line at a form's
// edge on the common controls' status bar: one simple text, or panels
// (TStatusPanels of TStatusPanel), text or owner-drawn.
#pragma once

#include <memory>
#include <string>

#include "framework/controls/WinControl.h"
#include "framework/core/Collection.h"
#include "framework/graphics/Canvas.h"

// The edge drawn around a panel.
enum TStatusPanelBevel : uint8_t { pbNone, pbLowered, pbRaised };
QUIRN_ENUM(TStatusPanelBevel, pbNone, pbLowered, pbRaised)
// A panel shows its Text, or is painted by OnDrawPanel.
enum TStatusPanelStyle : uint8_t { psText, psOwnerDraw };
QUIRN_ENUM(TStatusPanelStyle, psText, psOwnerDraw)

class TCustomStatusBar;
class TStatusPanel;

// Draws an owner-drawn panel (Style psOwnerDraw) on the status bar's Canvas within Rect.
using TDrawPanelEvent = TDelegate<void(TCustomStatusBar* statusBar, TStatusPanel* panel, RECT rect)>;
QUIRN_EVENT_TYPE(TDrawPanelEvent)

// TStatusPanel: one part of a status bar (text, width, bevel, alignment, reading order, style).
class TStatusPanel : public TCollectionItem {
    QUIRN_CLASS(TStatusPanel, TCollectionItem)
public:
    static constexpr int32_t kDefaultWidth = 50;

    TStatusPanel() = default;

    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);
    int32_t Width() const { return FWidth; }
    // Negative widths count as 0.
    void SetWidth(int32_t value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TStatusPanelBevel Bevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel value);
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle value);
    // The status bar's reading order while ParentBiDiMode is set.
    TBiDiMode BiDiMode() const;
    void SetBiDiMode(TBiDiMode value);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool value);
    // Right-to-left reading with left and right alignment swapped.
    bool UseRightToLeftAlignment() const;

    std::string DisplayName() const override;
    void Assign(const TPersistent* source) override;

private:
    bool IsBiDiModeStored() const { return !FParentBiDiMode; }
    TCustomStatusBar* StatusBar() const;

    std::string FText;
    int32_t FWidth = kDefaultWidth;
    TAlignment FAlignment = taLeftJustify;
    TStatusPanelBevel FBevel = pbLowered;
    TStatusPanelStyle FStyle = psText;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
};

// TStatusPanels: the panels of a status bar, in order; every change reaches the bar's window.
class TStatusPanels : public TCollection {
    QUIRN_CLASS(TStatusPanels, TCollection)
public:
    explicit TStatusPanels(TCustomStatusBar& statusBar);

    TStatusPanel* Items(int32_t index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* Insert(int32_t index) { return static_cast<TStatusPanel*>(TCollection::Insert(index)); }
    TPersistent* GetOwner() const override;
    TCustomStatusBar& StatusBar() const { return FStatusBar; }

    // Pushes every panel to the window (after changes made inside BeginUpdate/EndUpdate, say).
    void Update() { Update(nullptr); }

protected:
    void Update(TCollectionItem* item) override;

private:
    TCustomStatusBar& FStatusBar;
};

// The status bar's behaviour, for TStatusBar to publish: on the common controls' status bar, it
// shows SimpleText while SimplePanel is on or there are no panels, else its Panels (owned by the
// bar). The size grip shows only at the bottom of a sizeable form.
class TCustomStatusBar : public TWinControl {
    QUIRN_CLASS(TCustomStatusBar, TWinControl)
public:
    // The common controls take at most this many parts.
    static constexpr int32_t kMaxParts = 256;

    explicit TCustomStatusBar(TComponent* owner);
    ~TCustomStatusBar() override;

    TStatusPanels* Panels() const { return FPanels.get(); }
    void SetPanels(TStatusPanels* value) { FPanels->Assign(value); }
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool value);
    const std::string& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& value);
    // Asks for the size grip; it shows only where it can resize something.
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value);
    // Attached to the device context of the panel being drawn while OnDrawPanel runs.
    TCanvas* Canvas() const { return FCanvas.get(); }

    TDrawPanelEvent OnDrawPanel() const { return FOnDrawPanel; }
    void SetOnDrawPanel(TDrawPanelEvent value) { FOnDrawPanel = value; }

    // Pushes the panels and texts to the window.
    void UpdatePanels();
    // Pushes one panel's part (its text, bevel and style; the part edges too).
    void UpdatePanel(int32_t index);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    bool Dispatch(TMessage& message) override;
    // Draws an owner-drawn panel: OnDrawPanel when assigned, else nothing.
    virtual void DrawPanel(TStatusPanel* panel, const RECT& rect);

private:
    bool ShowsGrip();
    bool ShowsSimpleText() const;
    void SetParts();
    void SetPartText(int32_t index);
    void CNDrawItem(TMessage& message);

    std::unique_ptr<TStatusPanels> FPanels;
    std::unique_ptr<TCanvas> FCanvas;
    bool FSimplePanel = false;
    std::string FSimpleText;
    bool FSizeGrip = true;
    TDrawPanelEvent FOnDrawPanel;
};

// A status line at a form's edge (aligned to the bottom by default), with simple text or panels.
class TStatusBar : public TCustomStatusBar {
    QUIRN_CLASS(TStatusBar, TCustomStatusBar)
public:
    explicit TStatusBar(TComponent* owner);
};
