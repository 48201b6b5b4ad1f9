#include "BackGroundImage.h"

#include "KZ/Display.h"
#include "KZ/Sprite.h"

BackGroundImage::BackGroundImage(std::string imagePath)
    : sprite(nullptr)
    , imagePath(imagePath) {
    x = 0;
    y = 0;
    z = 100;
}

BackGroundImage::~BackGroundImage() {
    BackGroundImage::unloadGraphics();
}

void BackGroundImage::draw(KZ_Graphics*) {
    if (sprite != nullptr)
        sprite->draw(x, y, z);
}

void BackGroundImage::loadGraphics() {
    if (sprite != nullptr)
        return;
    sprite = new KZ_Sprite(imagePath);
    sprite->setWidth(KZ_Display::SCREEN_WIDTH);
    sprite->setHeight(KZ_Display::SCREEN_HEIGHT);
}

void BackGroundImage::unloadGraphics() {
    if (sprite != nullptr)
        delete sprite;
    sprite = nullptr;
}
