#ifndef SCRIPTOBJECT_H
#define SCRIPTOBJECT_H

#include "ScriptGame.h"
#include "XarnSimpleInvestigableObject.h"

#include <string>

class ScriptPlayer;
class ScriptScene;

// An object of a script game: the framework's investigable object, with the
// game's verbs in its menu (in the game's order), offering those it has a
// block for and whose condition holds, and answering each with its script.
class ScriptObject : public XarnSimpleInvestigableObject {
public:
    ScriptPlayer* player;           // runs the verbs' scripts; not owned
    const ScriptGame::Thing& thing; // the object as written
    std::string picture;            // the picture shown now, relative to res/

    ScriptObject(ScriptScene* scene, ScriptPlayer* player, const ScriptGame::Thing& thing);

    // Shows `file` from now on, reloading the picture if it is loaded.
    void showPicture(const std::string& file);

    // Loads the current picture unless one is loaded.
    void loadGraphics() override;
    // Offers the verbs whose conditions hold, then opens the menu as any object does.
    void notify(KZ_Subject* subject, void* data) override;
    // Plays the script of `verb`.
    void action(std::string verb) override;
};

#endif
