// ParseSkinColour: colours written as three decimal numbers.
#include "skin/data/SkinColours.h"

namespace {

constexpr int ComponentCount = 3;  // red, green, blue
constexpr int64_t LargestRun = INT32_MAX;
constexpr uint32_t ComponentMask = 0xFF;

constexpr bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A run of digits being collected. A run too large for a signed 32-bit
// integer is not stored; its digits stay pending in front of the next run
// (the run only grows then, so it stays too large).
struct TDigitRun {
    int64_t Value = 0;
    bool HasDigits = false;
    bool TooLarge = false;

    void Add(char digit) {
        HasDigits = true;
        if (TooLarge) return;
        Value = Value * 10 + (digit - '0');
        if (Value > LargestRun) TooLarge = true;
    }
    bool Storable() const { return HasDigits && !TooLarge; }
    void Reset() { *this = TDigitRun{}; }
};

}  // namespace

TColor ParseSkinColour(std::string_view text, TColor fallback) {
    if (text.empty()) return fallback;
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

    uint32_t components[ComponentCount] = {0, 0, 0};
    int stored = 0;
    TDigitRun run;
    for (const char c : text) {
        if (IsDigit(c)) {
            run.Add(c);
            continue;
        }
        if (!run.Storable()) continue;
        if (stored < ComponentCount) components[stored] = static_cast<uint32_t>(run.Value);
        ++stored;
        run.Reset();
    }
    // The run still open at the end counts only as the blue of a colour whose
    // red and green came before it.
    if (stored == 2 && run.Storable()) components[2] = static_cast<uint32_t>(run.Value);

    return static_cast<TColor>((components[0] & ComponentMask) | ((components[1] & ComponentMask) << 8) |
                               ((components[2] & ComponentMask) << 16));
}
