#include "SDLMain.h"

// Where SDL has no entry wrapper of its own, the program starts here.
int main(int argc, char* argv[]) {
    return SDL_main(argc, argv);
}
