#include "InteractiveScenePlanet.h"

#include "KZ/Debug.h"
#include "KZ/Display.h"
#include "SCommandSay.h"
#include "XarnClickable.h"
#include "XarnCurrentSelected.h"
#include "XarnMenuOpciones.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>

InteractiveScenePlanet::InteractiveScenePlanet()
    : mode(0)
    , MODE_SCRIPT(2)
    , MODE_INTERACTIVE(4)
    , optionsMenu(nullptr)
    , currentSelected(nullptr)
    , dialogBox(nullptr) {
    // A few reports per click at most; keeping the room means an update never
    // has to grow the list.
    clickedObjects.reserve(16);
    dialogBox = new Dialogbox("res/Vera.ttf");
    optionsMenu = new XarnMenuOpciones(this);
    currentSelected = new XarnCurrentSelected("res/Vera.ttf", this);
    KZ_2DPlanet::add(dialogBox);
    KZ_2DPlanet::add(optionsMenu);
    KZ_2DPlanet::add(currentSelected);
    debug = false;
}

InteractiveScenePlanet::~InteractiveScenePlanet() {
    // The three owned entities also sit on the planet's lists. Taking them off
    // first means the destruction phase below can never reach them once they
    // are deleted, even if someone had removed one of them.
    forget(dialogBox);
    forget(optionsMenu);
    forget(currentSelected);
    delete dialogBox;
    // The menu hands its buttons back with remove() as it goes. They belong to
    // the planet, whose own destructor deletes nothing, so run one last
    // destruction phase: each button (and anything else removed and not yet
    // destroyed) is destroyed and deleted exactly once.
    delete optionsMenu;
    delete currentSelected;
    dialogBox = nullptr;
    optionsMenu = nullptr;
    currentSelected = nullptr;
    KZ_2DPlanet::destroyObjects();
}

void InteractiveScenePlanet::forget(KZ_Invader* invader) {
    for (std::vector<KZ_Invader*>* list : {&invaders, &toCreate, &toDestroy}) {
        list->erase(std::remove(list->begin(), list->end(), invader), list->end());
    }
}

void InteractiveScenePlanet::updateObjects() {
    if (debug) {
        KZ_Debug::start("InteractiveScenePlanet updateObjects");
    }
    // Chosen before the script runs: the cycle in which the last command
    // finishes is still a script cycle.
    mode = commandStack.commands.empty() ? MODE_INTERACTIVE : MODE_SCRIPT;
    if (mode == MODE_SCRIPT) {
        dialogBox->unhideAll();
        commandStack.execute();
    } else {
        dialogBox->hideAll();
    }

    clickedObjects.clear(); // keeps its capacity
    KZ_2DPlanet::updateObjects();

    // Only the nearest reporter hears the click: the lowest z, and among equal
    // depths the first to report, which is the earliest added.
    if (!clickedObjects.empty()) {
        XarnClickable* winner = clickedObjects.front();
        for (XarnClickable* candidate : clickedObjects) {
            if (candidate->getZ() < winner->getZ()) {
                winner = candidate;
            }
        }
        winner->notifyObservers();
    }
    if (debug) {
        KZ_Debug::end("InteractiveScenePlanet updateObjects");
    }
}

void InteractiveScenePlanet::drawObjects(KZ_Graphics* graphics) {
    if (debug) {
        KZ_Debug::start("InteractiveScenePlanet drawObjects");
    }
    // Looking from z -1 towards +z with the up vector pointing down the screen:
    // world y grows downwards from the top edge and lower z is nearer.
    const double h = KZ_Display::SCREEN_HEIGHT;
    gluLookAt(0, h, -1, 0, h, 0, 0, -1, 0);
    KZ_2DPlanet::drawObjects(graphics);
    if (debug) {
        KZ_Debug::end("InteractiveScenePlanet drawObjects");
    }
}

void InteractiveScenePlanet::addClickedObject(XarnClickable* object) {
    if (debug) {
        KZ_Debug::start("InteractiveScenePlanet addClickedObject");
    }
    clickedObjects.push_back(object);
    if (debug) {
        KZ_Debug::end("InteractiveScenePlanet addClickedObject");
    }
}

void InteractiveScenePlanet::say(const std::string& line, CharacterSprite* speaker) {
    commandStack.add(new SCommandSay(dialogBox, line, speaker));
}
