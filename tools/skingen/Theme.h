// Theme: the design choices of one skin (palette, frame and control metrics, and which of the
// engine's alternative layouts its bitmaps use); every picture and key is derived from it.
#pragma once

#include "tools/skingen/Image.h"

struct Theme {
    const char* folder = "";    // output folder name under skins/
    const char* iniName = "";   // name of the definition file inside the package
    const char* skinName = "";  // "SkinName" of [TitlebarSkin]

    // Palette. The face is the window's background ("ButtonFace"); the chrome colours paint frame
    // and caption; the control colour is the base of buttons, thumbs and tabs; the accent marks hot
    // and selected states.
    Rgb face;
    Rgb faceText;    // "ButtonText", "WindowText"
    Rgb shadow;      // "ButtonShadow"
    Rgb darkShadow;  // "ButtonDkShadow"
    Rgb light;       // "Buttonlight"
    Rgb highlight;   // "ButtonHilight"
    Rgb chrome;      // caption and frame, active window
    Rgb chromeInactive;
    Rgb titleText;
    Rgb titleTextInactive;
    Rgb captionButton;  // base of maximize, minimize, restore
    Rgb closeButton;    // base of the close button
    Rgb captionGlyph;
    Rgb captionGlyphOutline;
    Rgb control;      // base of push buttons, scroll thumbs and arrows, up-down, combo button
    Rgb controlText;  // text drawn on control pictures (NormalColour2)
    Rgb controlHotText;
    Rgb accent;
    Rgb arrowGlyph;  // arrows of scroll bars, up-down and combo buttons
    Rgb menu;
    Rgb menuText;
    Rgb menuBar;
    Rgb menuBarText;
    Rgb selection;      // "Hilight"
    Rgb selectionText;  // "HilightText"
    Rgb well;           // inside of check boxes, radio buttons, tracks and the progress channel
    Rgb progress;
    Rgb statusText;
    double gloss = 1.0;    // 1 glassy highlights, lower values flatter
    double hotTint = 1.0;  // how strongly hot states take on the accent (1 full, lower subtler)

    // Frame. Side widths, caption strip height and bottom height in pixels; corner radii of the
    // window shape (the corners are cut out in magenta, so the window region is rounded).
    int left = 4;
    int right = 4;
    int caption = 23;
    int bottom = 4;
    double cornerTop = 7;
    double cornerBottom = 3;

    // Caption text: alignment 0 left, 1 centre, 2 right; shifts as the engine reads them. The right
    // clip is derived from the caption buttons.
    int textAlignment = 0;
    int textShift = 0;
    int textShiftVert = 0;
    int glowCap = 8;            // TXTBackleft / TXTBackRight of the text glow
    double glowStrength = 0.6;  // 0: no glow picture
    Rgb glow;
    int fontHeight = 13;

    // Caption buttons (close at the right, then maximize/restore, then minimize), and the icon.
    int closeWidth = 40;
    int buttonWidth = 26;
    int buttonHeight = 18;
    int buttonTop = 1;
    int buttonGap = 1;
    int buttonMargin = 2;  // between the close button and the right side
    double buttonRadius = 3;
    int iconX = 8;
    int iconY = 3;

    // Controls.
    double controlRadius = 3;
    int scrollSize = 17;  // thickness of scroll bars and side of the arrow cells

    // Alternative layouts of the engine, so that two skins exercise different code paths.
    bool extendedCheckStrips = false;  // 12-cell check box and 8-cell radio strips (else 4 cells)
    bool chunkProgress = false;        // "Progress" Style 1 with a "Progress.Chunk" picture
    bool tabBorderPane = false;        // "Tabs" Style 0, pane in its "Border" key (else Tab.Pane)
    bool pointedTrackThumbs = false;   // pointed thumbs for the Up/Down/Left/Right track-bar sections
    int headerFrames = 3;              // frame key of "Headerbar"; 0 writes no key (the engine uses 5)
};

const Theme& DefaultTheme();
const Theme& GraphiteTheme();
