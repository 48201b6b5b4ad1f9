#include "ScriptObject.h"

#include "KZ/Sprite.h"
#include "ScriptPlayer.h"
#include "ScriptScene.h"
#include "XarnMenuOpciones.h"
#include "XarnTextClickable.h"

ScriptObject::ScriptObject(ScriptScene* scene, ScriptPlayer* player, const ScriptGame::Thing& thing)
    : XarnSimpleInvestigableObject(scene)
    , player(player)
    , thing(thing)
    , picture(thing.pictures.front().file) {
    name = thing.name;
    setX(thing.x);
    setY(thing.y);
    // The menu's four records carry the game's verbs, in the game's order.
    const std::vector<std::string>& verbs = player->game.verbs;
    for (size_t i = 0; i < options.size(); i++) {
        options[i]->text = i < verbs.size() ? verbs[i] : "";
        options[i]->enabled = false;
    }
}

void ScriptObject::showPicture(const std::string& file) {
    if (file == picture) {
        return;
    }
    picture = file;
    if (sprite != nullptr) {
        unloadGraphics();
        loadGraphics();
    }
}

void ScriptObject::loadGraphics() {
    if (sprite == nullptr) {
        sprite = new KZ_Sprite("res/" + picture);
    }
}

void ScriptObject::notify(KZ_Subject* subject, void* data) {
    for (option* verb : options) {
        verb->enabled = false;
        for (const ScriptGame::Verb& v : thing.verbs) {
            if (v.name == verb->text && (!v.conditional || player->holds(v.when))) {
                verb->enabled = true;
            }
        }
    }
    XarnSimpleInvestigableObject::notify(subject, data);
    // The menu's buttons are made by the menu; they are drawn in the game's font.
    for (XarnMenuOpciones::option* o : scene->optionsMenu->options) {
        o->button->fontPath = player->game.fontPath();
    }
}

void ScriptObject::action(std::string verb) {
    for (const ScriptGame::Verb& v : thing.verbs) {
        if (v.name == verb) {
            player->markSeen(thing.name);
            player->run(static_cast<ScriptScene*>(scene), v.script);
            return;
        }
    }
}
