// ParseSkinColour: colours written as three decimal numbers.
#include "skin/data/SkinColours.h"

namespace {

constexpr int ComponentCount = 3;  // red, green, blue
constexpr int64_t LargestRun = INT32_MAX;
constexpr uint32_t ComponentMask = 0xFF;

constexpr bool IsBlank(char C) { return static_cast<unsigned char>(C) <= ' '; }
constexpr bool IsDigit(char C) { return C >= '0' && C <= '9'; }

// A run of digits being collected. A run too large for a signed 32-bit
// integer is not stored; its digits stay pending in front of the next run
// (the run only grows then, so it stays too large).
struct TDigitRun {
    int64_t Value = 0;
    bool HasDigits = false;
    bool TooLarge = false;

    void Add(char Digit) {
        HasDigits = true;
        if (TooLarge) return;
        Value = Value * 10 + (Digit - '0');
        if (Value > LargestRun) TooLarge = true;
    }
    bool Storable() const { return HasDigits && !TooLarge; }
    void Reset() { *this = TDigitRun{}; }
};

}  // namespace

TColor ParseSkinColour(std::string_view Text, TColor Default) {
    if (Text.empty()) return Default;
    while (!Text.empty() && IsBlank(Text.front())) Text.remove_prefix(1);
    while (!Text.empty() && IsBlank(Text.back())) Text.remove_suffix(1);

    uint32_t Components[ComponentCount] = {0, 0, 0};
    int Stored = 0;
    TDigitRun Run;
    for (const char C : Text) {
        if (IsDigit(C)) {
            Run.Add(C);
            continue;
        }
        if (!Run.Storable()) continue;
        if (Stored < ComponentCount) Components[Stored] = static_cast<uint32_t>(Run.Value);
        ++Stored;
        Run.Reset();
    }
    // The run still open at the end counts only as the blue of a colour whose
    // red and green came before it.
    if (Stored == 2 && Run.Storable()) Components[2] = static_cast<uint32_t>(Run.Value);

    return static_cast<TColor>((Components[0] & ComponentMask) | ((Components[1] & ComponentMask) << 8) |
                               ((Components[2] & ComponentMask) << 16));
}
