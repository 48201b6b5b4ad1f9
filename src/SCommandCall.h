#ifndef SCOMMANDCALL_H
#define SCOMMANDCALL_H

#include "SceneCommand.h"

#include <functional>

// Runs a function of the game's in its turn and is done at once: a change of
// picture or of state that must happen between two lines of a script, not
// when the script is queued.
class SCommandCall : public SceneCommand {
public:
    std::function<void()> function; // what to run; may be empty (then nothing runs)
    bool done;                      // the function has run

    SCommandCall(std::function<void()> function);

    // Runs the function the first time; does nothing afterwards.
    void execute() override;
    // Whether the function has run.
    bool isDone() override;
};

#endif
