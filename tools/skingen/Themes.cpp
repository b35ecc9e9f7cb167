#include "tools/skingen/Theme.h"

// "Quirn Default": light, glassy blue. Its frame adds 8 pixels to the width and 27 to the
// height, as the system frame of the main window does, so the pinned 355 x 305 window keeps
// its 347 x 278 client area.
const Theme& DefaultTheme() {
    static const Theme theme = [] {
        Theme t;
        t.folder = "default";
        t.iniName = "default.ini";
        t.skinName = "Quirn Default";
        t.face = {230, 235, 245};
        t.faceText = {0, 0, 0};
        t.shadow = {150, 164, 186};
        t.darkShadow = {88, 102, 124};
        t.light = {244, 247, 252};
        t.highlight = {255, 255, 255};
        t.chrome = {142, 186, 236};
        t.chromeInactive = {196, 206, 220};
        t.titleText = {16, 36, 72};
        t.titleTextInactive = {96, 108, 126};
        t.captionButton = {128, 170, 224};
        t.closeButton = {204, 76, 64};
        t.captionGlyph = {255, 255, 255};
        t.captionGlyphOutline = {38, 56, 86};
        t.control = {214, 226, 242};
        t.controlText = {0, 0, 0};
        t.controlHotText = {0, 34, 86};
        t.accent = {58, 138, 228};
        t.arrowGlyph = {54, 70, 96};
        t.menu = {250, 251, 254};
        t.menuText = {0, 0, 0};
        t.menuBar = {220, 231, 246};
        t.menuBarText = {0, 0, 0};
        t.selection = {204, 226, 250};
        t.selectionText = {0, 0, 0};
        t.well = {255, 255, 255};
        t.progress = {66, 150, 232};
        t.statusText = {22, 40, 70};
        t.gloss = 1.0;
        t.left = 4;
        t.right = 4;
        t.caption = 23;
        t.bottom = 4;
        t.cornerTop = 7;
        t.cornerBottom = 3;
        t.textAlignment = 0;
        t.textShift = 18;  // text after the icon, which the engine draws at x = 8
        t.textShiftVert = 0;
        t.glowCap = 8;
        t.glowStrength = 0.6;
        t.glow = {255, 255, 255};
        t.fontHeight = 13;
        t.closeWidth = 40;
        t.buttonWidth = 26;
        t.buttonHeight = 18;
        t.buttonTop = 1;
        t.buttonGap = 1;
        t.buttonMargin = 2;
        t.buttonRadius = 3;
        t.iconX = 8;
        t.iconY = 3;
        t.controlRadius = 3;
        t.scrollSize = 17;
        return t;
    }();
    return theme;
}

// "Quirn Graphite": dark and flat, with wider sides, a taller caption, a centred title and
// the engine's alternative layouts (12/8-cell check strips, chunk progress, tab pane in the
// "Border" key, pointed track-bar thumbs, header frames left to the engine).
const Theme& GraphiteTheme() {
    static const Theme theme = [] {
        Theme t;
        t.folder = "graphite";
        t.iniName = "graphite.ini";
        t.skinName = "Quirn Graphite";
        t.face = {62, 65, 71};
        t.faceText = {228, 230, 234};
        t.shadow = {34, 36, 40};
        t.darkShadow = {18, 19, 22};
        t.light = {86, 90, 97};
        t.highlight = {112, 117, 125};
        t.chrome = {40, 42, 47};
        t.chromeInactive = {72, 74, 79};
        t.titleText = {236, 237, 240};
        t.titleTextInactive = {150, 152, 158};
        t.captionButton = {58, 61, 68};
        t.closeButton = {184, 64, 50};
        t.captionGlyph = {232, 234, 238};
        t.captionGlyphOutline = {22, 23, 26};
        t.control = {82, 86, 95};
        t.controlText = {236, 237, 240};
        t.controlHotText = {255, 214, 150};
        t.accent = {232, 158, 56};
        t.arrowGlyph = {214, 216, 222};
        t.menu = {48, 50, 55};
        t.menuText = {226, 228, 232};
        t.menuBar = {46, 48, 53};
        t.menuBarText = {226, 228, 232};
        t.selection = {232, 158, 56};
        t.selectionText = {20, 20, 22};
        t.well = {40, 42, 46};
        t.progress = {232, 158, 56};
        t.statusText = {214, 217, 222};
        t.gloss = 0.3;
        t.hotTint = 0.35;
        t.left = 6;
        t.right = 6;
        t.caption = 28;
        t.bottom = 6;
        t.cornerTop = 5;
        t.cornerBottom = 5;
        t.textAlignment = 1;
        t.textShift = 0;
        t.textShiftVert = 0;
        t.glowCap = 10;
        t.glowStrength = 0.5;
        t.glow = {20, 21, 24};
        t.fontHeight = 14;
        t.closeWidth = 30;
        t.buttonWidth = 30;
        t.buttonHeight = 20;
        t.buttonTop = 4;
        t.buttonGap = 2;
        t.buttonMargin = 4;
        t.buttonRadius = 2;
        t.iconX = 8;
        t.iconY = 6;
        t.controlRadius = 2;
        t.scrollSize = 16;
        t.extendedCheckStrips = true;
        t.chunkProgress = true;
        t.tabBorderPane = true;
        t.pointedTrackThumbs = true;
        t.headerFrames = 0;
        return t;
    }();
    return theme;
}
