#include "KZ/Platform.h"

// On Linux SDL and the C library already do everything the engine needs.
void KZ_Platform::start() {}

// The window is enlarged, if at all, by SDL itself (sdl12-compat on Linux, the
// page in a browser): the game's screen is the window's as far as it knows.
void KZ_Platform::windowSize(int&, int&) {}

void KZ_Platform::windowOpened() {}

void KZ_Platform::beforeSwap() {}

void KZ_Platform::pointer(SDL_Event*) {}
