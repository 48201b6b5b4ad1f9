#include "KZ/MouseManager.h"

#include "KZ/TimeManager.h"

int KZ_MouseManager::x = -1;
int KZ_MouseManager::y = -1;
int KZ_MouseManager::buttons = 2;
int KZ_MouseManager::doubleClickTimeframe = 500;
int KZ_MouseManager::LEFT_BUTTON = 0;
int KZ_MouseManager::RIGHT_BUTTON = 1;
int KZ_MouseManager::currentStatus[2] = {0, 0};
int KZ_MouseManager::previousStatus[2] = {0, 0};
int KZ_MouseManager::lastClick[2] = {0, 0};
int KZ_MouseManager::doubleClick[2] = {0, 0};

void KZ_MouseManager::newCycle() {
    for (int i = 0; i < buttons; i++) {
        previousStatus[i] = currentStatus[i];
        // A release shows for exactly one cycle.
        if (currentStatus[i] < 0) {
            currentStatus[i] = 0;
        }
        doubleClick[i] = 0;
    }
}

void KZ_MouseManager::handle(SDL_Event* event) {
    if (event->type == SDL_MOUSEMOTION) {
        x = event->motion.x;
        y = event->motion.y;
        return;
    }
    // Button events carry the position too: a press moves the pointer even
    // without a motion event before it.
    x = event->button.x;
    y = event->button.y;

    int index;
    if (event->button.button == SDL_BUTTON_LEFT) {
        index = LEFT_BUTTON;
    } else if (event->button.button == SDL_BUTTON_RIGHT) {
        index = RIGHT_BUTTON;
    } else {
        return; // middle button and wheel: position only
    }

    if (event->type == SDL_MOUSEBUTTONDOWN) {
        // Press to press, same button; releases play no part.
        if (KZ_TimeManager::getTicks() - lastClick[index] < doubleClickTimeframe) {
            doubleClick[index] = 1;
        }
        lastClick[index] = KZ_TimeManager::getTicks();
        currentStatus[index] = 1;
    } else if (event->type == SDL_MOUSEBUTTONUP) {
        currentStatus[index] = -1;
    }
}

bool KZ_MouseManager::clickWasPressed(int button) {
    // Also true for a press and release within one cycle (-1 after 0), so a
    // quick click is never missed.
    return currentStatus[button] != 0 && previousStatus[button] <= 0;
}

bool KZ_MouseManager::clickIsPressed(int button) {
    return currentStatus[button] == 1;
}

bool KZ_MouseManager::clickIsReleased(int button) {
    return currentStatus[button] == -1;
}

bool KZ_MouseManager::clickDoubleClick(int button) {
    return doubleClick[button] != 0;
}

int KZ_MouseManager::getX() {
    return x;
}

int KZ_MouseManager::getY() {
    return y;
}
