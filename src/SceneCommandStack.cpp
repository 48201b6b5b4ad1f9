#include "SceneCommandStack.h"

#include "SceneCommand.h"

SceneCommandStack::SceneCommandStack() {}

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
    for (SceneCommand* command : dropped)
        delete command;
}

void SceneCommandStack::execute() {
    while (!commands.empty()) {
        SceneCommand* current = commands.back();
        current->execute();
        if (!current->isDone())
            return;
        // Commands added meanwhile went to the front, so the current one is
        // still at the back.
        commands.pop_back();
        delete current;
    }
}
