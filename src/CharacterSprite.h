#ifndef CHARACTERSPRITE_H
#define CHARACTERSPRITE_H

#include "KZ/Invader2D.h"

#include <string>

class KZ_Sprite;

// The portrait of a speaking character, standing on the top edge of the dialog
// strip (its bottom edge at H - 100, whatever its y). Scripts place it left,
// right or in the centre, mirror it, or hide it by moving it out of the window.
class CharacterSprite : public KZ_Invader2D {
public:
    KZ_Sprite* sprite;     // the portrait at its own size; owned, null while unloaded
    std::string imagePath; // the picture file
    bool flipped;          // the portrait is mirrored (kept across a graphics reload)

    // At x 0, depth -900; nothing loaded.
    CharacterSprite(std::string imagePath);
    // Releases the graphics.
    ~CharacterSprite() override;

    // Owns its graphics through raw pointers: a copy would release them twice.
    CharacterSprite(const CharacterSprite&) = delete;
    CharacterSprite& operator=(const CharacterSprite&) = delete;

    // Draws the portrait (mirrored if flipped) with its bottom edge at H - 100.
    void draw(KZ_Graphics* g) override;
    // Loads the picture at its own size, mirrored if the portrait is flipped.
    void loadGraphics() override;
    // Releases the picture.
    void unloadGraphics() override;

    // Against the left edge of the window.
    virtual void moveLeft();
    // Against the right edge of the window (needs the picture loaded).
    virtual void moveRight();
    // Centred horizontally in the window (needs the picture loaded).
    virtual void moveCenter();
    // Mirrors the portrait, or restores it, covering the same pixels.
    virtual void flip();
};

#endif
