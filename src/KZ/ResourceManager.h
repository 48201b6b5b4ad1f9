#ifndef KZ_RESOURCEMANAGER_H
#define KZ_RESOURCEMANAGER_H

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <string>

class KZ_Sprite;

// Turns pictures (image files or SDL surfaces already in memory) into OpenGL
// textures. The only way the engine loads pictures. A class of static members
// only; never instantiated. Needs SDL and the OpenGL context up (KZ_Display).
//
// Every call makes a new texture (nothing is cached) with linear filtering,
// no mip-maps and the picture's own size; the texture name belongs to the
// caller from then on. A picture that cannot be read ends the program in an
// orderly way: there is no sensible picture to show in its place. A program
// that must go on (a player that shows the fault over the game) sets a fault
// handler instead.
class KZ_ResourceManager {
public:
    // Gets the line that would have ended the program.
    using FaultHandler = void (*)(const std::string& line);

    // With a handler set, a picture or font that cannot be read is handed to
    // it and the program goes on: the picture becomes one transparent texel,
    // the font draws nothing. Null (the default) ends the program.
    static void setFaultHandler(FaultHandler handler);

    // Prints `line` and ends the program, or, with a handler set, hands
    // `line` to it and returns.
    static void fault(const std::string& line);

    // Loads the image file at `path` (relative to the working directory) and
    // returns its texture name.
    static GLuint loadTexture(std::string path);

    // Loads the image file at `path` and returns its texture name; when
    // `sprite` is not null, first tells it the picture's size through
    // setWidth() and then setHeight().
    static GLuint loadTexture(std::string path, KZ_Sprite* sprite);

    // Makes a texture from a surface the caller holds and keeps.
    static GLuint sdlSurfaceToTexture(SDL_Surface* surface);

    // The smallest power of two not less than `n`, starting from 1. Values
    // above 2^30 give 2^30, the largest power of two an int holds. Inline, so
    // that programs beside the engine (the yardstick) size textures alike.
    static int powerOfTwo(int n);

    // Why the file at `path` (relative to the working directory) could not be
    // read as a `kind` ("picture", "font"), in a player's words: its folder or
    // the file itself is not there, it cannot be opened, or it is not a `kind`
    // the game reads. Said after "Could not load <path>: ".
    static std::string whyNotLoaded(const std::string& path, const std::string& kind);

private:
    // Warns about sides that are not powers of two, picks the pixel format and
    // uploads the surface into a new texture. Does not free the surface.
    static GLuint upload(SDL_Surface* surface);

    // Reports a picture that could not be read; ends the program or, with a
    // fault handler set, returns the texture that stands in for it.
    static GLuint fail(const std::string& what);

    static FaultHandler faultHandler; // null: faults end the program
};

inline int KZ_ResourceManager::powerOfTwo(int n) {
    // Doubling past 2^30 would overflow an int; no larger power of two fits.
    const int largest = 1 << 30;
    if (n > largest) {
        return largest;
    }
    int power = 1;
    while (power < n) {
        power *= 2;
    }
    return power;
}

#endif
