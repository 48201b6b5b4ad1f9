#ifndef INTERACTIVESCENEPLANET_H
#define INTERACTIVESCENEPLANET_H

#include "Dialogbox.h"
#include "KZ/2DPlanet.h"
#include "SceneCommandStack.h"

#include <string>
#include <vector>

class CharacterSprite;
class KZ_Graphics;
class KZ_Invader;
class XarnClickable;
class XarnCurrentSelected;
class XarnMenuOpciones;

// The scene of the investigation interface: a 2D planet that plays a script
// (dialog box and command stack) and lets the player click its entities.
// Each cycle it picks its mode from the command stack (script while commands
// are pending, interactive otherwise), shows or hides the dialog box, runs the
// script, steps the entities and hands the cycle's click to the nearest
// clickable that reported one. Owns its dialog box, options menu, selection
// label and command stack; the other entities follow the planet's rules.
class InteractiveScenePlanet : public KZ_2DPlanet {
public:
    int mode;             // MODE_SCRIPT or MODE_INTERACTIVE from the first update on; 0 before
    int MODE_SCRIPT;      // 2: the mode while scene commands are pending
    int MODE_INTERACTIVE; // 4: the mode while no scene command is pending
    std::vector<XarnClickable*> clickedObjects; // this update's reporters, in order; not owned
    XarnMenuOpciones* optionsMenu;              // the verb menu; owned
    XarnCurrentSelected* currentSelected;       // the label naming the hovered object; owned
    Dialogbox* dialogBox;                       // where the scene's lines are shown; owned
    SceneCommandStack commandStack;             // the scene's script

    // Creates the dialog box, options menu and selection label and adds them,
    // in that order, to the planet; the scene's trace starts off.
    InteractiveScenePlanet();
    // Deletes the dialog box, options menu and selection label, then frees the
    // buttons the menu hands back; the pending commands go with the stack.
    ~InteractiveScenePlanet();

    // The scene owns these through raw pointers: a copy would delete them twice.
    InteractiveScenePlanet(const InteractiveScenePlanet&) = delete;
    InteractiveScenePlanet& operator=(const InteractiveScenePlanet&) = delete;

    // Chooses the mode, runs the script, steps the entities, notifies the nearest clicked one.
    void updateObjects() override;
    // Sets the camera (window pixels, origin top-left, lower z nearer), then draws.
    void drawObjects(KZ_Graphics* graphics) override;

    // Queues `line` in the scene's dialog box behind everything already
    // queued: commandStack.add(new SCommandSay(dialogBox, line, speaker)).
    void say(const std::string& line, CharacterSprite* speaker = nullptr);

    // Records that `object` was clicked in this update; called while entities step.
    virtual void addClickedObject(XarnClickable* object);

private:
    // Takes `invader` off every list of the planet, so no later phase reaches it.
    void forget(KZ_Invader* invader);
};

#endif
