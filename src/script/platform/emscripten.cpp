// In the browser kz only plays what the page gives it: packaging, writing,
// exploring and watching games is done by kz on a desktop. This stands in
// for ScriptPackager's and ScriptExplorer's commands and for ScriptWatcher
// there, so the page carries none of their code (and the C++ streams and
// file system library packaging uses).
#include "ScriptExplorer.h"
#include "ScriptPackager.h"
#include "ScriptWatcher.h"

#include <cstdio>

int ScriptPackager::packageCommand(const std::vector<std::string>&, const char*) {
    std::printf("kz package runs on a computer, not in the browser\n");
    return 2;
}

int ScriptPackager::newCommand(const std::vector<std::string>&, const char*) {
    std::printf("kz new runs on a computer, not in the browser\n");
    return 2;
}

ScriptExplorer::ScriptExplorer(const ScriptGame& game, std::string path, std::size_t limit)
    : game(game)
    , path(path)
    , limit(limit)
    , visited(0) {}

int ScriptExplorer::run() {
    std::printf("kz explore runs on a computer, not in the browser\n");
    return 2;
}

std::size_t ScriptExplorer::states() const {
    return visited;
}

// Nothing is looked at: the maps and the list stay empty.
ScriptWatcher::ScriptWatcher(std::string folder)
    : folder(folder)
    , lastLook(0)
    , limited(false) {}

bool ScriptWatcher::poll(std::uint32_t) {
    return false;
}

const std::vector<std::string>& ScriptWatcher::changed() const {
    return changes;
}

bool ScriptWatcher::isLimited() const {
    return limited;
}
