// In the browser kz only plays: packaging and writing games is done by kz on
// a desktop. This stands in for ScriptPackager's commands there, so the page
// carries none of the packaging code (and the C++ streams and file system
// library it uses).
#include "ScriptPackager.h"

#include <cstdio>

int ScriptPackager::packageCommand(const std::vector<std::string>&, const char*) {
    std::printf("kz package runs on a computer, not in the browser\n");
    return 2;
}

int ScriptPackager::newCommand(const std::vector<std::string>&, const char*) {
    std::printf("kz new runs on a computer, not in the browser\n");
    return 2;
}
