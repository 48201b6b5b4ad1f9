#include "XarnMenuOpciones.h"

#include "InteractiveScenePlanet.h"
#include "KZ/BoundingBox.h"
#include "KZ/Debug.h"
#include "KZ/Display.h"
#include "KZ/MouseManager.h"
#include "KZ/Planet.h"
#include "KZ/Sprite.h"
#include "XarnInvestigableObject.h"
#include "XarnTextClickable.h"

#include <algorithm>
#include <utility>

XarnMenuOpciones::option::option() {}

XarnMenuOpciones::XarnMenuOpciones(InteractiveScenePlanet* scene)
    : scene(scene)
    , hidden(false)
    , backdrop(nullptr) {
    z = -700;
    debug = false;
}

XarnMenuOpciones::~XarnMenuOpciones() {
    if (debug) {
        KZ_Debug::start("XarnMenuOpciones destructor");
    }
    clear();
    XarnMenuOpciones::unloadGraphics();
    if (debug) {
        KZ_Debug::end("XarnMenuOpciones destructor");
    }
}

void XarnMenuOpciones::clear() {
    if (debug) {
        KZ_Debug::start("XarnMenuOpciones clear");
    }
    // The buttons belong to the scene: it destroys and deletes each one in its
    // next destruction phase.
    for (option* entry : options) {
        getPlanet()->remove(entry->button);
        delete entry;
    }
    options.clear();
    hidden = false;
    if (debug) {
        KZ_Debug::end("XarnMenuOpciones clear");
    }
}

void XarnMenuOpciones::add(std::string text, XarnInvestigableObject* object) {
    if (debug) {
        KZ_Debug::start("XarnMenuOpciones add");
    }
    XarnTextClickable* button = new XarnTextClickable(text, this, scene);
    button->setZ(z);
    getPlanet()->add(button);
    option* entry = new option();
    entry->text = std::move(text);
    entry->button = button;
    entry->object = object;
    options.push_back(entry);
    if (debug) {
        KZ_Debug::end("XarnMenuOpciones add");
    }
}

void XarnMenuOpciones::notify(KZ_Subject* subject, void*) {
    if (debug) {
        KZ_Debug::start("XarnMenuOpciones notify");
    }
    for (option* entry : options) {
        if (static_cast<KZ_Subject*>(entry->button) == subject) {
            // The object's reaction may clear this menu and so delete `entry`:
            // nothing of it is touched once action() has been called.
            XarnInvestigableObject* object = entry->object;
            object->action(entry->text);
            break;
        }
    }
    hidden = true;
    if (debug) {
        KZ_Debug::end("XarnMenuOpciones notify");
    }
}

void XarnMenuOpciones::hide() {
    if (debug) {
        KZ_Debug::start("XarnMenuOpciones hide");
    }
    hidden = true;
    if (debug) {
        KZ_Debug::end("XarnMenuOpciones hide");
    }
}

void XarnMenuOpciones::unhide(int x, int y) {
    hidden = false;
    this->x = x;
    this->y = y;
}

void XarnMenuOpciones::forget(XarnInvestigableObject* object) {
    std::vector<option*> kept;
    for (option* entry : options) {
        if (entry->object == object) {
            getPlanet()->remove(entry->button);
            delete entry;
        } else {
            kept.push_back(entry);
        }
    }
    options.swap(kept);
}

int XarnMenuOpciones::getWidth() {
    return 100;
}

int XarnMenuOpciones::getHeight() {
    return 128;
}

void XarnMenuOpciones::step() {
    if (debug) {
        KZ_Debug::start("XarnMenuOpciones step");
    }
    // Only the nominal rectangle is kept on the screen; the buttons themselves
    // are never measured for it.
    if (x < 0) {
        x = 0;
    } else if (x + getWidth() > KZ_Display::SCREEN_WIDTH) {
        x = KZ_Display::SCREEN_WIDTH - getWidth();
    }
    if (y < 0) {
        y = 0;
    } else if (y + getHeight() > KZ_Display::SCREEN_HEIGHT) {
        y = KZ_Display::SCREEN_HEIGHT - getHeight();
    }

    // One column, each box right below the previous one. A button that has
    // not stepped yet has no box: it waits out of reach and takes no room.
    int offset = 0;
    for (option* entry : options) {
        XarnTextClickable* button = entry->button;
        button->setX(hidden ? -10000 : x);
        KZ_BoundingBox* box = button->getBB();
        if (box != nullptr) {
            button->setY(y + offset);
            offset += box->height;
        } else {
            button->setY(-10000);
        }
        button->setZ(z);
    }

    // Any left press closes the menu. A press on one of its own buttons still
    // counts: the buttons step after the menu, and the parking above only
    // happens at the next step.
    if (KZ_MouseManager::clickWasPressed(KZ_MouseManager::LEFT_BUTTON)) {
        hide();
    }
    if (debug) {
        KZ_Debug::end("XarnMenuOpciones step");
    }
}

void XarnMenuOpciones::setBackdrop(std::string path) {
    // A picture already loaded is swapped at once; otherwise the next load takes it.
    const bool loaded = backdrop != nullptr;
    XarnMenuOpciones::unloadGraphics();
    backdropPath = std::move(path);
    if (loaded) {
        XarnMenuOpciones::loadGraphics();
    }
}

void XarnMenuOpciones::loadGraphics() {
    if (backdrop == nullptr && !backdropPath.empty()) {
        backdrop = new KZ_Sprite(backdropPath);
    }
}

void XarnMenuOpciones::unloadGraphics() {
    delete backdrop;
    backdrop = nullptr;
}

void XarnMenuOpciones::draw(KZ_Graphics*) {
    if (backdrop == nullptr || hidden) {
        return;
    }
    // The column as step() laid it out: the buttons that have a box, one
    // below the other from (x, y). Drawn at the buttons' depth before them
    // (the menu joined the scene first), so they come out on top.
    int width = 0;
    int height = 0;
    for (option* entry : options) {
        KZ_BoundingBox* box = entry->button->getBB();
        if (box != nullptr && entry->button->getY() == y + height) {
            width = std::max(width, box->width);
            height += box->height;
        }
    }
    if (width == 0 || height == 0) {
        return;
    }
    backdrop->setWidth(width);
    backdrop->setHeight(height);
    backdrop->draw(x, y, z);
}
