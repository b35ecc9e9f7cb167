// Memo.h: TCustomMemo and TMemo, a multi-line text box on the system's
// "EDIT" control, whose text is also a list of lines (Lines).
#pragma once

#include <memory>

#include "framework/controls/Edit.h"
#include "framework/rtl/Strings.h"

class TCustomMemo;

// TMemoStrings: the lines of a memo's text, read from and written to the
// memo (its window when there is one). Lines hold ANSI bytes of the system
// code page; the memo holds UTF-16.
class TMemoStrings : public TStrings {
    QUIRN_CLASS(TMemoStrings, TStrings)
public:
    explicit TMemoStrings(TCustomMemo& memo) : FMemo(memo) {}

    int32_t Count() const override;
    void Insert(int32_t index, std::string_view s) override;
    void Delete(int32_t index) override;
    void Clear() override;
    void SetText(std::string_view text) override;

protected:
    std::string Get(int32_t index) const override;
    void Put(int32_t index, std::string_view s) override;

private:
    TCustomMemo& FMemo;
};

// The memo's behaviour, for TMemo to publish: a multi-line edit. Changing
// ScrollBars, WordWrap or Alignment recreates the window (text kept).
class TCustomMemo : public TCustomEdit {
    QUIRN_CLASS(TCustomMemo, TCustomEdit)
public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    // The text as lines, owned by the memo; SetLines copies value's lines.
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // Whether Enter and Tab go into the text or to the form (default
    // button, next control).
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool value) { FWantReturns = value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool value) { FWantTabs = value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);

protected:
    void CreateParams(TCreateParams& params) override;
    bool Dispatch(TMessage& message) override;

private:
    std::unique_ptr<TMemoStrings> FLines;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    bool FWantReturns = true;
    bool FWantTabs = false;
    TAlignment FAlignment = taLeftJustify;
};

// A multi-line text box on the system's "EDIT" control.
class TMemo : public TCustomMemo {
    QUIRN_CLASS(TMemo, TCustomMemo)
public:
    explicit TMemo(TComponent* owner);
};
