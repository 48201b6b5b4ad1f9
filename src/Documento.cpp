#include "Documento.h"

#include "KZ/MouseManager.h"
#include "KZ/Sprite.h"

#include <cstdio>

Documento::Documento(std::string imagePath)
    : sprite(nullptr)
    , imagePath(imagePath) {}

Documento::~Documento() {
    Documento::unloadGraphics();
}

void Documento::react() {
    std::fputs("clicked \n", stdout);
    clicked();
}

void Documento::step() {
    // Hit-tested only in the cycle the left button goes down; without its
    // picture the document has no area to hit.
    if (!KZ_MouseManager::clickWasPressed(KZ_MouseManager::LEFT_BUTTON) || sprite == nullptr)
        return;
    if (mouseInside(sprite->getWidth(), sprite->getHeight()))
        pressed();
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
