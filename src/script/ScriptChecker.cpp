#include "ScriptChecker.h"

#include "ScriptParser.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace {

using Severity = ScriptFinding::Severity;
using Statement = ScriptGame::Statement;
using Condition = ScriptGame::Condition;
using Place = ScriptGame::Place;

unsigned long bigEndian(const std::string& b, size_t at, int bytes) {
    unsigned long v = 0;
    for (int i = 0; i < bytes; i++) {
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    }
    return v;
}

bool sameIgnoringCase(std::string a, std::string b) {
    auto lower = [](std::string& s) {
        for (char& c : s) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    };
    lower(a);
    lower(b);
    return a == b;
}

std::string didYouMean(const std::string& name, const std::vector<std::string>& candidates) {
    const std::string guess = ScriptParser::closest(name, candidates);
    return guess.empty() ? "" : "; did you mean '" + guess + "'?";
}

class Checker {
public:
    const ScriptFolder& folder;
    const ScriptGame& game;
    std::vector<ScriptFinding>& findings;

    // Flags and counters: where each is written and read. What a name is
    // (flag or counter) is told by how it is written.
    struct Use {
        std::vector<Place> writes;
        std::vector<bool> writesCounter;
        std::vector<Place> reads;
        std::vector<bool> readsCounter; // compared with a number
    };
    std::map<std::string, Use> uses;
    std::map<std::string, std::set<std::string>> goes; // scene -> scenes it goes to
    std::map<std::string, std::string> checkedFiles;   // path -> problem (empty: good)

    Checker(const ScriptFolder& folder, const ScriptGame& game,
            std::vector<ScriptFinding>& findings)
        : folder(folder)
        , game(game)
        , findings(findings) {}

    void add(const Place& p, Severity severity, const std::string& words) {
        auto source = game.sources.find(p.file);
        if (source != game.sources.end() && p.line > 0) {
            findings.push_back(source->second.at(p.line, p.column, severity, words));
        } else {
            findings.emplace_back(p.file, p.line, p.column, severity, words);
        }
    }
    void error(const Place& p, const std::string& words) { add(p, ScriptFinding::ERROR, words); }
    void warning(const Place& p, const std::string& words) {
        add(p, ScriptFinding::WARNING, words);
    }

    Place file(const std::string& name) const {
        Place p;
        p.file = name;
        return p;
    }

    // --- Files --------------------------------------------------------------

    // What is wrong with the file res/`name` as a `kind`, or empty.
    std::string problem(const std::string& name, bool font) {
        const std::string path = "res/" + name;
        const std::string key = (font ? "font " : "picture ") + path;
        auto cached = checkedFiles.find(key);
        if (cached != checkedFiles.end()) {
            return cached->second;
        }
        std::string& result = checkedFiles[key];
        std::string actual;
        const ScriptFolder::Lookup lookup = folder.find(path, &actual);
        if (lookup == ScriptFolder::MISSING) {
            result = "is not in the game's folder (looked for " + path + ")";
        } else if (lookup != ScriptFolder::FOUND) {
            result = ScriptFolder::explain(lookup, actual);
        } else {
            std::string bytes, why;
            if (!folder.read(path, font ? ScriptChecker::MAX_FONT : ScriptChecker::MAX_PICTURE,
                             bytes, why)) {
                result = "cannot be read: " + why;
            } else {
                result =
                    font ? ScriptChecker::fontProblem(bytes) : ScriptChecker::pngProblem(bytes);
            }
        }
        return result;
    }

    void picture(const ScriptGame::Picture& picture, const std::string& what) {
        if (picture.file.empty()) {
            return;
        }
        const std::string why = problem(picture.file, false);
        if (!why.empty()) {
            error(picture.place, what + " '" + picture.file + "' " + why);
        }
    }

    // --- Names --------------------------------------------------------------

    void use(const std::string& name, const Place& place, bool counter, bool write) {
        Use& u = uses[name];
        (write ? u.writes : u.reads).push_back(place);
        (write ? u.writesCounter : u.readsCounter).push_back(counter);
    }

    void condition(const Condition& c, const ScriptGame::Scene& scene) {
        switch (c.kind) {
        case Condition::FLAG:
            // A counter may stand alone too: it holds when it is not 0.
            use(c.name, c.place, false, false);
            break;
        case Condition::COMPARE:
            use(c.name, c.place, true, false);
            break;
        case Condition::SEEN: {
            std::vector<std::string> names;
            bool found = false;
            for (const ScriptGame::Thing& thing : scene.things) {
                if (thing.kind != ScriptGame::Thing::BUTTON) {
                    names.push_back(thing.name);
                    found = found || thing.name == c.name;
                }
            }
            if (!found) {
                error(c.place, "unknown object, topic or document '" + c.name + "' in scene '" +
                                   scene.name + "'" + didYouMean(c.name, names));
            }
            break;
        }
        default:
            for (const Condition& part : c.parts) {
                condition(part, scene);
            }
        }
    }

    std::vector<std::string> characterNames() const {
        std::vector<std::string> names;
        for (const ScriptGame::Character& c : game.characters) {
            names.push_back(c.name);
        }
        return names;
    }

    std::vector<std::string> sceneNames() const {
        std::vector<std::string> names;
        for (const ScriptGame::Scene& s : game.scenes) {
            names.push_back(s.name);
        }
        return names;
    }

    void sceneName(const std::string& name, const Place& place, const std::string& hint) {
        if (game.scene(name) == nullptr) {
            error(place, "unknown scene '" + name + "'" + didYouMean(name, sceneNames()) + hint);
        }
    }

    void statements(const std::vector<Statement>& body, const ScriptGame::Scene& scene) {
        for (const Statement& s : body) {
            statement(s, scene);
        }
    }

    void statement(const Statement& s, const ScriptGame::Scene& scene) {
        switch (s.kind) {
        case Statement::SAY:
            if (!s.speaker.empty() && game.character(s.speaker) == nullptr) {
                error(s.namePlace, "unknown speaker '" + s.speaker + "'" +
                                       didYouMean(s.speaker, characterNames()) +
                                       " (to show this line as it is, begin it with 'say ')");
            }
            break;
        case Statement::HIDE:
        case Statement::CENTER:
        case Statement::LEFT:
        case Statement::RIGHT:
        case Statement::FLIP:
            if (std::find(scene.portraits.begin(), scene.portraits.end(), s.name) ==
                scene.portraits.end()) {
                if (game.character(s.name) != nullptr) {
                    error(s.namePlace, "'" + s.name + "' has no portrait in scene '" + scene.name +
                                           "': add the line 'portrait " + s.name + "' to it");
                } else {
                    error(s.namePlace, "unknown portrait '" + s.name + "'" +
                                           didYouMean(s.name, scene.portraits));
                }
            }
            break;
        case Statement::SET:
        case Statement::UNSET:
            use(s.name, s.namePlace, false, true);
            break;
        case Statement::ASSIGN:
        case Statement::ADD:
            use(s.name, s.namePlace, true, true);
            break;
        case Statement::IF:
            condition(s.condition, scene);
            statements(s.body, scene);
            statements(s.otherwise, scene);
            break;
        case Statement::FIRST_TIME:
            statements(s.body, scene);
            statements(s.otherwise, scene);
            break;
        case Statement::GO:
            goes[scene.name].insert(s.name);
            sceneName(s.name, s.namePlace, " (to show this line as it is, begin it with 'say ')");
            break;
        case Statement::END:
            break;
        }
    }

    // Reports the second of two things with the same name.
    void unique(std::map<std::string, Place>& seen, const std::string& name, const Place& place,
                const std::string& what) {
        auto first = seen.find(name);
        if (first != seen.end()) {
            error(place, "duplicate " + what + " '" + name + "' (first at line " +
                             std::to_string(first->second.line) + ")");
        } else {
            seen[name] = place;
        }
    }

    // --- The game -----------------------------------------------------------

    void gameFile() {
        const Place gameFile = file("game.kz");
        if (game.title.empty()) {
            error(gameFile, "the game file has no 'title' line (the window's title)");
        }
        if (game.start.empty()) {
            error(gameFile, "the game file has no 'start' line (the first scene)");
        } else {
            sceneName(game.start, game.startPlace, "");
        }
        if (game.verbs.empty()) {
            error(gameFile, "the game file has no 'verbs' line (the verb menu, in order)");
        }
        std::map<std::string, Place> seen;
        for (size_t i = 0; i < game.verbs.size(); i++) {
            unique(seen, game.verbs[i], game.verbPlaces[i], "verb");
            if (i == 4) {
                error(game.verbPlaces[i], "the verb menu has room for four verbs");
            }
        }
        seen.clear();
        for (const ScriptGame::Character& c : game.characters) {
            unique(seen, c.name, c.place, "character");
            picture(c.picture, "picture");
        }
        // The font, and the pictures the dialog box and the buttons are drawn with.
        if (game.font.file.empty()) {
            const std::string why = problem("Vera.ttf", true);
            if (!why.empty()) {
                error(gameFile, "the game has no 'font' line, so it uses 'Vera.ttf', which " + why);
            }
        } else {
            const std::string why = problem(game.font.file, true);
            if (!why.empty()) {
                error(game.font.place, "font '" + game.font.file + "' " + why);
            }
        }
        for (const char* name : {"opaque.png", "pressbutton.png"}) {
            const std::string why = problem(name, false);
            if (!why.empty()) {
                error(gameFile, std::string("the dialog box and the buttons need the picture '") +
                                    name + "', which " + why);
            }
        }
        if (game.scenes.empty()) {
            error(gameFile, "the game has no scene files (*.scene) beside its game file");
        }
    }

    void scene(const ScriptGame::Scene& scene) {
        bool goodName = !scene.name.empty();
        for (char c : scene.name) {
            const unsigned char u = static_cast<unsigned char>(c);
            goodName = goodName && (u >= 0x80 || std::isalnum(u) || c == '_' || c == '-');
        }
        if (!goodName) {
            error(file(scene.file), "a scene file's name may hold only letters, digits, '_' and "
                                    "'-' before '.scene'");
        }
        for (const ScriptGame::Scene& other : game.scenes) {
            if (&other < &scene && sameIgnoringCase(other.name, scene.name)) {
                error(file(scene.file), "scenes '" + other.name + "' and '" + scene.name +
                                            "' differ only in letter case");
            }
        }
        picture(scene.background, "background");
        picture(scene.backdrop, "backdrop");
        std::map<std::string, Place> seen;
        for (size_t i = 0; i < scene.portraits.size(); i++) {
            const std::string& name = scene.portraits[i];
            unique(seen, name, scene.portraitPlaces[i], "portrait");
            const ScriptGame::Character* c = game.character(name);
            if (c == nullptr) {
                error(scene.portraitPlaces[i],
                      "unknown character '" + name + "'" + didYouMean(name, characterNames()));
            } else if (c->picture.file.empty()) {
                error(scene.portraitPlaces[i],
                      "character '" + name + "' has no picture to show as a portrait");
            }
        }
        statements(scene.opening.body, scene);
        seen.clear();
        for (const ScriptGame::Thing& thing : scene.things) {
            unique(seen, thing.name, thing.place, "name");
            if (thing.conditional) {
                condition(thing.when, scene);
            }
            for (const ScriptGame::Picture& p : thing.pictures) {
                picture(p, "picture");
                if (p.conditional) {
                    condition(p.when, scene);
                }
            }
            statements(thing.script.body, scene);
            std::map<std::string, Place> verbs;
            for (const ScriptGame::Verb& verb : thing.verbs) {
                unique(verbs, verb.name, verb.place, "verb");
                if (std::find(game.verbs.begin(), game.verbs.end(), verb.name) ==
                        game.verbs.end() &&
                    !game.verbs.empty()) {
                    error(verb.place, "verb '" + verb.name + "' is not in the game's verb list" +
                                          didYouMean(verb.name, game.verbs));
                }
                if (verb.conditional) {
                    condition(verb.when, scene);
                }
                statements(verb.script.body, scene);
            }
            if (thing.kind == ScriptGame::Thing::OBJECT && thing.verbs.empty()) {
                warning(thing.place, "object '" + thing.name +
                                         "' has no verbs: clicking it opens an empty menu");
            }
        }
    }

    void names() {
        std::vector<std::string> written;
        for (const auto& entry : uses) {
            if (!entry.second.writes.empty()) {
                written.push_back(entry.first);
            }
        }
        for (const auto& entry : uses) {
            const std::string& name = entry.first;
            const Use& u = entry.second;
            if (u.writes.empty()) {
                for (size_t i = 0; i < u.reads.size(); i++) {
                    error(u.reads[i], std::string(u.readsCounter[i] ? "counter" : "flag") + " '" +
                                          name + "' is read but never set" +
                                          didYouMean(name, written));
                }
                continue;
            }
            const bool counter = u.writesCounter.front();
            const std::string what = counter ? "counter" : "flag";
            for (size_t i = 1; i < u.writes.size(); i++) {
                if (u.writesCounter[i] != counter) {
                    error(u.writes[i], "'" + name + "' is used as a " +
                                           (counter ? "flag" : "counter") + " here but as a " +
                                           what + " at " + u.writes.front().file + ":" +
                                           std::to_string(u.writes.front().line));
                }
            }
            for (size_t i = 0; i < u.reads.size(); i++) {
                if (u.readsCounter[i] && !counter) {
                    error(u.reads[i], "'" + name +
                                          "' is a flag (set and unset), not a counter to compare "
                                          "with a number");
                }
            }
            if (u.reads.empty()) {
                warning(u.writes.front(), what + " '" + name + "' is set but never read");
            }
        }
    }

    void reachable() {
        if (game.scene(game.start) == nullptr) {
            return;
        }
        std::set<std::string> reached = {game.start};
        std::vector<std::string> todo = {game.start};
        while (!todo.empty()) {
            const std::string here = todo.back();
            todo.pop_back();
            for (const std::string& next : goes[here]) {
                if (reached.insert(next).second) {
                    todo.push_back(next);
                }
            }
        }
        for (const ScriptGame::Scene& s : game.scenes) {
            if (reached.count(s.name) == 0) {
                warning(file(s.file), "no scene goes to scene '" + s.name +
                                          "' and the game does not start there: it can never "
                                          "be played");
            }
        }
    }
};

} // namespace

void ScriptChecker::check(const ScriptFolder& folder, const ScriptGame& game,
                          std::vector<ScriptFinding>& findings) {
    // Without its game file a game's names mean nothing yet: only what each
    // file says by itself is reported.
    if (!game.gameFileRead) {
        return;
    }
    Checker checker(folder, game, findings);
    checker.gameFile();
    for (const ScriptGame::Scene& scene : game.scenes) {
        checker.scene(scene);
    }
    checker.names();
    checker.reachable();
}

bool ScriptChecker::load(const ScriptFolder& folder, ScriptGame& game,
                         std::vector<ScriptFinding>& findings) {
    ScriptParser::parse(folder, game, findings);
    check(folder, game, findings);
    std::stable_sort(findings.begin(), findings.end());
    for (const ScriptFinding& f : findings) {
        if (f.severity == ScriptFinding::ERROR) {
            return false;
        }
    }
    return true;
}

std::string ScriptChecker::pngProblem(const std::string& b) {
    if (b.size() < 8 || b.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) {
        return "is not a PNG picture";
    }
    // The chunks, one after another, up to the end marker: a file that stops
    // before it was cut short.
    size_t at = 8;
    bool first = true;
    while (true) {
        if (at + 12 > b.size()) {
            return "is cut short: the file ends before the picture does";
        }
        const unsigned long length = bigEndian(b, at, 4);
        const std::string type = b.substr(at + 4, 4);
        if (length > 0x7FFFFFFFUL || at + 12 + length > b.size()) {
            return "is cut short: the file ends before the picture does";
        }
        if (first) {
            if (type != "IHDR" || length != 13) {
                return "is not a PNG picture";
            }
            const unsigned long width = bigEndian(b, at + 8, 4);
            const unsigned long height = bigEndian(b, at + 12, 4);
            if (width == 0 || height == 0 || width > 16384 || height > 16384) {
                return "has a size the game cannot show (" + std::to_string(width) + " x " +
                       std::to_string(height) + "; at most 16384 x 16384)";
            }
            first = false;
        }
        if (type == "IEND") {
            return "";
        }
        at += 12 + length;
    }
}

std::string ScriptChecker::fontProblem(const std::string& b) {
    if (b.size() < 12) {
        return b.empty() ? "is not a TrueType font (the file is empty)" : "is not a TrueType font";
    }
    const unsigned long version = bigEndian(b, 0, 4);
    if (version != 0x00010000UL && b.compare(0, 4, "true") != 0 && b.compare(0, 4, "OTTO") != 0) {
        return "is not a TrueType font";
    }
    const unsigned long tables = bigEndian(b, 4, 2);
    if (tables == 0 || tables > 256) {
        return "is not a TrueType font";
    }
    if (12 + 16 * tables > b.size()) {
        return "is cut short: the file ends before the font does";
    }
    for (unsigned long i = 0; i < tables; i++) {
        const size_t entry = 12 + 16 * i;
        const unsigned long offset = bigEndian(b, entry + 8, 4);
        const unsigned long length = bigEndian(b, entry + 12, 4);
        if (offset > b.size() || length > b.size() - offset) {
            return "is cut short: the file ends before the font does";
        }
    }
    return "";
}
