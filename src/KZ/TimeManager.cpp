#include "KZ/TimeManager.h"

#include <SDL/SDL.h>

int KZ_TimeManager::getTicks() {
    return static_cast<int>(SDL_GetTicks());
}

void KZ_TimeManager::sleep(int milliseconds) {
    if (milliseconds > 0) {
        SDL_Delay(static_cast<Uint32>(milliseconds));
    }
}
