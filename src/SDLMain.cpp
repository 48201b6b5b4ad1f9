#include "SDLMain.h"

#include "KZ/SerialSpace.h"
#include "KZ/Space.h"
#include "MainMenu.h"

#include <SDL/SDL.h>
#include <cstdio>

// Once "Empezar" has replaced the menu on the display stack this is its only
// owner: without it the menu and its entities would be lost, not kept.
MainMenu* mainMenu = nullptr;

extern "C" int SDL_main(int, char*[]) {
    // Line by line, so whoever reads the trace through a pipe sees each line
    // as soon as it is written.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);

    // The application object and the scenes live until the process ends;
    // nothing deletes them.
    KZ_SerialSpace* space = new KZ_SerialSpace();
    std::printf("Starting Demo\n");
    mainMenu = new MainMenu();
    KZ_Space::displayStack.push(mainMenu);
    space->serialOrchestrator();
    std::printf("Ending Demo \n");
    SDL_Quit();
    return 0;
}
