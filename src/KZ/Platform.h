#ifndef KZ_PLATFORM_H
#define KZ_PLATFORM_H

union SDL_Event;

// What differs between the systems the engine runs on. SDL and OpenGL already
// hide almost everything; the little that is left lives in one source per
// system, src/KZ/platform/<system>.cpp, which the build picks. The rest of the
// engine is the same code everywhere and never asks which system it is on.
// A class of static members only; never instantiated.
class KZ_Platform {
public:
    // Called by KZ_Display::init() before SDL starts: whatever the system needs
    // in place before the first line is printed or the window opens.
    static void start();

    // Called with the game's screen size just before the window opens; sets
    // the size the window opens at, where the system's SDL does not enlarge
    // the window itself. Unchanged where it does (or nothing is enlarged).
    static void windowSize(int& width, int& height);
    // Called once the window and its OpenGL context are there, before the
    // engine sets its OpenGL state.
    static void windowOpened();
    // Called with every frame just before it is shown.
    static void beforeSwap();
    // Called with every mouse event before the engine reads it: brings a
    // position in window pixels back to game pixels where the two differ.
    static void pointer(SDL_Event* event);
};

#endif
