#ifndef SCOMMANDHIDE_H
#define SCOMMANDHIDE_H

#include "SceneCommand.h"

class KZ_Invader2D;

// Moves an entity out of view (to x = -1000) and is done at once.
class SCommandHide : public SceneCommand {
public:
    KZ_Invader2D* target; // the entity to hide; not owned, must outlive the command
    bool done;            // the entity has been moved away

    // Hides `target` when executed; never null.
    SCommandHide(KZ_Invader2D* target);

    // Moves the target to x = -1000, left of the window.
    void execute() override;
    // Whether the target has been moved.
    bool isDone() override;
};

#endif
