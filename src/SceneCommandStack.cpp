#include "SceneCommandStack.h"

#include "SceneCommand.h"

SceneCommandStack::SceneCommandStack()
    : running(nullptr)
    , runningDropped(false) {}

SceneCommandStack::~SceneCommandStack() {
    // Newest first, each entry removed as it goes.
    while (!commands.empty()) {
        SceneCommand* command = commands.front();
        commands.erase(commands.begin());
        delete command;
    }
}

void SceneCommandStack::add(SceneCommand* command) {
    // The newest command goes to the front: the queue runs from the back.
    commands.insert(commands.begin(), command);
}

void SceneCommandStack::clear(SceneCommand*) {
    // The stack owns what it holds, so dropping a command means deleting it.
    // The entries are taken out first, so a command's destructor never sees
    // a half-cleared queue.
    std::vector<SceneCommand*> dropped;
    dropped.swap(commands);
    for (SceneCommand* command : dropped) {
        // A command may clear its own script (to cut a conversation short):
        // it is still running, so it is deleted once it has returned.
        if (command == running)
            runningDropped = true;
        else
            delete command;
    }
}

void SceneCommandStack::execute() {
    while (!commands.empty()) {
        SceneCommand* current = commands.back();
        running = current;
        current->execute();
        bool finished = runningDropped || current->isDone();
        running = nullptr;
        if (runningDropped) {
            // Already out of the queue: delete it and go on with whatever was
            // queued after the clear.
            runningDropped = false;
            delete current;
            continue;
        }
        if (!finished)
            return;
        // Commands added meanwhile went to the front, so the current one is
        // still at the back.
        commands.pop_back();
        delete current;
    }
}
