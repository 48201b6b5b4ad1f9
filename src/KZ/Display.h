#ifndef KZ_DISPLAY_H
#define KZ_DISPLAY_H

#include <string>

class KZ_Graphics;

// The window, its OpenGL context and the program-wide screen settings.
// A class of static members only; never instantiated.
class KZ_Display {
public:
    // Screen settings. Zero until init() runs; init() sets them first of all,
    // whether or not the rest of the set-up succeeds. Read directly by scenes
    // and entities to place things against the window's size.
    static int SCREEN_WIDTH;      // 640
    static int SCREEN_HEIGHT;     // 480
    static int SCREEN_BPP;        // 32
    static int FRAMES_PER_SECOND; // 12

    // The handle returned by getGraphics(); always null.
    static KZ_Graphics* graphics;

    // The window's title, "Demo" unless the program names itself before
    // init() (kz_add_game() does, from the game's NAME).
    static const char* title;

    // Brings up SDL, SDL_ttf, the 640 x 480 window (`title`) and the fixed OpenGL
    // state, then prints "Graphic initialization successful ". On a desktop at
    // least twice that size in both directions the window is shown at the
    // largest whole multiple that fits (unless the player set
    // SDL12COMPAT_WINDOW_SCALING); the screen and the pointer stay 640 x 480
    // all the same. When a step
    // fails, prints SDL's error text on one line and ends the program with
    // status 1: there is nothing to play without a window.
    static void init();

    // The drawing handle passed to display() and draw(): null.
    static KZ_Graphics* getGraphics();

    // Clears colour and depth and resets the model-view matrix; start of a frame.
    static void cleanScreen();

    // Presents the frame drawn since cleanScreen().
    static void swapBuffers();

    // Ends the program in an orderly way after a fatal problem (a window that
    // cannot be opened, a picture or font that cannot be read): prints `line`
    // and a newline to standard output, shuts SDL down and exits with status 1.
    [[noreturn]] static void quitWithError(const std::string& line);
};

#endif
