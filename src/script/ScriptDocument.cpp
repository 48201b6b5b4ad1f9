#include "ScriptDocument.h"

#include "ScriptPlayer.h"
#include "ScriptScene.h"

ScriptDocument::ScriptDocument(ScriptScene* scene, ScriptPlayer* player,
                               const ScriptGame::Thing& thing)
    : Documento("res/" + thing.pictures.front().file)
    , scene(scene)
    , player(player)
    , thing(thing) {
    setX(thing.x);
    setY(thing.y);
    joinScene(scene);
}

void ScriptDocument::showPicture(const std::string& file) {
    if (imagePath == "res/" + file) {
        return;
    }
    imagePath = "res/" + file;
    if (sprite != nullptr) {
        unloadGraphics();
        loadGraphics();
    }
}

void ScriptDocument::clicked() {
    player->markSeen(thing.name);
    player->run(scene, thing.script);
}
