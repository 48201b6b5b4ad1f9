#ifndef XARNTOPICO_H
#define XARNTOPICO_H

#include "XarnClickArea.h"

#include <string>

class KZ_FontRenderer;
class KZ_Sprite;

// A topic: one line of text with a highlight bar drawn while the mouse is over
// its fixed width x height area, and a reaction to a click inside it. Tests the
// mouse itself, whatever the scene's mode, unless it has joined its scene's
// click routing (joinScene()). Subclasses fill in clicked().
class XarnTopico : public XarnClickArea {
public:
    KZ_Sprite* sprite;             // the highlight bar, width x height; owned, null while unloaded
    KZ_FontRenderer* fontRenderer; // the text on one line; owned, null while unloaded
    std::string fontPath;          // the font, "res/Vera.ttf"
    std::string text;              // the topic's text
    int height;                    // height of the hit area and the bar (20)
    int width;                     // width of the hit area and the bar (200)
    bool hover;                    // the mouse is strictly inside the area

    // At (0, 0), depth 10, 200 x 20; nothing loaded.
    XarnTopico(std::string text);
    // Releases the graphics.
    ~XarnTopico() override;

    // Hover test; calls clicked() once on a left-button press inside the area.
    void step() override;
    // Draws the bar while hovered, then the text, at (x, y).
    void draw(KZ_Graphics* g) override;
    // Renders the text on one line and loads the bar.
    void loadGraphics() override;
    // Releases the text renderer and the bar.
    void unloadGraphics() override;
};

#endif
