#include "ScriptTopic.h"

#include "ScriptPlayer.h"
#include "ScriptScene.h"

ScriptTopic::ScriptTopic(ScriptScene* scene, ScriptPlayer* player, const ScriptGame::Thing& thing)
    : XarnTopico(thing.name)
    , scene(scene)
    , player(player)
    , thing(thing) {
    setX(thing.x);
    setY(thing.y);
    fontPath = player->game.fontPath();
    joinScene(scene);
}

void ScriptTopic::clicked() {
    player->markSeen(thing.name);
    player->run(scene, thing.script);
}
