#include "XarnClickable.h"

#include "InteractiveScenePlanet.h"

XarnClickable::XarnClickable()
    : scene(nullptr) {}

XarnClickable::XarnClickable(KZ_Observer* observer, InteractiveScenePlanet* scene)
    : scene(scene) {
    // A null observer would be called through when the scene notifies; having
    // nobody to tell is the same as telling nobody.
    if (observer != nullptr) {
        subscribe(observer, nullptr);
    }
}

XarnClickable::~XarnClickable() {}

void XarnClickable::step() {
    check();
}

void XarnClickable::clicked() {
    if (scene != nullptr) {
        scene->addClickedObject(this);
    }
}
