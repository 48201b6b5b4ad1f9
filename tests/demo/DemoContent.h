#ifndef DEMOCONTENT_H
#define DEMOCONTENT_H

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// What the demo shows a player (its lines, objects, verbs and places), read
// from tests/demo/content.json: the end-to-end harness reads the same file,
// so the unit tests and the played game are held to one copy of the content.
namespace democontent {

using Lines = std::vector<std::string>;

struct Object {
    std::string name;
    std::string picture;
    int x = 0, y = 0;
    std::vector<std::string> verbs;
    std::map<std::string, Lines> lines;
    std::map<std::string, Lines> afterKnife; // the bin's, once the knife is taken
};

struct OpeningLine {
    std::string line;
    int portrait = 0; // 1 or 2: who says it
};

struct Content {
    std::string menuButton;
    int menuX = 0, menuY = 0;
    std::string background;
    std::vector<std::string> portraits;
    std::vector<OpeningLine> opening;
    std::vector<Object> objects;
};

// The file, read once. A missing or malformed one leaves the content empty (or
// throws to GoogleTest): every test that reads it fails, none passes by chance.
inline const Content& content() {
    static const Content loaded = [] {
        Content c;
        std::ifstream in(DEMO_CONTENT_JSON);
        nlohmann::json j = nlohmann::json::parse(in, nullptr, false);
        if (j.is_discarded()) {
            return c;
        }
        const nlohmann::json& menu = j.value("menu", nlohmann::json::object());
        c.menuButton = menu.value("button", "");
        c.menuX = menu.at("at").at(0).get<int>();
        c.menuY = menu.at("at").at(1).get<int>();
        c.background = menu.value("background", "");
        c.portraits = j.at("portraits").get<std::vector<std::string>>();
        for (const nlohmann::json& step : j.at("opening")) {
            c.opening.push_back(
                {step.at("line").get<std::string>(), step.at("portrait").get<int>()});
        }
        for (const nlohmann::json& o : j.at("objects")) {
            Object obj;
            obj.name = o.at("name").get<std::string>();
            obj.picture = o.at("picture").get<std::string>();
            obj.x = o.at("at").at(0).get<int>();
            obj.y = o.at("at").at(1).get<int>();
            obj.verbs = o.at("verbs").get<std::vector<std::string>>();
            obj.lines = o.at("lines").get<std::map<std::string, Lines>>();
            if (o.contains("after_knife")) {
                obj.afterKnife = o.at("after_knife").get<std::map<std::string, Lines>>();
            }
            c.objects.push_back(obj);
        }
        return c;
    }();
    return loaded;
}

} // namespace democontent

#endif
