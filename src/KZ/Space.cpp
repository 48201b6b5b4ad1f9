#include "KZ/Space.h"

#include "KZ/Display.h"
#include "KZ/EventManager.h"

KZ_DisplayStack KZ_Space::displayStack;

KZ_Space::KZ_Space() {
    KZ_Display::init();
    KZ_EventManager::init(this);
    running = true;
    paused = false;
}

void KZ_Space::destroy() {
    running = false;
    paused = false;
    destroyApp(true);
}

void KZ_Space::pause() {
    paused = true;
    pauseApp();
}

void KZ_Space::unpause() {
    paused = false;
    startApp();
}
