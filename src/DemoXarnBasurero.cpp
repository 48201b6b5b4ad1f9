#include "DemoXarnBasurero.h"

#include "KZ/Sprite.h"

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
        say("¿Hay alguien viviendo ahi dentro?");
        say("...");
        say("No hay respuesta");
    }
    if (verb == examinar->text) {
        // Before the knife is taken the bin hints at it; afterwards it is empty.
        if (!cuchilloCogido) {
            say("Quizas el asesino escondio algo en este lugar");
            say("...");
            say("Hay algo extraño en el fondo");
        } else {
            say("No parece haber nada mas");
        }
    }
    if (verb == recoger->text) {
        if (!cuchilloCogido) {
            say("No se si deba meter la mano ahi...");
            say("Todo sea por la justicia!");
            say("Aca dentro hay un cuchillo");
            say("Lo guardare como evidencia");
            cuchilloCogido = true;
        } else {
            say("Ya he cogido el cuchillo");
        }
    }
    if (verb == mover->text) {
        say("Esta firmemente apernado al piso");
    }
}
