#include "KZ/Debug.h"

#include <cstdio>

int KZ_Debug::indentation = 1;
bool KZ_Debug::debug = true;
std::string KZ_Debug::indentStepSpace = "    ";

void KZ_Debug::indent() {
    for (int i = 0; i < indentation; i++) {
        std::fputs(indentStepSpace.c_str(), stdout);
    }
}

void KZ_Debug::start(std::string text) {
    if (!debug) {
        return;
    }
    indent();
    std::printf("<  %s >\n", text.c_str());
    indentation++;
}

void KZ_Debug::log(std::string text) {
    if (!debug) {
        return;
    }
    indent();
    std::printf("%s\n", text.c_str());
}

void KZ_Debug::end(std::string text) {
    if (!debug) {
        return;
    }
    indentation--;
    indent();
    std::printf("</ %s >\n", text.c_str());
}
