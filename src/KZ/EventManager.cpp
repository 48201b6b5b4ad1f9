#include "KZ/EventManager.h"

#include "KZ/MouseManager.h"
#include "KZ/Space.h"

KZ_Space* KZ_EventManager::space = nullptr;
SDL_Event KZ_EventManager::event;

void KZ_EventManager::init(KZ_Space* space) {
    KZ_EventManager::space = space;
}

void KZ_EventManager::poll() {
    KZ_MouseManager::newCycle();
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_QUIT:
            // Stops after the current frame; the rest of the queue is still handled.
            if (space != nullptr) {
                space->destroy();
            }
            break;
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            KZ_MouseManager::handle(&event);
            break;
        default:
            break;
        }
    }
}
