#include "ScriptGame.h"

const ScriptGame::Scene* ScriptGame::scene(const std::string& name) const {
    for (const Scene& s : scenes) {
        if (s.name == name) {
            return &s;
        }
    }
    return nullptr;
}

const ScriptGame::Character* ScriptGame::character(const std::string& name) const {
    for (const Character& c : characters) {
        if (c.name == name) {
            return &c;
        }
    }
    return nullptr;
}

std::string ScriptGame::fontPath() const {
    return "res/" + (font.file.empty() ? std::string("Vera.ttf") : font.file);
}
