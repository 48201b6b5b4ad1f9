#include "SDLMain.h"

#include "KZ/SerialSpace.h"
#include "KZ/Space.h"
#include "MainMenu.h"

#include <SDL/SDL.h>
#include <cstdio>

extern "C" int SDL_main(int, char*[]) {
    // Line by line, so whoever reads the trace through a pipe sees each line
    // as soon as it is written.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);

    // The application object and the scenes live until the process ends;
    // nothing deletes them.
    KZ_SerialSpace* space = new KZ_SerialSpace();
    std::printf("Starting Demo\n");
    MainMenu* menu = new MainMenu();
    KZ_Space::displayStack.push(menu);
    space->serialOrchestrator();
    std::printf("Ending Demo \n");
    SDL_Quit();
    return 0;
}
