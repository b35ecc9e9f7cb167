// skingen: draws the bundled skins from code and writes each as a folder of one definition
// file and its bitmaps.
//   skingen OUTPUT_DIR [SKIN...]            the skin folders (SKIN: default, graphite; all
//                                           when none is named)
//   skingen --preview OUTPUT_DIR [SKIN...]  a mock-up of each skin applied to a window:
//                                           <skin>-preview.bmp, and <skin>-preview.txt with the
//                                           texts to write on it (x y rrggbb bold text)
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <exception>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "tools/skingen/BmpWriter.h"
#include "tools/skingen/Preview.h"
#include "tools/skingen/SkinBuilder.h"
#include "tools/skingen/Theme.h"

namespace {
void WritePreview(const Theme& theme, const SkinFolder& skin, const std::filesystem::path& directory) {
    const Preview preview = ComposePreview(theme, skin);
    std::filesystem::create_directories(directory);
    const auto bytes = EncodeBmp(preview.picture);
    std::ofstream picture(directory / (skin.name + "-preview.bmp"), std::ios::binary | std::ios::trunc);
    picture.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::ofstream texts(directory / (skin.name + "-preview.txt"), std::ios::trunc);
    for (const PreviewText& text : preview.texts) {
        char colour[8];
        std::snprintf(colour, sizeof colour, "%02x%02x%02x", text.colour.r, text.colour.g, text.colour.b);
        texts << text.x << ' ' << text.y << ' ' << colour << ' ' << (text.bold ? 1 : 0) << ' ' << text.text << '\n';
    }
    if (!picture || !texts) throw std::runtime_error("cannot write the preview of " + skin.name);
}
}  // namespace

int main(int argc, char** argv) {
    bool preview = argc > 1 && std::string_view(argv[1]) == "--preview";
    if (preview) {
        ++argv;
        --argc;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: skingen [--preview] OUTPUT_DIR [default] [graphite]\n");
        return 2;
    }
    const std::vector<const Theme*> themes = {&DefaultTheme(), &GraphiteTheme()};
    std::vector<const Theme*> chosen;
    for (int i = 2; i < argc; ++i) {
        const Theme* match = nullptr;
        for (const Theme* theme : themes)
            if (std::string_view(argv[i]) == theme->folder) match = theme;
        if (!match) {
            std::fprintf(stderr, "skingen: unknown skin \"%s\"\n", argv[i]);
            return 2;
        }
        chosen.push_back(match);
    }
    if (chosen.empty()) chosen = themes;
    try {
        for (const Theme* theme : chosen) {
            const SkinFolder skin = BuildSkin(*theme);
            if (preview) {
                WritePreview(*theme, skin, argv[1]);
                continue;
            }
            WriteSkin(skin, argv[1]);
            std::printf("%s: %zu files\n", skin.name.c_str(), skin.files.size());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "skingen: %s\n", error.what());
        return 1;
    }
    return 0;
}
