#ifndef SCRIPTBUTTON_H
#define SCRIPTBUTTON_H

#include "KZ/Invader2D.h"
#include "KZ/Observer.h"
#include "ScriptGame.h"

class KZ_Subject;
class ScriptPlayer;
class ScriptScene;
class XarnTextClickable;

// A button of a script game (such as a title screen's "Empezar"): an
// invisible controller that makes the framework's text button, adds it to the
// scene and plays its script when it is clicked outside a script.
class ScriptButton : public KZ_Invader2D, public KZ_Observer {
public:
    XarnTextClickable* button;      // the button; owned by the scene once added
    ScriptScene* scene;             // where it stands; not owned
    ScriptPlayer* player;           // plays the script; not owned
    const ScriptGame::Thing& thing; // the button as written

    // Makes the button, places it and adds it to `scene`.
    ScriptButton(ScriptScene* scene, ScriptPlayer* player, const ScriptGame::Thing& thing);

    // The button was clicked: plays its script, unless one is playing.
    void notify(KZ_Subject* subject, void* data) override;
};

#endif
