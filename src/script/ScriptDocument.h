#ifndef SCRIPTDOCUMENT_H
#define SCRIPTDOCUMENT_H

#include "Documento.h"
#include "ScriptGame.h"

#include <string>

class ScriptPlayer;
class ScriptScene;

// A document of a script game: the framework's document, in the scene's
// click routing, playing its script when clicked; its picture may change
// with the state, as an object's does.
class ScriptDocument : public Documento {
public:
    ScriptScene* scene;             // where it stands; not owned
    ScriptPlayer* player;           // plays the script; not owned
    const ScriptGame::Thing& thing; // the document as written

    ScriptDocument(ScriptScene* scene, ScriptPlayer* player, const ScriptGame::Thing& thing);

    // Shows res/`file` from now on, reloading the picture if it is loaded.
    void showPicture(const std::string& file);

    // Plays the document's script.
    void clicked() override;
};

#endif
