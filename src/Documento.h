#ifndef DOCUMENTO_H
#define DOCUMENTO_H

#include "XarnClickArea.h"

#include <string>

class KZ_Sprite;

// A document: a picture shown as 180 x 200 whatever its own size, reacting to a
// left-button press strictly inside it. Tests the mouse itself, whatever the
// scene's mode, unless it has joined its scene's click routing (joinScene()).
// Subclasses fill in clicked().
class Documento : public XarnClickArea {
public:
    KZ_Sprite* sprite;     // the picture, 180 x 200; owned, null while unloaded
    std::string imagePath; // the picture file

    // At (0, 0), depth 0; nothing loaded.
    Documento(std::string imagePath);
    // Releases the graphics.
    ~Documento() override;

    // On a left-button press inside the picture, prints "clicked " and calls clicked().
    void step() override;
    // Draws the picture at (x, y).
    void draw(KZ_Graphics* g) override;
    // Loads the picture and sizes it to 180 x 200.
    void loadGraphics() override;
    // Releases the picture.
    void unloadGraphics() override;

protected:
    // Prints "clicked ", then clicked(); once joined to the scene's routing,
    // only when the scene picks the document.
    void react() override;
};

#endif
