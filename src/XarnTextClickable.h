#ifndef XARNTEXTCLICKABLE_H
#define XARNTEXTCLICKABLE_H

#include "KZ/BoundingBox.h"
#include "XarnClickable.h"

#include <string>

class KZ_FontRenderer;
class KZ_Sprite;

// A clickable line of text: the caption drawn at (x, y), with a backdrop that
// reaches the margins around it while the pointer is over it. The area starts
// at the caption's corner and is as big as the backdrop, so it reaches twice
// the margin past the caption to the right and below.
class XarnTextClickable : public XarnClickable {
public:
    KZ_FontRenderer* fontRenderer; // the rendered caption; owned, null while unloaded
    KZ_Sprite* highlight;  // the hover backdrop ("res/opaque.png"); owned, null while unloaded
    KZ_BoundingBox hitBox; // the area, recomputed every step
    std::string text;      // the caption
    std::string fontPath;  // the caption's font, "res/Vera.ttf"
    int fontSize;          // the caption's point size, 18
    int marginX;           // blank pixels left and right of the caption, 5
    int marginY;           // blank pixels above and below the caption, 5

    // A button showing `text` whose clicks reach `observer` through `scene`. Loads nothing.
    XarnTextClickable(std::string text, KZ_Observer* observer, InteractiveScenePlanet* scene);
    // Releases the graphics if still loaded.
    ~XarnTextClickable() override;

    // Owns its graphics through raw pointers, and its area points at its own
    // `hitBox`: a copy would release the graphics twice and test the original's area.
    XarnTextClickable(const XarnTextClickable&) = delete;
    XarnTextClickable& operator=(const XarnTextClickable&) = delete;

    // Fits the area to the caption, then hit-tests it.
    void step() override;
    // Draws the backdrop while hovered, then the caption.
    void draw(KZ_Graphics* graphics) override;
    // Creates the renderer and backdrop once, renders the caption and sizes the backdrop.
    void loadGraphics() override;
    // Releases the renderer and the backdrop.
    void unloadGraphics() override;
};

#endif
