#include "Introduccion.h"

#include "BackGroundImage.h"
#include "CharacterSprite.h"
#include "KZ/Space.h"
#include "SCommandMoveCenter.h"
#include "SCommandSay.h"

Introduccion::Introduccion(KZ_Displayable* siguiente) {
    // A ScenePlanet traces every cycle on standard output until told not to.
    debug = false;

    // The scene owns what it is given; pictures load when it is first shown.
    CharacterSprite* farero = new CharacterSprite("res/farero.png");
    add(new BackGroundImage("res/faro.png"));
    add(farero);

    // The script runs in order, one command after another: a say command
    // waits for the click that takes its line away.
    commandStack.add(new SCommandMoveCenter(farero));
    commandStack.add(new SCommandSay(dialogBox, "Por fin llegas, aprendiz", farero));
    commandStack.add(
        new SCommandSay(dialogBox, "Anoche la tormenta apagó la lámpara del faro", farero));
    commandStack.add(new SCommandSay(dialogBox, "Sube a la sala y vuelve a encenderla", farero));
    commandStack.add(new CambiarEscena(siguiente));
}

CambiarEscena::CambiarEscena(KZ_Displayable* siguiente)
    : siguiente(siguiente) {}

void CambiarEscena::execute() {
    // Done at once (isDone() is true by default), so it runs exactly once.
    KZ_Space::displayStack.swap(siguiente);
}
