#ifndef SCENECOMMAND_H
#define SCENECOMMAND_H

// One step of a scripted sequence (say a line, hide an entity, centre a
// portrait). A scene's SceneCommandStack executes the current command once per
// update cycle until it reports that it is done, then deletes it through this
// type, hence the virtual destructor. execute() runs again on every cycle
// while the command is current, so each command guards its one-time effect.
class SceneCommand {
public:
    // Performs the command's effect; called once per cycle while current. Does nothing here.
    virtual void execute();
    // Whether the command has finished and may be discarded. Always true here.
    virtual bool isDone();

    // Lets the stack delete any concrete command through this type.
    virtual ~SceneCommand();
};

#endif
