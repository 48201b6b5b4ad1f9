#include "Dialogbox.h"

#include "KZ/Display.h"
#include "KZ/FontRenderer.h"
#include "KZ/MouseManager.h"
#include "KZ/Sprite.h"

#include <utility>

Dialogbox::Dialogbox(std::string fontPath)
    : fontRenderer(nullptr)
    , pressButton(nullptr)
    , bounce(0)
    , background(nullptr)
    , fontPath(fontPath)
    , text("   ")
    , done(true)
    , hidden(false)
    , staleClick(false)
    , rendered(false) {
    x = 20;
    y = KZ_Display::SCREEN_HEIGHT - 100;
    z = -1000;
}

Dialogbox::~Dialogbox() {
    Dialogbox::unloadGraphics();
}

void Dialogbox::step() {
    bounce += 1;
    while (bounce > 3)
        bounce -= 3;

    // Any new left press finishes the line, wherever the pointer is, except the
    // press that was already current when the line was set: that one belonged
    // to what came before (a verb, the previous line) and would make the new
    // line vanish before it was ever drawn.
    bool pressed = KZ_MouseManager::clickWasPressed(KZ_MouseManager::LEFT_BUTTON);
    if (!done && pressed && !staleClick)
        done = true;
    staleClick = false;
}

void Dialogbox::draw(KZ_Graphics*) {
    if (hidden)
        return;
    if (background != nullptr)
        background->draw(0, y - 12, z);
    if (!done && fontRenderer != nullptr) {
        fontRenderer->draw(x, y, z);
        if (pressButton != nullptr)
            pressButton->draw(KZ_Display::SCREEN_WIDTH - 64,
                              KZ_Display::SCREEN_HEIGHT - 64 + bounce, z);
    }
}

void Dialogbox::loadGraphics() {
    if (fontRenderer != nullptr)
        return;
    fontRenderer = new KZ_FontRenderer(fontPath, 18);
    pressButton = new KZ_Sprite("res/pressbutton.png");
    background = new KZ_Sprite("res/opaque.png");
    background->setWidth(KZ_Display::SCREEN_WIDTH);
    background->setHeight(120);
    pressButton->setWidth(40);
    pressButton->setHeight(32);

    // A fresh renderer has no text: a line still waiting (set before the first
    // load, or showing while the scene was hidden) is rendered now so that it
    // can be drawn.
    rendered = false;
    if (!done) {
        fontRenderer->renderText(text, KZ_Display::SCREEN_WIDTH - 100);
        rendered = true;
    }
}

void Dialogbox::unloadGraphics() {
    if (fontRenderer != nullptr)
        delete fontRenderer;
    if (pressButton != nullptr)
        delete pressButton;
    if (background != nullptr)
        delete background;
    fontRenderer = nullptr;
    pressButton = nullptr;
    background = nullptr;
    rendered = false;
}

void Dialogbox::setText(std::string line) {
    // Rendering uploads a texture: skip it when the same line is shown again.
    if (line != text) {
        text = std::move(line);
        rendered = false;
    }
    if (fontRenderer != nullptr && !rendered) {
        fontRenderer->renderText(text, KZ_Display::SCREEN_WIDTH - 100);
        rendered = true;
    }
    done = false;
    staleClick = KZ_MouseManager::clickWasPressed(KZ_MouseManager::LEFT_BUTTON);
}

bool Dialogbox::isDone() {
    return done;
}

void Dialogbox::hideAll() {
    hidden = true;
}

void Dialogbox::unhideAll() {
    hidden = false;
}
