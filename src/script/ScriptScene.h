#ifndef SCRIPTSCENE_H
#define SCRIPTSCENE_H

#include "InteractiveScenePlanet.h"
#include "ScriptGame.h"

#include <map>
#include <string>
#include <vector>

class CharacterSprite;
class KZ_Invader2D;
class ScriptPlayer;

// A scene of a script game: the framework's interactive scene holding the
// framework's own entities, made from the scene's text: its buttons, its
// background, its portraits and its objects, topics and documents in the
// order they are written, then the buttons' controllers. What the scripts do
// is ScriptPlayer's business.
class ScriptScene : public InteractiveScenePlanet {
public:
    ScriptPlayer* player;           // plays the scripts; not owned
    const ScriptGame::Scene& model; // what the scene file says; must outlive the scene
    std::map<std::string, CharacterSprite*> portraits; // by character; owned by the planet
    std::vector<class ScriptObject*> objects;          // in the order written; owned by the planet
    std::vector<class ScriptDocument*> documents;      // in the order written; owned by the planet

    // Builds the scene's entities and adds them. Nothing is loaded until the
    // scene is shown.
    ScriptScene(ScriptPlayer* player, const ScriptGame::Scene& model);

    // The portrait of character `name` in this scene, or null.
    CharacterSprite* portrait(const std::string& name) const;

    // Shows the things whose conditions hold (the others are parked out of
    // sight and reach) with the pictures their conditions choose. Called
    // whenever the state changes.
    void refresh();

private:
    // Something the scene made from a "when" line: where it stands when shown.
    struct Shown {
        KZ_Invader2D* entity;
        const ScriptGame::Thing* thing;
    };
    std::vector<Shown> conditional;
};

#endif
