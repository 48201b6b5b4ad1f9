#include "Introduccion.h"
#include "SalaDelFaro.h"

#include "KZ/SerialSpace.h"
#include "KZ/Space.h"

// SDL.h must be included in the file that holds main(): on Windows it renames
// main() to SDL_main(), which SDL's own entry point calls.
#include <SDL/SDL.h>
#include <cstdio>

int main(int, char*[]) {
    // Line by line, so the trace and messages show up at once even in a pipe.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);

    // Opens the 640 x 480 window, titled with the game's NAME (CMakeLists.txt).
    KZ_SerialSpace* space = new KZ_SerialSpace();

    // Scenes live until the process ends: the display stack owns nothing and
    // nothing deletes them. The introduction hands over to the lamp room.
    SalaDelFaro* sala = new SalaDelFaro();
    KZ_Space::displayStack.push(new Introduccion(sala));

    // Returns when the window is closed or the game ends itself (SCommandEnd).
    space->serialOrchestrator();
    SDL_Quit();
    return 0;
}
