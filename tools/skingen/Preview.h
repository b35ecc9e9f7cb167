// Preview: composes a mock-up of a skinned window (frame, caption, the main window's controls
// and a panel of further controls) from a skin's pictures, cutting and stretching them the way
// the engine's painters do, so a designer can judge a skin without running the program.
// Text is not rendered here: its places are returned for a later annotation step.
#pragma once

#include <string>
#include <vector>

#include "tools/skingen/Image.h"
#include "tools/skingen/SkinBuilder.h"
#include "tools/skingen/Theme.h"

struct PreviewText {
    int x = 0;  // top-left corner of the text
    int y = 0;
    Rgb colour;
    bool bold = false;
    std::string text;
};

struct Preview {
    Image picture;
    std::vector<PreviewText> texts;
};

Preview ComposePreview(const Theme& theme, const SkinFolder& skin);
