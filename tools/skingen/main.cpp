// skingen: draws the bundled skins from code and writes each as a folder of one definition
// file and its bitmaps.  Usage: skingen OUTPUT_DIR [SKIN...]   (SKIN: default, graphite; all
// when none is named).
#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

#include "tools/skingen/SkinBuilder.h"
#include "tools/skingen/Theme.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: skingen OUTPUT_DIR [default] [graphite]\n");
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
      WriteSkin(skin, argv[1]);
      std::printf("%s: %zu files\n", skin.name.c_str(), skin.files.size());
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "skingen: %s\n", error.what());
    return 1;
  }
  return 0;
}
