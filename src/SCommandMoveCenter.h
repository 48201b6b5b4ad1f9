#ifndef SCOMMANDMOVECENTER_H
#define SCOMMANDMOVECENTER_H

#include "SceneCommand.h"

class CharacterSprite;

// Centres a portrait horizontally in the window and is done at once.
class SCommandMoveCenter : public SceneCommand {
public:
    CharacterSprite* character; // the portrait to centre, or null; not owned
    bool done;                  // the command has run

    // Centres `character` when executed; a null character only marks the command done.
    SCommandMoveCenter(CharacterSprite* character);

    // Centres the portrait (its graphics must be loaded) and marks the command done.
    void execute() override;
    // Whether the command has run.
    bool isDone() override;
};

#endif
