#ifndef KZ_PLATFORM_EMSCRIPTEN_H
#define KZ_PLATFORM_EMSCRIPTEN_H

// Included ahead of every source of the browser build (cmake/helpers/web.cmake).
// Emscripten's SDL keeps SDL 1.2's functions but ships the headers of a later
// SDL, in which a few of them have other signatures; the SDL 1.2 forms the
// engine uses are declared here, so its sources stay the same everywhere.

#include <SDL/SDL.h>

// SDL 1.2's event filter. The engine's filter takes the mouse and quit events
// out of SDL's fixed-size queue so that none is dropped; Emscripten's queue
// has no such limit and delivers every event to SDL_PollEvent in order, which
// handles them the same way, so no filter is needed here.
inline void SDL_SetEventFilter(int(SDLCALL*)(const SDL_Event*)) {}

#endif
