// skinres OUTDIR: writes ondrelmenu.bmp (64 x 16, monochrome: the four 16 x 16
// system-menu glyphs restore, maximize, minimize, close, black on white),
// track.bmp (16 x 4) and trackvert.bmp (4 x 16), both 16 colours: a sunken
// track-bar channel. The pictures are drawn below as text, one character a pixel.
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int GlyphSize = 16;
constexpr int GlyphCount = 4;
constexpr int TrackLength = 16;
constexpr int TrackThickness = 4;

// '#' is a black glyph pixel, '.' the white background (the mask colour).
constexpr std::array<const char*, GlyphSize> RestoreGlyph = {
    "................", "................", "......#######...", "......#######...",
    "......#.....#...", "...#######..#...", "...#######..#...", "...#.....#..#...",
    "...#.....####...", "...#.....#......", "...#.....#......", "...#######......",
    "................", "................", "................", "................"};
constexpr std::array<const char*, GlyphSize> MaximizeGlyph = {
    "................", "................", "...##########...", "...##########...",
    "...#........#...", "...#........#...", "...#........#...", "...#........#...",
    "...#........#...", "...#........#...", "...#........#...", "...##########...",
    "................", "................", "................", "................"};
constexpr std::array<const char*, GlyphSize> MinimizeGlyph = {
    "................", "................", "................", "................",
    "................", "................", "................", "................",
    "................", "................", "....########....", "....########....",
    "................", "................", "................", "................"};
constexpr std::array<const char*, GlyphSize> CloseGlyph = {
    "................", "................", "................", "....##....##....",
    ".....##..##.....", "......####......", ".......##.......", "......####......",
    ".....##..##.....", "....##....##....", "................", "................",
    "................", "................", "................", "................"};

// Indexes into the 16-colour palette below: 0 black, 7 silver, 8 grey, F white.
constexpr std::array<const char*, TrackThickness> TrackRows = {"888888888888888F", "8000000000000007",
                                                               "87777777777777FF", "FFFFFFFFFFFFFFFF"};

// The standard 16-colour palette (blue, green, red).
constexpr std::array<std::array<uint8_t, 3>, 16> Palette16 = {{{0, 0, 0},
                                                               {0, 0, 128},
                                                               {0, 128, 0},
                                                               {0, 128, 128},
                                                               {128, 0, 0},
                                                               {128, 0, 128},
                                                               {128, 128, 0},
                                                               {192, 192, 192},
                                                               {128, 128, 128},
                                                               {0, 0, 255},
                                                               {0, 255, 0},
                                                               {0, 255, 255},
                                                               {255, 0, 0},
                                                               {255, 0, 255},
                                                               {255, 255, 0},
                                                               {255, 255, 255}}};

constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t InfoHeaderSize = 40;

void Put16(std::vector<uint8_t>& Out, uint16_t V) {
    Out.push_back(static_cast<uint8_t>(V));
    Out.push_back(static_cast<uint8_t>(V >> 8));
}
void Put32(std::vector<uint8_t>& Out, uint32_t V) {
    for (int Shift = 0; Shift < 32; Shift += 8) Out.push_back(static_cast<uint8_t>(V >> Shift));
}

// Index(x, y) gives the palette index of a pixel (y = 0 is the top row).
template <typename IndexFn>
std::vector<uint8_t> MakeBmp(int Width, int Height, int Bits, const std::vector<std::array<uint8_t, 3>>& Colours,
                             IndexFn Index) {
    const uint32_t RowBytes = ((static_cast<uint32_t>(Width) * Bits + 31) / 32) * 4;
    const uint32_t PaletteBytes = static_cast<uint32_t>(Colours.size()) * 4;
    const uint32_t DataOffset = FileHeaderSize + InfoHeaderSize + PaletteBytes;
    const uint32_t ImageBytes = RowBytes * static_cast<uint32_t>(Height);
    std::vector<uint8_t> Out;
    Out.push_back('B');
    Out.push_back('M');
    Put32(Out, DataOffset + ImageBytes);
    Put32(Out, 0);
    Put32(Out, DataOffset);
    Put32(Out, InfoHeaderSize);
    Put32(Out, static_cast<uint32_t>(Width));
    Put32(Out, static_cast<uint32_t>(Height));
    Put16(Out, 1);
    Put16(Out, static_cast<uint16_t>(Bits));
    Put32(Out, 0);  // BI_RGB
    Put32(Out, ImageBytes);
    Put32(Out, 0);
    Put32(Out, 0);
    Put32(Out, static_cast<uint32_t>(Colours.size()));
    Put32(Out, 0);
    for (const auto& C : Colours) {
        Out.insert(Out.end(), C.begin(), C.end());
        Out.push_back(0);
    }
    for (int Y = Height - 1; Y >= 0; --Y) {  // bottom-up rows
        std::vector<uint8_t> Row(RowBytes, 0);
        for (int X = 0; X < Width; ++X) {
            const unsigned Value = Index(X, Y);
            const int BitPos = X * Bits;
            const int Shift = 8 - Bits - (BitPos % 8);
            Row[static_cast<size_t>(BitPos / 8)] |= static_cast<uint8_t>(Value << Shift);
        }
        Out.insert(Out.end(), Row.begin(), Row.end());
    }
    return Out;
}

unsigned HexDigit(char C) { return C <= '9' ? static_cast<unsigned>(C - '0') : static_cast<unsigned>(C - 'A' + 10); }

bool Save(const std::string& Path, const std::vector<uint8_t>& Bytes) {
    std::ofstream File(Path, std::ios::binary);
    File.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    if (!File) std::fprintf(stderr, "skinres: cannot write %s\n", Path.c_str());
    return static_cast<bool>(File);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skinres OUTDIR\n");
        return 2;
    }
    const std::string Dir = argv[1];
    const std::array<const std::array<const char*, GlyphSize>*, GlyphCount> Glyphs = {&RestoreGlyph, &MaximizeGlyph,
                                                                                      &MinimizeGlyph, &CloseGlyph};
    const std::vector<std::array<uint8_t, 3>> Mono = {{0, 0, 0}, {255, 255, 255}};
    const auto Menu = MakeBmp(GlyphSize * GlyphCount, GlyphSize, 1, Mono, [&](int X, int Y) {
        return (*Glyphs[static_cast<size_t>(X / GlyphSize)])[static_cast<size_t>(Y)][X % GlyphSize] == '#' ? 0u : 1u;
    });
    const std::vector<std::array<uint8_t, 3>> Colours(Palette16.begin(), Palette16.end());
    const auto Track = MakeBmp(TrackLength, TrackThickness, 4, Colours,
                               [](int X, int Y) { return HexDigit(TrackRows[static_cast<size_t>(Y)][X]); });
    // The vertical channel is the horizontal one turned on its side.
    const auto TrackVert = MakeBmp(TrackThickness, TrackLength, 4, Colours,
                                   [](int X, int Y) { return HexDigit(TrackRows[static_cast<size_t>(X)][Y]); });
    const bool Ok = Save(Dir + "/ondrelmenu.bmp", Menu) && Save(Dir + "/track.bmp", Track) &&
                    Save(Dir + "/trackvert.bmp", TrackVert);
    return Ok ? 0 : 1;
}
