#include "XarnTextClickable.h"

#include "KZ/Debug.h"
#include "KZ/FontRenderer.h"
#include "KZ/Sprite.h"

#include <utility>

XarnTextClickable::XarnTextClickable(std::string text, KZ_Observer* observer,
                                     InteractiveScenePlanet* scene)
    : XarnClickable(observer, scene)
    , fontRenderer(nullptr)
    , highlight(nullptr)
    , hitBox(0, 0, 0, 0)
    , text(std::move(text))
    , fontPath("res/Vera.ttf")
    , fontSize(18)
    , marginX(5)
    , marginY(5) {
    debug = false;
}

XarnTextClickable::~XarnTextClickable() {
    if (debug) {
        KZ_Debug::start("XarnTextClickable destructor");
    }
    delete fontRenderer;
    delete highlight;
    if (debug) {
        KZ_Debug::end("XarnTextClickable destructor");
    }
}

void XarnTextClickable::loadGraphics() {
    if (debug) {
        KZ_Debug::start("XarnTextClickable loadGraphics");
    }
    if (fontRenderer == nullptr) {
        fontRenderer = new KZ_FontRenderer(fontPath, fontSize);
        highlight = new KZ_Sprite("res/opaque.png");
    }
    // Rendered on every load: a renderer kept from before shows the caption
    // again, one made just now has nothing yet.
    fontRenderer->renderText(text, -1);
    highlight->setWidth(fontRenderer->getWidth() + 2 * marginX);
    highlight->setHeight(fontRenderer->getHeight() + 2 * marginY);
    if (debug) {
        KZ_Debug::end("XarnTextClickable loadGraphics");
    }
}

void XarnTextClickable::unloadGraphics() {
    if (debug) {
        KZ_Debug::start("XarnTextClickable unloadGraphics");
    }
    delete fontRenderer;
    fontRenderer = nullptr;
    delete highlight;
    highlight = nullptr;
    if (debug) {
        KZ_Debug::end("XarnTextClickable unloadGraphics");
    }
}

void XarnTextClickable::step() {
    if (debug) {
        KZ_Debug::start("XarnTextClickable step");
    }
    // The area has the backdrop's size but starts at the caption's corner.
    hitBox.x = x;
    hitBox.y = y;
    hitBox.width = fontRenderer->getWidth() + 2 * marginX;
    hitBox.height = fontRenderer->getHeight() + 2 * marginY;
    setBB(&hitBox);
    XarnClickable::step();
    if (debug) {
        KZ_Debug::end("XarnTextClickable step");
    }
}

void XarnTextClickable::draw(KZ_Graphics*) {
    if (debug) {
        KZ_Debug::start("XarnTextClickable draw");
    }
    if (highlight != nullptr && isHover()) {
        highlight->draw(x - marginX, y - marginY, z);
    }
    if (fontRenderer != nullptr) {
        fontRenderer->draw(x, y, z);
    }
    if (debug) {
        KZ_Debug::end("XarnTextClickable draw");
    }
}
