#ifndef KZ_PLATFORM_H
#define KZ_PLATFORM_H

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
};

#endif
