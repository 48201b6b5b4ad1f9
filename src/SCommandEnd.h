#ifndef SCOMMANDEND_H
#define SCOMMANDEND_H

#include "SceneCommand.h"

// Ends the game in its turn: the application stops after the current frame,
// exactly as when the player closes the window, and the main function goes on
// after serialOrchestrator(). Lines queued before it are all seen first.
class SCommandEnd : public SceneCommand {
public:
    bool done; // the application has been asked to stop

    SCommandEnd();

    // Asks the running application to stop; does nothing without one.
    void execute() override;
    // Whether the request has been made.
    bool isDone() override;
};

#endif
