#include "Documento.h"

#include "KZ/MouseManager.h"
#include "KZ/Sprite.h"
#include "XarnRoutedClick.h"

#include <cstdio>

Documento::Documento(std::string imagePath)
    : sprite(nullptr)
    , imagePath(imagePath)
    , route(nullptr) {
    x = 0;
    y = 0;
    z = 0;
}

Documento::~Documento() {
    Documento::unloadGraphics();
    delete route;
}

void Documento::joinScene(InteractiveScenePlanet* scene) {
    delete route;
    route = new XarnRoutedClick(scene, [this] {
        std::fputs("clicked \n", stdout);
        clicked();
    });
}

void Documento::step() {
    // Hit-tested only in the cycle the left button goes down; without its
    // picture the document has no area to hit.
    if (!KZ_MouseManager::clickWasPressed(KZ_MouseManager::LEFT_BUTTON) || sprite == nullptr)
        return;
    int mx = KZ_MouseManager::getX();
    int my = KZ_MouseManager::getY();
    if (x < mx && mx < x + sprite->getWidth() && y < my && my < y + sprite->getHeight()) {
        if (route != nullptr) {
            route->report(z);
            return;
        }
        std::fputs("clicked \n", stdout);
        clicked();
    }
}

void Documento::draw(KZ_Graphics*) {
    if (sprite != nullptr)
        sprite->draw(x, y, z);
}

void Documento::loadGraphics() {
    if (sprite != nullptr)
        return;
    // Shown and hit-tested at a fixed size, whatever the picture's own.
    sprite = new KZ_Sprite(imagePath);
    sprite->setWidth(180);
    sprite->setHeight(200);
}

void Documento::unloadGraphics() {
    if (sprite != nullptr)
        delete sprite;
    sprite = nullptr;
}
