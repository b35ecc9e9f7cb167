#include "framework/controls/Memo.h"

#include <vector>

#include "framework/graphics/AnsiText.h"

QUIRN_DEFINE_CLASS(TMemoStrings)
QUIRN_PUBLISH(TCustomMemo, p) {
    p.Property("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines);
    p.Property("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars).Default(ssNone);
    p.Property("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap).Default(true);
    p.Property("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns).Default(true);
    p.Property("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs).Default(false);
    p.Property("Alignment", &TCustomMemo::Alignment, &TCustomMemo::SetAlignment).Default(taLeftJustify);
}

QUIRN_PUBLISH(TMemo, p) {}

namespace {

constexpr int32_t kDefaultWidth = 185;
constexpr int32_t kDefaultHeight = 89;
constexpr wchar_t kLineBreak[] = L"\r\n";

// A text cut into lines: each line's start and length, and whether the text
// ends with a line break (which starts no further line).
struct LineMap {
    std::vector<size_t> Starts;
    std::vector<size_t> Lengths;
};

LineMap MapLines(const std::wstring& text) {
    LineMap map;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            map.Starts.push_back(start);
            map.Lengths.push_back(i - start);
            i += (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) {
        map.Starts.push_back(start);
        map.Lengths.push_back(text.size() - start);
    }
    return map;
}

bool EndsWithLineBreak(const std::wstring& text) {
    return !text.empty() && (text.back() == L'\n' || text.back() == L'\r');
}

}  // namespace

int32_t TMemoStrings::Count() const { return static_cast<int32_t>(MapLines(FMemo.WideText()).Starts.size()); }

std::string TMemoStrings::Get(int32_t index) const {
    const std::wstring text = FMemo.WideText();
    const LineMap map = MapLines(text);
    if (index < 0 || static_cast<size_t>(index) >= map.Starts.size()) Error("List index out of bounds (%d)", index);
    const size_t i = static_cast<size_t>(index);
    return WideToAnsiText(std::wstring_view(text).substr(map.Starts[i], map.Lengths[i]));
}

void TMemoStrings::Put(int32_t index, std::string_view s) {
    std::wstring text = FMemo.WideText();
    const LineMap map = MapLines(text);
    if (index < 0 || static_cast<size_t>(index) >= map.Starts.size()) Error("List index out of bounds (%d)", index);
    const size_t i = static_cast<size_t>(index);
    text.replace(map.Starts[i], map.Lengths[i], AnsiToWideText(s));
    FMemo.SetWideText(text);
}

void TMemoStrings::Insert(int32_t index, std::string_view s) {
    std::wstring text = FMemo.WideText();
    const LineMap map = MapLines(text);
    const int32_t count = static_cast<int32_t>(map.Starts.size());
    if (index < 0 || index > count) Error("List index out of bounds (%d)", index);
    const std::wstring line = AnsiToWideText(s);
    if (index == count) {
        // Appending ends the new line with a line break, as typed lines are
        // ended; after an unended last line the break goes in front instead.
        if (text.empty() || EndsWithLineBreak(text))
            text += line + kLineBreak;
        else
            text += kLineBreak + line;
    } else {
        text.insert(map.Starts[static_cast<size_t>(index)], line + kLineBreak);
    }
    FMemo.SetWideText(text);
}

void TMemoStrings::Delete(int32_t index) {
    std::wstring text = FMemo.WideText();
    const LineMap map = MapLines(text);
    const int32_t count = static_cast<int32_t>(map.Starts.size());
    if (index < 0 || index >= count) Error("List index out of bounds (%d)", index);
    const size_t i = static_cast<size_t>(index);
    const size_t start = map.Starts[i];
    const size_t end = i + 1 < map.Starts.size() ? map.Starts[i + 1] : text.size();
    text.erase(start, end - start);
    FMemo.SetWideText(text);
}

void TMemoStrings::Clear() { FMemo.SetWideText(L""); }

void TMemoStrings::SetText(std::string_view text) { FMemo.SetWideText(AnsiToWideText(text)); }

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), FLines(std::make_unique<TMemoStrings>(*this)) {
    FWidth = kDefaultWidth;
    FHeight = kDefaultHeight;
    FAutoSelect = false;
    FControlStyle.Exclude(csFixedHeight);
}

TCustomMemo::~TCustomMemo() { DestroyOrDetachWindow(); }

void TCustomMemo::SetLines(TStrings* value) {
    if (value) FLines->Assign(value);
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
    if (FScrollBars == value) return;
    FScrollBars = value;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool value) {
    if (FWordWrap == value) return;
    FWordWrap = value;
    RecreateWnd();
}

void TCustomMemo::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    RecreateWnd();
}

void TCustomMemo::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (FWordWrap && FScrollBars != ssHorizontal && FScrollBars != ssBoth)
        params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) params.Style |= WS_HSCROLL;
    if (FAlignment == taRightJustify) params.Style |= ES_RIGHT;
    if (FAlignment == taCenter) params.Style |= ES_CENTER;
}

bool TCustomMemo::Dispatch(TMessage& message) {
    if (message.Msg == WM_GETDLGCODE) {
        DefaultHandler(message);
        if (!FWantTabs) message.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
        if (!FWantReturns) message.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
        return true;
    }
    return TCustomEdit::Dispatch(message);
}

TMemo::TMemo(TComponent* owner) : TCustomMemo(owner) {}
