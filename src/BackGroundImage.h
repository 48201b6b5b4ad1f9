#ifndef BACKGROUNDIMAGE_H
#define BACKGROUNDIMAGE_H

#include "KZ/Invader2D.h"

#include <string>

class KZ_Sprite;

// A picture stretched over the whole window, behind everything else (depth 100).
class BackGroundImage : public KZ_Invader2D {
public:
    KZ_Sprite* sprite;     // the picture, stretched to W x H; owned, null while unloaded
    std::string imagePath; // the picture file

    // At (0, 0), depth 100; nothing loaded.
    BackGroundImage(std::string imagePath);
    // Releases the graphics.
    ~BackGroundImage() override;

    // Owns its graphics through raw pointers: a copy would release them twice.
    BackGroundImage(const BackGroundImage&) = delete;
    BackGroundImage& operator=(const BackGroundImage&) = delete;

    // Draws the picture at (x, y).
    void draw(KZ_Graphics* g) override;
    // Loads the picture and stretches it to the window's size.
    void loadGraphics() override;
    // Releases the picture.
    void unloadGraphics() override;
};

#endif
