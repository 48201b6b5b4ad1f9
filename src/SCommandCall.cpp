#include "SCommandCall.h"

#include <utility>

SCommandCall::SCommandCall(std::function<void()> function)
    : function(std::move(function))
    , done(false) {}

void SCommandCall::execute() {
    if (done)
        return;
    // Marked first: a function that clears the scene's script deletes this
    // command only after execute() has returned, and must not run it twice.
    done = true;
    if (function) {
        function();
    }
}

bool SCommandCall::isDone() {
    return done;
}
