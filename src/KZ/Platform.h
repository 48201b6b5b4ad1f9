#ifndef KZ_PLATFORM_H
#define KZ_PLATFORM_H

#include <string>

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

    // The folder where a game keeps what it writes for its player, such as
    // its saves: $XDG_DATA_HOME or ~/.local/share on Linux, %APPDATA% on
    // Windows, the browser's own storage for a page. Empty when the system
    // names none (then nothing is kept).
    static std::string dataFolder();
    // Puts the finished file `from` in the place of `to` in one step, the new
    // bytes safely on the disk (or in the browser's storage) first, so that
    // `to` holds its old or its new content at every moment, whenever the
    // program is killed or the disk fills. False, `to` untouched, on failure.
    static bool replaceFile(const std::string& from, const std::string& to);
};

#endif
