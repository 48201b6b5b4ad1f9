#include "XarnTopico.h"

#include "KZ/FontRenderer.h"
#include "KZ/MouseManager.h"
#include "KZ/Sprite.h"

XarnTopico::XarnTopico(std::string text)
    : sprite(nullptr)
    , fontRenderer(nullptr)
    , fontPath("res/Vera.ttf")
    , text(text)
    , height(20)
    , width(200)
    , hover(true) {
    z = 10;
}

XarnTopico::~XarnTopico() {
    XarnTopico::unloadGraphics();
}

void XarnTopico::step() {
    // The fixed area, not the rendered text's size.
    if (mouseInside(width, height)) {
        if (KZ_MouseManager::clickWasPressed(KZ_MouseManager::LEFT_BUTTON))
            pressed();
        hover = true;
    } else {
        hover = false;
    }
}

void XarnTopico::draw(KZ_Graphics*) {
    if (fontRenderer == nullptr)
        return;
    if (hover && sprite != nullptr)
        sprite->draw(x, y, z);
    fontRenderer->draw(x, y, z);
}

void XarnTopico::loadGraphics() {
    if (fontRenderer != nullptr)
        return;
    fontRenderer = new KZ_FontRenderer(fontPath, 18);
    fontRenderer->renderText(text, -1);
    sprite = new KZ_Sprite("res/opaque.png");
    sprite->setWidth(width);
    sprite->setHeight(height);
}

void XarnTopico::unloadGraphics() {
    if (fontRenderer != nullptr)
        delete fontRenderer;
    if (sprite != nullptr)
        delete sprite;
    fontRenderer = nullptr;
    sprite = nullptr;
}
