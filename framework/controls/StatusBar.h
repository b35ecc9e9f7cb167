// StatusBar.h: TCustomStatusBar and TStatusBar, the status line at a form's
// edge on the common controls' status bar: one simple text, or panels.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/controls/WinControl.h"

enum TStatusPanelBevel : uint8_t { pbNone, pbLowered, pbRaised };
QUIRN_ENUM(TStatusPanelBevel, pbNone, pbLowered, pbRaised)

// TStatusPanel: one part of a status bar (text, width, bevel, alignment).
class TStatusPanel : public TPersistent {
    QUIRN_CLASS(TStatusPanel, TPersistent)
public:
    static constexpr int32_t kDefaultWidth = 50;

    TStatusPanel() = default;
    std::string Text;
    int32_t Width = kDefaultWidth;
    TAlignment Alignment = taLeftJustify;
    TStatusPanelBevel Bevel = pbLowered;
};

class TCustomStatusBar;

// TStatusPanels: the panels of a status bar, in order.
class TStatusPanels : public TPersistent {
    QUIRN_CLASS(TStatusPanels, TPersistent)
public:
    explicit TStatusPanels(TCustomStatusBar& owner) : FOwner(owner) {}
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    TStatusPanel* Items(int32_t index) const { return FItems.at(static_cast<size_t>(index)).get(); }
    TStatusPanel* Add();
    void Delete(int32_t index);
    void Clear();
    // Applies changes made to the panels' fields.
    void Update();
    void Assign(const TPersistent* source) override;

private:
    TCustomStatusBar& FOwner;
    std::vector<std::unique_ptr<TStatusPanel>> FItems;
};

class TCustomStatusBar : public TWinControl {
    QUIRN_CLASS(TCustomStatusBar, TWinControl)
public:
    explicit TCustomStatusBar(TComponent* AOwner);
    ~TCustomStatusBar() override;

    TStatusPanels* Panels() const { return FPanels.get(); }
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool value);
    const std::string& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& value);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value);

    // Pushes the panels and texts to the window.
    void UpdatePanels();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    bool Dispatch(TMessage& message) override;

private:
    bool ShowsGrip();

    std::unique_ptr<TStatusPanels> FPanels;
    bool FSimplePanel = false;
    std::string FSimpleText;
    bool FSizeGrip = true;
};

class TStatusBar : public TCustomStatusBar {
    QUIRN_CLASS(TStatusBar, TCustomStatusBar)
public:
    explicit TStatusBar(TComponent* AOwner);
};
