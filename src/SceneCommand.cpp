#include "SceneCommand.h"

void SceneCommand::execute() {}

bool SceneCommand::isDone() {
    return true;
}

SceneCommand::~SceneCommand() {}
