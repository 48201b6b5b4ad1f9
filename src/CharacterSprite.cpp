#include "CharacterSprite.h"

#include "KZ/Display.h"
#include "KZ/Sprite.h"

#include <cstdlib>

CharacterSprite::CharacterSprite(std::string imagePath)
    : sprite(nullptr)
    , imagePath(imagePath)
    , flipped(false) {
    x = 0;
    y = 0;
    z = -900;
}

CharacterSprite::~CharacterSprite() {
    CharacterSprite::unloadGraphics();
}

void CharacterSprite::draw(KZ_Graphics*) {
    if (sprite == nullptr)
        return;
    // The portrait stands on the dialog strip: its y is not used.
    int top = KZ_Display::SCREEN_HEIGHT - sprite->getHeight() - 100;
    if (flipped)
        sprite->draw(x - sprite->getWidth(), top, z); // negative width: runs leftwards to x
    else
        sprite->draw(x, top, z);
}

void CharacterSprite::loadGraphics() {
    if (sprite != nullptr)
        return;
    sprite = new KZ_Sprite(imagePath);
    // The picture comes back from disk unmirrored; a flipped portrait must look
    // and be placed as it did before the scene was hidden.
    if (flipped)
        sprite->setWidth(-sprite->getWidth());
}

void CharacterSprite::unloadGraphics() {
    if (sprite != nullptr)
        delete sprite;
    sprite = nullptr;
}

void CharacterSprite::moveLeft() {
    x = 0;
}

void CharacterSprite::moveRight() {
    // Without the picture there is no width to place it by.
    if (sprite == nullptr)
        return;
    x = KZ_Display::SCREEN_WIDTH - std::abs(sprite->getWidth());
}

void CharacterSprite::moveCenter() {
    if (sprite == nullptr)
        return;
    x = KZ_Display::SCREEN_WIDTH / 2 - std::abs(sprite->getWidth() / 2);
}

void CharacterSprite::flip() {
    // While unloaded only the flag changes; loadGraphics() mirrors the picture.
    if (sprite != nullptr)
        sprite->setWidth(-sprite->getWidth());
    flipped = !flipped;
}
