#include "XarnCurrentSelected.h"

#include "InteractiveScenePlanet.h"
#include "KZ/Display.h"
#include "KZ/FontRenderer.h"

#include <cassert>
#include <utility>

XarnCurrentSelected::XarnCurrentSelected(std::string fontPath, InteractiveScenePlanet* scene)
    : scene(scene)
    , fontRenderer(nullptr)
    , fontPath(std::move(fontPath))
    , text(" Dummy ")
    , drawn(true)
    , fontSize(20) {
    z = -800;
}

XarnCurrentSelected::~XarnCurrentSelected() {
    // Normally unloadGraphics() has released it already; a label deleted with
    // its graphics loaded (its scene going away while shown) must not leak it.
    delete fontRenderer;
}

void XarnCurrentSelected::step() {}

void XarnCurrentSelected::setText(const std::string& text) {
    // Objects call this on every hovered cycle: render only a new text, and
    // otherwise just make the current one due again.
    if (text != this->text) {
        this->text = text;
        if (fontRenderer != nullptr) {
            fontRenderer->renderText(this->text, KZ_Display::SCREEN_WIDTH - 100);
        }
    }
    drawn = false;
}

void XarnCurrentSelected::loadGraphics() {
    if (fontRenderer != nullptr) {
        return;
    }
    fontRenderer = new KZ_FontRenderer(fontPath, fontSize);
    fontRenderer->renderText(text, KZ_Display::SCREEN_WIDTH - 100);
}

void XarnCurrentSelected::unloadGraphics() {
    delete fontRenderer;
    fontRenderer = nullptr;
}

void XarnCurrentSelected::draw(KZ_Graphics*) {
    if (drawn) {
        return;
    }
    // Kept due until the scene is interactive again: a name set during a
    // script is shown once on the first interactive frame.
    if (scene->mode != scene->MODE_INTERACTIVE) {
        return;
    }
    // clang-format off
    assert(fontRenderer!=0);
    // clang-format on
    const int w = fontRenderer->getWidth();
    const int h = fontRenderer->getHeight();
    fontRenderer->draw(KZ_Display::SCREEN_WIDTH / 2 - w / 2, KZ_Display::SCREEN_HEIGHT - h, z);
    drawn = true;
}
