#include "XarnInvestigableObject.h"

#include "InteractiveScenePlanet.h"
#include "KZ/BoundingBox.h"
#include "KZ/Debug.h"
#include "KZ/Display.h"
#include "SCommandSay.h"
#include "XarnCurrentSelected.h"
#include "XarnMenuOpciones.h"

XarnInvestigableObject::option::option() {}

XarnInvestigableObject::XarnInvestigableObject(InteractiveScenePlanet* scene)
    : XarnClickable(static_cast<KZ_Observer*>(this), scene)
    , hablar(nullptr)
    , examinar(nullptr)
    , recoger(nullptr)
    , mover(nullptr) {
    options.reserve(4);
    option** fields[] = {&hablar, &examinar, &recoger, &mover};
    const char* verbs[] = {"Hablar", "Examinar", "Recoger", "Mover"};
    for (int i = 0; i < 4; i++) {
        option* verb = new option();
        verb->text = verbs[i];
        verb->enabled = true;
        verb->index = static_cast<int>(options.size());
        *fields[i] = verb;
        options.push_back(verb);
    }
    z = 0;
    name = " Change this dummy text ";
    debug = false;
}

XarnInvestigableObject::~XarnInvestigableObject() {
    delete hablar;
    delete examinar;
    delete recoger;
    delete mover;
}

void XarnInvestigableObject::step() {
    if (debug) {
        KZ_Debug::start("XarnInvestigableObject step");
    }
    check();
    // Set on every hovered cycle: the label shows a text once per setText(),
    // so this is what keeps it on screen. An object without a scene has no
    // label to name itself in.
    if (isHover() && scene != nullptr) {
        scene->currentSelected->setText(name);
    }
    if (debug) {
        KZ_Debug::end("XarnInvestigableObject step");
    }
}

void XarnInvestigableObject::destroyed() {
    XarnClickable::destroyed();
    // When the scene itself goes, its menu is deleted before the last
    // removed entities are destroyed: there is nothing left to tidy then.
    if (scene != nullptr && scene->optionsMenu != nullptr) {
        scene->optionsMenu->forget(this);
    }
}

void XarnInvestigableObject::notify(KZ_Subject* subject, void*) {
    if (debug) {
        KZ_Debug::start("XarnInvestigableObject notify");
    }
    // Clicks on objects are ignored while a script plays.
    if (subject == static_cast<KZ_Subject*>(this) && scene != nullptr &&
        scene->mode == scene->MODE_INTERACTIVE) {
        XarnMenuOpciones* menu = scene->optionsMenu;
        menu->clear();
        for (option* verb : options) {
            if (verb->enabled) {
                menu->add(verb->text, this);
            }
        }
        // Beside the object, on the side with more room; centred on it vertically.
        KZ_BoundingBox* box = getBB();
        const int menuX = x > KZ_Display::SCREEN_WIDTH / 2 ? x - menu->getWidth() : x + box->width;
        const int menuY = y + box->height / 2 - menu->getHeight() / 2;
        menu->unhide(menuX, menuY);
    }
    if (debug) {
        KZ_Debug::end("XarnInvestigableObject notify");
    }
}

void XarnInvestigableObject::action(std::string) {}

void XarnInvestigableObject::say(const std::string& line) {
    scene->commandStack.add(new SCommandSay(scene->dialogBox, line, nullptr));
}
