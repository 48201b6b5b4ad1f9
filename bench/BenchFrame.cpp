#include "BenchFrame.h"

#include <SDL/SDL.h>

namespace bench {

const char* const SHORT_LINE = "Buenos dias comisario";
const char* const LONG_LINE =
    "La causa de la muerte fue decapitamiento, el asesino le arranco brutalmente la cabeza";

void drainEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

} // namespace bench
