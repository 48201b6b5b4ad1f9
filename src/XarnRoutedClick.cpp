#include "XarnRoutedClick.h"

#include "InteractiveScenePlanet.h"

#include <utility>

XarnRoutedClick::XarnRoutedClick(InteractiveScenePlanet* scene, std::function<void()> reaction)
    : XarnClickable(nullptr, scene)
    , reaction(std::move(reaction)) {
    subscribe(this, nullptr);
}

void XarnRoutedClick::report(int z) {
    // The scene compares depths when it picks the nearest report.
    setZ(z);
    clicked();
}

void XarnRoutedClick::notify(KZ_Subject*, void*) {
    if (scene->mode == scene->MODE_INTERACTIVE && reaction) {
        reaction();
    }
}
