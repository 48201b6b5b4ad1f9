#include "KZ/SerialSpace.h"

#include "KZ/Display.h"
#include "KZ/Displayable.h"
#include "KZ/EventManager.h"
#include "KZ/TimeManager.h"

#include <cstdio>

KZ_SerialSpace* KZ_SerialSpace::instance = nullptr;

KZ_SerialSpace::KZ_SerialSpace()
    : previousDisplayable(nullptr)
    , currentDisplayable(nullptr) {
    instance = this;
}

KZ_SerialSpace::~KZ_SerialSpace() {}

KZ_SerialSpace* KZ_SerialSpace::getInstance() {
    return instance;
}

void KZ_SerialSpace::startApp() {}

void KZ_SerialSpace::pauseApp() {}

void KZ_SerialSpace::destroyApp(bool) {}

void KZ_SerialSpace::serialOrchestrator() {
    int frameStart = KZ_TimeManager::getTicks();
    while (running) {
        while (running && !paused) {
            currentDisplayable = KZ_Space::displayStack.getTop();
            // A change of the top during the last frame takes effect here,
            // before this frame's events: old top hidden first, then new shown.
            if (currentDisplayable != previousDisplayable) {
                if (previousDisplayable != nullptr) {
                    previousDisplayable->hideNotify();
                }
                if (currentDisplayable != nullptr) {
                    currentDisplayable->showNotify();
                }
            }
            previousDisplayable = currentDisplayable;

            KZ_EventManager::poll();
            KZ_Display::cleanScreen();
            // An empty stack shows an empty frame rather than crash.
            if (currentDisplayable != nullptr) {
                currentDisplayable->display(KZ_Display::getGraphics());
            }
            KZ_Display::swapBuffers();

            // Integer budget (83 ms at 12 fps); the sleep itself is never
            // counted, and an overlong frame is reported, not caught up.
            int remaining =
                (1000 / KZ_Display::FRAMES_PER_SECOND) - (KZ_TimeManager::getTicks() - frameStart);
            if (remaining < 0) {
                std::printf("CPU OV %d\n", remaining);
                remaining = 0;
            }
            KZ_TimeManager::sleep(remaining);
            frameStart = KZ_TimeManager::getTicks();
        }
        // Paused: no frames, but the events are still pumped once per frame
        // period so that closing the window still ends the program.
        if (running) {
            KZ_EventManager::poll();
            KZ_TimeManager::sleep(1000 / KZ_Display::FRAMES_PER_SECOND);
            frameStart = KZ_TimeManager::getTicks();
        }
    }
}
