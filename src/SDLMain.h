#ifndef SDLMAIN_H
#define SDLMAIN_H

// The program's main function. On Windows SDL's entry wrapper calls it (the
// standard streams go to files there, see KZ_Platform); elsewhere main()
// calls it. Opens the window, shows the main menu and runs the game until the
// window is closed. The arguments are not used. Returns 0.
extern "C" int SDL_main(int argc, char* argv[]);

class MainMenu;

// The main menu SDL_main() shows first, held for the life of the program (the
// display stack owns nothing, and nothing deletes scenes); null before.
extern MainMenu* mainMenu;

#endif
