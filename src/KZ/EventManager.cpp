#include "KZ/EventManager.h"

#include "KZ/MouseManager.h"
#include "KZ/Platform.h"
#include "KZ/Space.h"

#include <vector>

KZ_Space* KZ_EventManager::space = nullptr;
SDL_Event KZ_EventManager::event;

// SDL's queue holds 128 events and silently drops the rest: a burst from the
// window system between two frames (a fast mouse, a flood of clicks) would
// lose events, among them the last release (a button held for ever) or the
// quit request (a window that does not close). SDL shows every event to the
// filter below as it reads it from the window system, before queueing it, so
// the mouse and quit events are kept here instead, in order, and handled by
// the next poll().
static std::vector<SDL_Event> arrived;
static bool quitArrived = false;

// SDL also reads the window system when someone else pumps its events, so
// `arrived` would grow for as long as no poll() runs. Past this many mouse
// events the oldest half goes: the newest events are the ones that leave the
// pointer and the buttons as they are now (the last release among them). The
// quit request is a flag of its own and is never dropped.
static const std::size_t mostArrived = 4096;

static int SDLCALL keepArrived(const SDL_Event* event) {
    switch (event->type) {
    case SDL_QUIT:
        quitArrived = true;
        return 0; // not queued: poll() handles it
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (arrived.size() >= mostArrived) {
            arrived.erase(arrived.begin(), arrived.begin() + mostArrived / 2);
        }
        arrived.push_back(*event);
        return 0; // not queued: poll() takes it from `arrived`
    default:
        return 1; // ignored by poll() anyway
    }
}

static void handle(SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        // Stops after the current frame; the rest of the events are still handled.
        if (KZ_EventManager::space != nullptr) {
            KZ_EventManager::space->destroy();
        }
        break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        KZ_Platform::pointer(&event); // in game pixels from here on
        KZ_MouseManager::handle(&event);
        break;
    default:
        break;
    }
}

// Handles the events the filter kept, oldest first.
static void handleArrived() {
    for (std::size_t i = 0; i < arrived.size(); ++i) {
        KZ_EventManager::event = arrived[i];
        handle(KZ_EventManager::event);
    }
    arrived.clear();
    if (quitArrived) {
        quitArrived = false;
        KZ_EventManager::event.type = SDL_QUIT;
        handle(KZ_EventManager::event);
    }
}

void KZ_EventManager::init(KZ_Space* space) {
    KZ_EventManager::space = space;
    // Room for the events of any ordinary frame, so frames do not allocate;
    // only a flood makes it grow, once.
    arrived.reserve(1024);
    SDL_SetEventFilter(keepArrived);
}

int KZ_EventManager::waiting() {
    return static_cast<int>(arrived.size());
}

void KZ_EventManager::poll() {
    KZ_MouseManager::newCycle();
    // Read from the window system before this cycle began.
    handleArrived();
    // Events the program queued itself (SDL_PushEvent passes no filter).
    while (SDL_PollEvent(&event)) {
        handle(event);
    }
    // Read from the window system by the polls just now.
    handleArrived();
}
