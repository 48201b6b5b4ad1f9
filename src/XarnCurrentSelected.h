#ifndef XARNCURRENTSELECTED_H
#define XARNCURRENTSELECTED_H

#include "KZ/Invader2D.h"

#include <string>

class InteractiveScenePlanet;
class KZ_FontRenderer;

// The line at the bottom centre of an interactive scene naming the object
// under the mouse. Each setText() makes the text due for exactly one draw, so
// it shows while an object keeps setting it every cycle and vanishes the first
// frame nobody does; it is drawn only in interactive mode. The text is
// rendered again only when it changes.
class XarnCurrentSelected : public KZ_Invader2D {
public:
    InteractiveScenePlanet* scene; // its mode decides whether the label may be drawn; not owned
    KZ_FontRenderer* fontRenderer; // the rendered text; owned, null while unloaded
    std::string fontPath;          // the TrueType font
    std::string text;              // the text to show
    bool drawn;                    // the text has been drawn since the last setText()
    int fontSize;                  // the font's point size, 20

    // Shows nothing until the first setText(); text " Dummy ", depth -800.
    XarnCurrentSelected(std::string fontPath, InteractiveScenePlanet* scene);
    // Releases the renderer if still loaded.
    ~XarnCurrentSelected() override;

    // Owns its renderer through a raw pointer: a copy would delete it twice.
    XarnCurrentSelected(const XarnCurrentSelected&) = delete;
    XarnCurrentSelected& operator=(const XarnCurrentSelected&) = delete;

    // Does nothing: objects drive the label.
    void step() override;
    // Draws the text once per setText(), bottom centre, in interactive mode only.
    void draw(KZ_Graphics* graphics) override;
    // Creates the renderer (once) and renders the text.
    void loadGraphics() override;
    // Releases the renderer.
    void unloadGraphics() override;

    // Asks for `text` to be shown on the next draw; renders only when it changes.
    virtual void setText(const std::string& text);
};

#endif
