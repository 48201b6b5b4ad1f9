#ifndef DOCUMENTO_H
#define DOCUMENTO_H

#include "KZ/Invader2D.h"

#include <string>

class InteractiveScenePlanet;
class KZ_Sprite;
class XarnRoutedClick;

// A document: a picture shown as 180 x 200 whatever its own size, reacting to a
// left-button press strictly inside it. Tests the mouse itself, whatever the
// scene's mode, unless it has joined its scene's click routing (joinScene()).
// Subclasses fill in clicked().
class Documento : public KZ_Invader2D {
public:
    KZ_Sprite* sprite;      // the picture, 180 x 200; owned, null while unloaded
    std::string imagePath;  // the picture file
    XarnRoutedClick* route; // the scene's click routing once joined; owned, null before

    // At (0, 0), depth 0; nothing loaded.
    Documento(std::string imagePath);
    // Releases the graphics.
    ~Documento() override;

    // Owns its graphics through raw pointers: a copy would release them twice.
    Documento(const Documento&) = delete;
    Documento& operator=(const Documento&) = delete;

    // On a left-button press inside the picture, prints "clicked " and calls clicked().
    void step() override;
    // Draws the picture at (x, y).
    void draw(KZ_Graphics* g) override;
    // Loads the picture and sizes it to 180 x 200.
    void loadGraphics() override;
    // Releases the picture.
    void unloadGraphics() override;

    // The reaction to a click on the document.
    virtual void clicked() = 0;

    // From now on a press on the document goes through `scene`'s click
    // routing: "clicked " and clicked() come only when nothing nearer was
    // clicked in the same frame and no script is playing.
    void joinScene(InteractiveScenePlanet* scene);
};

#endif
