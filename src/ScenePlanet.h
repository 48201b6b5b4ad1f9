#ifndef SCENEPLANET_H
#define SCENEPLANET_H

#include "KZ/2DPlanet.h"
#include "SceneCommandStack.h"

#include <string>

class CharacterSprite;
class Dialogbox;

// The simplest scene that plays a script: a 2D planet with its own dialog box
// and command stack. Every cycle runs the script, then steps the entities; the
// only input is the press that finishes a line, taken by the box itself.
// Subclasses add their backgrounds and portraits and queue their script in
// their constructor.
class ScenePlanet : public KZ_2DPlanet {
public:
    Dialogbox* dialogBox;           // the scene's dialog strip; owned, also a live entity
    SceneCommandStack commandStack; // the script; subclasses add commands to it

    // Creates the dialog box with "res/Vera.ttf" and adds it to the scene.
    ScenePlanet();
    // Deletes the dialog box and the pending commands; other entities are left alone.
    ~ScenePlanet();

    // Runs the script for one cycle, then steps every entity.
    void updateObjects() override;
    // Sets the window-pixel camera (origin top-left), then draws every entity.
    void drawObjects(KZ_Graphics* graphics) override;

    // Queues `line` in the scene's dialog box behind everything already
    // queued: commandStack.add(new SCommandSay(dialogBox, line, speaker)).
    void say(const std::string& line, CharacterSprite* speaker = nullptr);
};

#endif
