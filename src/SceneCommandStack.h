#ifndef SCENECOMMANDSTACK_H
#define SCENECOMMANDSTACK_H

#include <vector>

class SceneCommand;

// A scene's script: a first-in, first-out queue of commands run one after
// another, one cycle at a time. Owns every command it holds and deletes each
// one when it is done, when it is dropped by clear() and when the stack dies.
class SceneCommandStack {
public:
    // Pending commands: newest at the front (index 0), the current one at the
    // back. Public so that a scene can tell whether a script is running.
    std::vector<SceneCommand*> commands;

    // An empty queue.
    SceneCommandStack();
    // Deletes every pending command, newest first.
    ~SceneCommandStack();

    // The stack owns raw pointers: a copy would delete them twice.
    SceneCommandStack(const SceneCommandStack&) = delete;
    SceneCommandStack& operator=(const SceneCommandStack&) = delete;

    // Queues `command` behind every pending one and takes ownership; never null.
    void add(SceneCommand* command);
    // Drops and deletes every pending command; the argument is not used.
    void clear(SceneCommand* command);
    // Runs the queue for one cycle: executes the current command, and while it
    // reports done deletes it and goes straight on with the next one.
    void execute();

private:
    SceneCommand* running; // the command being executed or polled, or null
    bool runningDropped;   // clear() dropped `running` meanwhile; execute() deletes it afterwards
};

#endif
