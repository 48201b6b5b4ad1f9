#include "ScriptButton.h"

#include "ScriptPlayer.h"
#include "ScriptScene.h"
#include "XarnTextClickable.h"

ScriptButton::ScriptButton(ScriptScene* scene, ScriptPlayer* player, const ScriptGame::Thing& thing)
    : scene(scene)
    , player(player)
    , thing(thing) {
    button = new XarnTextClickable(thing.name, this, scene);
    button->setX(thing.x);
    button->setY(thing.y);
    button->fontPath = player->game.fontPath();
    scene->add(button);
}

void ScriptButton::notify(KZ_Subject* subject, void*) {
    if (subject != static_cast<KZ_Subject*>(button) || scene->mode != scene->MODE_INTERACTIVE) {
        return;
    }
    player->run(scene, thing.script);
}
