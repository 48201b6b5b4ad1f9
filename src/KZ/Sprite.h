#ifndef KZ_SPRITE_H
#define KZ_SPRITE_H

#include "KZ/BoundingBox.h"

#include <GL/gl.h>
#include <string>

// One picture from an image file, held as an OpenGL texture and drawn as a
// textured quad at a window position (origin top-left, y down) and a depth
// (lower z is nearer). Owned by the entity that shows it, which creates it in
// its loadGraphics() and deletes it in its unloadGraphics().
class KZ_Sprite {
public:
    std::string path;         // the image file the picture comes from
    GLuint texture;           // the picture's texture, owned; 0 means none
    GLuint list;              // display-list name reserved for genLists(), owned
    KZ_BoundingBox textureBB; // size of the quad draw() covers (x, y unused)
    KZ_BoundingBox bb;        // size as callers see it (x, y unused)

    // Reserves the display list and loads the picture at once.
    KZ_Sprite(std::string path);
    // Releases the texture and the display-list name.
    ~KZ_Sprite();

    // Owns its texture and display-list name: a copy would release them twice.
    KZ_Sprite(const KZ_Sprite&) = delete;
    KZ_Sprite& operator=(const KZ_Sprite&) = delete;

    // (Re)loads the texture from `path`; the size becomes the picture's size.
    void loadGraphics();

    // Draws the picture with its top-left corner at (x, y) and depth z.
    // The top half-percent of the picture's height is left out.
    void draw(int x, int y, int z);

    // Changes the drawn width; the picture is stretched to it. A negative
    // width mirrors the picture (it runs leftwards from x).
    void setWidth(int width);
    // Changes the drawn height; the picture is stretched to it.
    void setHeight(int height);

    // The width as callers see it (bb.width).
    int getWidth();
    // The height as callers see it (bb.height).
    int getHeight();

    // Compiles the quad, at the origin, into the display list `list`.
    void genLists();

    // The address of `bb`.
    KZ_BoundingBox* getBB();
    // The address of `textureBB`.
    KZ_BoundingBox* getTextureBB();
};

#endif
