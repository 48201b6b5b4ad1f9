#include "XarnClickArea.h"

#include "KZ/MouseManager.h"
#include "XarnRoutedClick.h"

XarnClickArea::XarnClickArea()
    : route(nullptr) {
    x = 0;
    y = 0;
    z = 0;
}

XarnClickArea::~XarnClickArea() {
    delete route;
}

void XarnClickArea::joinScene(InteractiveScenePlanet* scene) {
    delete route;
    route = new XarnRoutedClick(scene, [this] { react(); });
}

bool XarnClickArea::mouseInside(int width, int height) const {
    int mx = KZ_MouseManager::getX();
    int my = KZ_MouseManager::getY();
    return x < mx && mx < x + width && y < my && my < y + height;
}

void XarnClickArea::pressed() {
    if (route != nullptr) {
        route->report(z);
    } else {
        react();
    }
}

void XarnClickArea::react() {
    clicked();
}
