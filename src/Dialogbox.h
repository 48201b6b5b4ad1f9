#ifndef DIALOGBOX_H
#define DIALOGBOX_H

#include "KZ/Invader2D.h"

#include <string>

class KZ_FontRenderer;
class KZ_Sprite;

// The strip along the bottom of the window in which scripted lines appear.
// setText() shows a line with a bobbing press-button icon; the next left-button
// press anywhere in the window finishes it (isDone()), after which only the
// backdrop is drawn until the next line. hideAll() switches the whole strip off
// while no script runs. Owns its sprites and text renderer while its graphics
// are loaded.
class Dialogbox : public KZ_Invader2D {
public:
    KZ_FontRenderer* fontRenderer; // the current line, rendered; owned, null while unloaded
    KZ_Sprite* pressButton;        // the "click to go on" icon, 40 x 32; owned, null while unloaded
    int bounce;                    // the icon's vertical offset: 0, then 1, 2, 3, 1, ... per step
    KZ_Sprite* background;         // the backdrop, W x 120; owned, null while unloaded
    std::string fontPath;          // the TrueType font the line is drawn with
    std::string text;              // the current line
    bool done;                     // no line is waiting for the player
    bool hidden;                   // nothing is drawn (the box still steps)
    bool staleClick;               // the press current when the line was set; it must not finish it
    bool rendered;                 // fontRenderer holds `text`, so it need not be rendered again

    // At (20, H - 100), depth -1000, done, shown, nothing loaded.
    Dialogbox(std::string fontPath);
    // Releases the graphics.
    ~Dialogbox() override;

    // Owns its graphics through raw pointers: a copy would release them twice.
    Dialogbox(const Dialogbox&) = delete;
    Dialogbox& operator=(const Dialogbox&) = delete;

    // Bobs the icon and finishes the line on a new left-button press.
    void step() override;
    // Draws the backdrop and, while a line waits, the line and the icon.
    void draw(KZ_Graphics* g) override;
    // Opens the font and loads the backdrop and icon; renders a line still waiting.
    void loadGraphics() override;
    // Releases the font renderer and both sprites.
    void unloadGraphics() override;

    // Shows `line` as a new line waiting for the player, wrapped at W - 100.
    virtual void setText(std::string line);
    // Whether no line is waiting for the player.
    virtual bool isDone();
    // Stops drawing the box; the line still finishes on a press.
    virtual void hideAll();
    // Draws the box again.
    virtual void unhideAll();
};

#endif
