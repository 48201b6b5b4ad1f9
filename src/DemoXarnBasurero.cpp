#include "DemoXarnBasurero.h"

#include "InteractiveScenePlanet.h"
#include "KZ/Sprite.h"
#include "SCommandSay.h"

// Queues one line, said by nobody in particular, on the scene's script.
static void say(InteractiveScenePlanet* scene, const char* line) {
    scene->commandStack.add(new SCommandSay(scene->dialogBox, line, nullptr));
}

DemoXarnBasurero::DemoXarnBasurero(InteractiveScenePlanet* scene)
    : XarnSimpleInvestigableObject(scene) {
    cuchilloCogido = false;
    name = "Basurero";
    setX(280);
    setY(190);
}

void DemoXarnBasurero::loadGraphics() {
    if (sprite == nullptr) {
        sprite = new KZ_Sprite("res/basurero2.png");
    }
}

void DemoXarnBasurero::action(std::string verb) {
    if (verb == hablar->text) {
        say(scene, "¿Hay alguien viviendo ahi dentro?");
        say(scene, "...");
        say(scene, "No hay respuesta");
    }
    if (verb == examinar->text) {
        // Before the knife is taken the bin hints at it; afterwards it is empty.
        if (!cuchilloCogido) {
            say(scene, "Quizas el asesino escondio algo en este lugar");
            say(scene, "...");
            say(scene, "Hay algo extraño en el fondo");
        } else {
            say(scene, "No parece haber nada mas");
        }
    }
    if (verb == recoger->text) {
        if (!cuchilloCogido) {
            say(scene, "No se si deba meter la mano ahi...");
            say(scene, "Todo sea por la justicia!");
            say(scene, "Aca dentro hay un cuchillo");
            say(scene, "Lo guardare como evidencia");
            cuchilloCogido = true;
        } else {
            say(scene, "Ya he cogido el cuchillo");
        }
    }
    if (verb == mover->text) {
        say(scene, "Esta firmemente apernado al piso");
    }
}
