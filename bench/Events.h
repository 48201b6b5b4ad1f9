#ifndef EVENTS_H
#define EVENTS_H

#include <SDL/SDL.h>

// Input for programs that play the game without a player (the benchmarks,
// the soak): events queued in SDL's own queue, read by the engine's event
// pump at the start of the next frame, as real input is.
namespace bench {

// Queues a pointer event at (x, y): SDL_MOUSEMOTION, or SDL_MOUSEBUTTONDOWN /
// SDL_MOUSEBUTTONUP of the left button; SDL_QUIT ignores the place. False
// when SDL's queue refused it.
bool pushEvent(Uint8 type, int x, int y);

} // namespace bench

#endif
