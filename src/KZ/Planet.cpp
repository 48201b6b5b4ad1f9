#include "KZ/Planet.h"

KZ_Planet::KZ_Planet()
    : debug(true) {}

void KZ_Planet::display(KZ_Graphics* g) {
    preCycle();
    createObjects();
    updateObjects();
    camera();
    drawObjects(g);
    // After drawing: an entity removed during this update is still drawn once.
    destroyObjects();
    postCycle();
}

void KZ_Planet::preCycle() {}

void KZ_Planet::postCycle() {}

void KZ_Planet::camera() {}

void KZ_Planet::createObjects() {}

void KZ_Planet::updateObjects() {}

void KZ_Planet::drawObjects(KZ_Graphics*) {}

void KZ_Planet::destroyObjects() {}
