#ifndef DOCUMENTO_H
#define DOCUMENTO_H

#include "KZ/Invader2D.h"

#include <string>

class KZ_Sprite;

// A document: a picture shown as 180 x 200 whatever its own size, reacting to a
// left-button press strictly inside it. Tests the mouse itself, whatever the
// scene's mode. Subclasses fill in clicked().
class Documento : public KZ_Invader2D {
public:
    KZ_Sprite* sprite;     // the picture, 180 x 200; owned, null while unloaded
    std::string imagePath; // the picture file

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
};

#endif
