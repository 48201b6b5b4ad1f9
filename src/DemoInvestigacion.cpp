#include "DemoInvestigacion.h"

#include "BackGroundImage.h"
#include "CharacterSprite.h"
#include "DemoXarnBasurero.h"
#include "DemoXarnLagartija.h"
#include "DemoXarnPolicia.h"
#include "DemoXarnSilueta.h"
#include "SCommandHide.h"
#include "SCommandMoveCenter.h"
#include "SCommandSay.h"

DemoInvestigacion::DemoInvestigacion() {
    BackGroundImage* background = new BackGroundImage("res/main.png");
    personaje1 = new CharacterSprite("res/personaje1.png");
    personaje2 = new CharacterSprite("res/personaje2.png");
    DemoXarnLagartija* lagartija = new DemoXarnLagartija(this);
    DemoXarnSilueta* silueta = new DemoXarnSilueta(this);
    DemoXarnPolicia* policia = new DemoXarnPolicia(this);
    DemoXarnBasurero* basurero = new DemoXarnBasurero(this);

    add(background);
    add(personaje1);
    add(personaje2);
    add(lagartija);
    add(silueta);
    add(policia);
    add(basurero);

    // The opening conversation. Which officer is on screen is decided by the
    // hide and centre commands around the lines; the box shows only the text.
    commandStack.add(new SCommandHide(personaje1));
    commandStack.add(new SCommandHide(personaje2));
    commandStack.add(new SCommandMoveCenter(personaje1));
    commandStack.add(new SCommandSay(dialogBox, "Buenos dias comisario", personaje1));
    commandStack.add(new SCommandSay(
        dialogBox, "Lamento haberlo hecho venir de improviso, pero este caso lo amerita",
        personaje1));
    commandStack.add(
        new SCommandSay(dialogBox, "El cadaver ya fue retirado y enviado a la morgue", personaje1));
    commandStack.add(new SCommandSay(
        dialogBox,
        "La causa de la muerte fue decapitamiento, el asesino le arranco brutalmente la cabeza",
        personaje1));
    commandStack.add(new SCommandHide(personaje1));
    commandStack.add(new SCommandMoveCenter(personaje2));
    commandStack.add(
        new SCommandSay(dialogBox, "La cabeza de la victima sigue desaparecida", personaje2));
    commandStack.add(new SCommandSay(
        dialogBox, "De igual manera, no hemos encontrado el arma homicida", personaje2));
    commandStack.add(new SCommandHide(personaje2));
    commandStack.add(new SCommandMoveCenter(personaje1));
    commandStack.add(new SCommandSay(
        dialogBox, "Lo dejo para que investigue, no dude en preguntarme cualquier duda que tenga",
        personaje1));
    commandStack.add(new SCommandHide(personaje1));
}
