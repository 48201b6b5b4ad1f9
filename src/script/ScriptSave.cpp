#include "ScriptSave.h"

#include "KZ/Platform.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;
using Json = nlohmann::json;

bool ScriptSaved::operator==(const ScriptSaved& other) const {
    return scene == other.scene && flags == other.flags && counters == other.counters &&
           seen == other.seen && script == other.script && line == other.line &&
           place == other.place;
}

ScriptSave::ScriptSave(std::string path)
    : path(path) {}

// A game's title as a folder name every system takes: the characters that
// some system forbids in names, and dots at the start, become '_'.
static std::string folderName(const std::string& title) {
    std::string name;
    for (char c : title.substr(0, 100)) {
        const unsigned char byte = static_cast<unsigned char>(c);
        const bool forbidden =
            byte < 0x20 || std::strchr("/\\:*?\"<>|", c) != nullptr || (c == '.' && name.empty());
        name += forbidden ? '_' : c;
    }
    return name.empty() ? "game" : name;
}

std::string ScriptSave::pathFor(const std::string& title) {
    const std::string data = KZ_Platform::dataFolder();
    if (data.empty()) {
        return "";
    }
    return data + "/kz/" + folderName(title) + "/save.json";
}

const std::string& ScriptSave::getPath() const {
    return path;
}

bool ScriptSave::exists() const {
    std::error_code error;
    return fs::symlink_status(path, error).type() != fs::file_type::not_found && !error;
}

std::string ScriptSave::toText(const ScriptSaved& state) {
    // Keys in a fixed, readable order: the version first.
    nlohmann::ordered_json save;
    save["version"] = VERSION;
    save["scene"] = state.scene;
    save["flags"] = state.flags;
    save["counters"] = state.counters;
    save["seen"] = state.seen;
    if (!state.script.empty()) {
        save["place"] = {{"script", state.script}, {"line", state.line}, {"at", state.place}};
    }
    // The names come from checked UTF-8 files; a stray byte still must not
    // stop the save.
    return save.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

bool ScriptSave::write(const ScriptSaved& state) {
    const std::string text = toText(state);
    const std::string fresh = path + ".new";
    std::error_code error;
    const fs::path folder = fs::path(path).parent_path();
    if (!folder.empty()) {
        fs::create_directories(folder, error);
    }
    std::FILE* file = std::fopen(fresh.c_str(), "wb");
    bool written = file != nullptr;
    const char* why = written ? "" : std::strerror(errno);
    if (written) {
        written =
            std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
        if (!written) {
            why = std::strerror(errno);
        }
        written = std::fclose(file) == 0 && written;
    }
    if (written && !KZ_Platform::replaceFile(fresh, path)) {
        why = std::strerror(errno);
        written = false;
    }
    if (!written) {
        std::remove(fresh.c_str());
        std::printf("Could not save the game in %s: %s\n", path.c_str(), why);
        std::fflush(stdout);
    }
    return written;
}

bool ScriptSave::read(ScriptSaved& state) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    std::string why;
    if (status.type() == fs::file_type::not_found) {
        return false; // no save yet: nothing to say
    }
    std::string text;
    if (error) {
        why = "it cannot be read (" + error.message() + ")";
    } else if (status.type() == fs::file_type::directory) {
        why = "it is a folder, not a file";
    } else if (status.type() != fs::file_type::regular) {
        why = "it is not a file";
    } else {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr) {
            why = std::string("it cannot be read (") + std::strerror(errno) + ")";
        } else {
            // Read at most one byte more than allowed: a file that grows
            // while it is read is still refused, and never read whole.
            char buffer[65536];
            std::size_t got = 0;
            while (text.size() <= MAX_BYTES &&
                   (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
                text.append(buffer, got);
            }
            std::fclose(file);
            if (text.size() > MAX_BYTES) {
                why = "it is larger than 1 MiB";
            }
        }
    }
    if (why.empty() && fromText(text, state, why)) {
        return true;
    }
    std::printf("The save %s is ignored: %s\n", path.c_str(), why.c_str());
    std::fflush(stdout);
    return false;
}

// A name from a save: a string, not empty, of at most MAX_NAME bytes, with no
// NUL (JSON can carry one; no name in a game has one).
static bool isName(const Json& value) {
    if (!value.is_string()) {
        return false;
    }
    const std::string& name = value.get_ref<const std::string&>();
    return !name.empty() && name.size() <= ScriptSave::MAX_NAME &&
           name.find('\0') == std::string::npos;
}

// Reads a list of names into `names`; false if it is anything else.
static bool readNames(const Json& value, std::set<std::string>& names) {
    if (!value.is_array()) {
        return false;
    }
    for (const Json& item : value) {
        if (!isName(item)) {
            return false;
        }
        names.insert(item.get<std::string>());
    }
    return true;
}

// Reads counters (names to whole numbers an int holds) into `counters`.
static bool readCounters(const Json& value, std::map<std::string, int>& counters) {
    if (!value.is_object()) {
        return false;
    }
    for (auto item = value.begin(); item != value.end(); ++item) {
        const Json& number = item.value();
        if (!isName(Json(item.key())) || !number.is_number_integer()) {
            return false;
        }
        // Unsigned numbers past INT64_MAX would wrap as signed: read each as it is.
        if (number.is_number_unsigned()
                ? number.get<unsigned long long>() > INT_MAX
                : (number.get<long long>() > INT_MAX || number.get<long long>() < INT_MIN)) {
            return false;
        }
        // A counter at 0 is one never set: the state does not hold it.
        if (number.get<long long>() != 0) {
            counters[item.key()] = static_cast<int>(number.get<long long>());
        }
    }
    return true;
}

bool ScriptSave::fromText(const std::string& text, ScriptSaved& state, std::string& why) {
    if (text.size() > MAX_BYTES) {
        why = "it is larger than 1 MiB";
        return false;
    }
    // No exceptions: a text that is not JSON parses to a discarded value.
    const Json save = Json::parse(text, nullptr, false);
    if (save.is_discarded() || !save.is_object()) {
        why = "it is not a save (cut short or damaged)";
        return false;
    }
    const auto version = save.find("version");
    if (version == save.end() || !version->is_number_integer()) {
        why = "it is not a save (it has no version)";
        return false;
    }
    if (version->is_number_unsigned() ? version->get<unsigned long long>() != VERSION
                                      : version->get<long long>() != VERSION) {
        why = "it was made by another version of the player (save version " + version->dump() +
              ", this one reads " + std::to_string(VERSION) + ")";
        return false;
    }
    ScriptSaved read;
    const auto scene = save.find("scene");
    if (scene == save.end() || !isName(*scene)) {
        why = "\"scene\" is not the name of a scene";
        return false;
    }
    read.scene = scene->get<std::string>();
    const char* lists[] = {"flags", "seen"};
    std::set<std::string>* into[] = {&read.flags, &read.seen};
    for (int k = 0; k < 2; ++k) {
        const auto names = save.find(lists[k]);
        if (names != save.end() && !readNames(*names, *into[k])) {
            why = std::string("\"") + lists[k] + "\" is not a list of names";
            return false;
        }
    }
    const auto counters = save.find("counters");
    if (counters != save.end() && !readCounters(*counters, read.counters)) {
        why = "\"counters\" is not a table of names and whole numbers";
        return false;
    }
    const auto place = save.find("place");
    if (place != save.end()) {
        const bool whole = place->is_object() && place->contains("script") &&
                           place->contains("line") && isName((*place)["script"]) &&
                           (*place)["line"].is_string() &&
                           (*place)["line"].get_ref<const std::string&>().size() <= MAX_BYTES;
        if (!whole) {
            why = "\"place\" is not a script and a line";
            return false;
        }
        read.script = (*place)["script"].get<std::string>();
        read.line = (*place)["line"].get<std::string>();
        // Where in the script: counts of statements, a few levels deep.
        const auto at = place->find("at");
        if (at != place->end()) {
            bool counts = at->is_array() && at->size() <= 100;
            for (std::size_t k = 0; counts && k < at->size(); k++) {
                const Json& n = (*at)[k];
                counts = n.is_number_unsigned() && n.get<unsigned long long>() <= INT_MAX;
                if (counts) {
                    read.place.push_back(static_cast<int>(n.get<unsigned long long>()));
                }
            }
            if (!counts) {
                why = "\"place\" is not a script and a line";
                return false;
            }
        }
    }
    state = read;
    return true;
}

// Forgets each name of `names` that `known` does not hold, saying so.
static void dropUnknown(std::set<std::string>& names, const std::set<std::string>& known,
                        const char* kind) {
    for (auto name = names.begin(); name != names.end();) {
        if (known.count(*name) == 0) {
            std::printf("The save's %s \"%s\" is no longer in the game: dropped\n", kind,
                        name->c_str());
            name = names.erase(name);
        } else {
            ++name;
        }
    }
}

void ScriptSave::keepWhatFits(ScriptSaved& state, const ScriptSaveNames& names) {
    if (names.scenes.count(state.scene) == 0) {
        std::printf("The save's scene \"%s\" is no longer in the game: starting at \"%s\"\n",
                    state.scene.c_str(), names.firstScene.c_str());
        state.scene = names.firstScene;
        state.script.clear();
        state.line.clear();
        state.place.clear();
    }
    dropUnknown(state.flags, names.flags, "flag");
    for (auto counter = state.counters.begin(); counter != state.counters.end();) {
        if (names.counters.count(counter->first) == 0) {
            std::printf("The save's counter \"%s\" is no longer in the game: dropped\n",
                        counter->first.c_str());
            counter = state.counters.erase(counter);
        } else {
            ++counter;
        }
    }
    dropUnknown(state.seen, names.blocks, "block or thing seen");
    if (!state.script.empty()) {
        const auto script = names.scripts.find(state.script);
        if (script == names.scripts.end() || script->second.count(state.line) == 0) {
            std::printf("The save's line \"%s\" is no longer in %s: the scene starts at rest\n",
                        state.line.c_str(), state.script.c_str());
            state.script.clear();
            state.line.clear();
            state.place.clear();
        }
    }
    std::fflush(stdout);
}
