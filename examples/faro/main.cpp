#include "Introduccion.h"
#include "SalaDelFaro.h"

#include "KZ/SerialSpace.h"
#include "KZ/Space.h"

#include <SDL/SDL.h>
#include <cstdio>

// The game's main function. SDL's entry wrapper calls it on Windows; main()
// below calls it elsewhere.
extern "C" int SDL_main(int, char*[]) {
    // Line by line, so the trace and messages show up at once even in a pipe.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);

    // Opens the 640 x 480 window (titled "Demo" by the engine: we rename it).
    KZ_SerialSpace* space = new KZ_SerialSpace();
    SDL_WM_SetCaption("El faro", nullptr);

    // Scenes live until the process ends: the display stack owns nothing and
    // nothing deletes them. The introduction hands over to the lamp room.
    SalaDelFaro* sala = new SalaDelFaro();
    KZ_Space::displayStack.push(new Introduccion(sala));

    space->serialOrchestrator(); // returns when the window is closed
    SDL_Quit();
    return 0;
}

int main(int argc, char* argv[]) {
    return SDL_main(argc, argv);
}
