#ifndef FLOORSCENE_H
#define FLOORSCENE_H

#include <GL/gl.h>
#include <SDL/SDL_ttf.h>
#include <string>

// The yardstick's picture: the same textured quads the investigation scene
// draws (background, two portraits, four objects, the dialog strip, one line of
// text), drawn the plainest way this stack allows. Needs a current OpenGL
// context set up as the game's window is.
class FloorScene {
public:
    // Number of pictures: background, two portraits, four objects, strip, icon.
    static const int PICTURES = 9;

    FloorScene();
    // Releases textures and the font if still loaded.
    ~FloorScene();

    // Where things stand, as in the scene's two modes: while a line of the
    // script shows (one portrait in view, the strip, the line and the
    // press-button icon) or while the player investigates (both portraits
    // parked out of view, no strip, the pointed object's name at the bottom).
    enum Layout { DIALOG, INTERACTIVE };

    // Loads the pictures from `resDir` (a stand-in of the expected size for any
    // picture that is missing) and the font, and renders `line` once.
    void load(const std::string& resDir, const std::string& line, Layout layout);
    // Deletes every texture and closes the font.
    void unload();

    // Puts the scenes' camera on the model-view matrix and draws every quad.
    void draw();

    // Renders `line` with SDL_ttf into the text texture, replacing the old one.
    void renderText(const std::string& line);

    // How many pictures had to be replaced by stand-ins.
    int standIns() const { return standInCount; }

private:
    struct Quad {
        GLuint texture; // owned
        int x, y, z;    // top-left corner in window pixels, depth
        int w, h;       // drawn size
    };
    Quad quads[PICTURES];
    Quad text;
    TTF_Font* font; // owned
    int standInCount;
    Layout layout;

    // Loads one picture; `w` and `h` give the stand-in's size and receive the
    // picture's own size.
    GLuint loadPicture(const std::string& path, int* w, int* h);
    static GLuint upload(SDL_Surface* surface);
    static void drawQuad(const Quad& q, double top);
};

#endif
