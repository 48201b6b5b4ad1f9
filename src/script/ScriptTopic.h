#ifndef SCRIPTTOPIC_H
#define SCRIPTTOPIC_H

#include "ScriptGame.h"
#include "XarnTopico.h"

class ScriptPlayer;
class ScriptScene;

// A topic of a script game: the framework's topic, in the scene's click
// routing, playing its script when clicked.
class ScriptTopic : public XarnTopico {
public:
    ScriptScene* scene;             // where it stands; not owned
    ScriptPlayer* player;           // plays the script; not owned
    const ScriptGame::Thing& thing; // the topic as written

    ScriptTopic(ScriptScene* scene, ScriptPlayer* player, const ScriptGame::Thing& thing);

    // Plays the topic's script.
    void clicked() override;
};

#endif
