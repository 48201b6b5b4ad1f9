#include "KZ/2DPlanet.h"

#include "KZ/Debug.h"
#include "KZ/Invader2D.h"

#include <algorithm>

// The trace texts become strings only while tracing, so a scene with its
// trace off runs its cycle without touching the heap.
static void traceStart(bool on, const char* text) {
    if (on) {
        KZ_Debug::start(text);
    }
}

static void traceEnd(bool on, const char* text) {
    if (on) {
        KZ_Debug::end(text);
    }
}

// Every entity of a 2D planet is a 2D entity; the depth decides its place.
static int depthOf(KZ_Invader* invader) {
    return static_cast<KZ_Invader2D*>(invader)->getZ();
}

KZ_2DPlanet::KZ_2DPlanet() {}

KZ_2DPlanet::~KZ_2DPlanet() {}

void KZ_2DPlanet::showNotify() {
    traceStart(debug, "KZ_2DPlanet showNotify");
    for (KZ_Invader* invader : invaders) {
        invader->loadGraphics();
    }
    traceEnd(debug, "KZ_2DPlanet showNotify");
}

void KZ_2DPlanet::hideNotify() {
    traceStart(debug, "KZ_2DPlanet hideNotify");
    for (KZ_Invader* invader : invaders) {
        invader->unloadGraphics();
    }
    traceEnd(debug, "KZ_2DPlanet hideNotify");
}

void KZ_2DPlanet::add(KZ_Invader* invader) {
    toCreate.push_back(invader);
    invader->setPlanet(this);
}

void KZ_2DPlanet::remove(KZ_Invader* invader) {
    toDestroy.push_back(invader);
}

void KZ_2DPlanet::preCycle() {}

void KZ_2DPlanet::postCycle() {}

void KZ_2DPlanet::camera() {}

void KZ_2DPlanet::createObjects() {
    traceStart(debug, "KZ_2DPlanet createObjects");
    // The front is taken afresh each time: hooks may add entities, which are
    // created in this same phase.
    while (!toCreate.empty()) {
        KZ_Invader* invader = toCreate.front();
        // Behind every live entity of equal or greater depth, in front of the
        // first one that is nearer: back to front, equal depths in creation order.
        const int z = depthOf(invader);
        auto place = std::find_if(invaders.begin(), invaders.end(),
                                  [z](KZ_Invader* live) { return depthOf(live) < z; });
        invaders.insert(place, invader);
        invader->loadGraphics();
        invader->created();
        toCreate.erase(toCreate.begin());
    }
    traceEnd(debug, "KZ_2DPlanet createObjects");
}

void KZ_2DPlanet::updateObjects() {
    traceStart(debug, "KZ_2DPlanet updateObjects");
    // Indexed: adding and removing only touch the waiting lists, but a hook
    // must never be able to invalidate the walk.
    for (size_t i = 0; i < invaders.size(); i++) {
        invaders[i]->reserved();
    }
    for (size_t i = 0; i < invaders.size(); i++) {
        invaders[i]->step();
    }
    traceEnd(debug, "KZ_2DPlanet updateObjects");
}

void KZ_2DPlanet::drawObjects(KZ_Graphics* g) {
    traceStart(debug, "KZ_2DPlanet drawObjects");
    for (size_t i = 0; i < invaders.size(); i++) {
        invaders[i]->draw(g);
    }
    traceEnd(debug, "KZ_2DPlanet drawObjects");
}

void KZ_2DPlanet::destroyObjects() {
    traceStart(debug, "KZ_2DPlanet destroyObjects");
    while (!toDestroy.empty()) {
        KZ_Invader* invader = toDestroy.front();
        // An entity removed before it was ever created never loaded its
        // graphics nor heard created(): it is only taken out of the waiting
        // list, so that it is neither created after being deleted nor deleted twice.
        auto waiting = std::find(toCreate.begin(), toCreate.end(), invader);
        if (waiting != toCreate.end()) {
            toCreate.erase(waiting);
        } else {
            invader->destroyed();
            invader->unloadGraphics();
            auto live = std::find(invaders.begin(), invaders.end(), invader);
            if (live != invaders.end()) {
                if (debug) {
                    KZ_Debug::log("found");
                }
                invaders.erase(live);
            }
        }
        delete invader;
        toDestroy.erase(toDestroy.begin());
    }
    traceEnd(debug, "KZ_2DPlanet destroyObjects");
}
