#include "ScriptLoad.h"

#include "ScriptChecker.h"
#include "ScriptZip.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

ScriptLoad::ScriptLoad(const std::string& path)
    : path(path)
    , ok(false) {
    struct stat info;
    std::string why;
    if (stat(path.c_str(), &info) != 0) {
        findings.emplace_back(path, 0, 0, ScriptFinding::ERROR,
                              "there is no game folder or .zip here");
        return;
    }
    if (S_ISDIR(info.st_mode)) {
        folderPath = path;
    } else if (!ScriptZip::unpack(path, unpacked, folderPath, why)) {
        findings.emplace_back(path, 0, 0, ScriptFinding::ERROR, "the game cannot be read: " + why);
        return;
    }
    folder = ScriptFolder(folderPath);
    ok = ScriptChecker::load(folder, game, findings);
}

ScriptLoad::~ScriptLoad() {
    if (!unpacked.empty()) {
        ScriptZip::remove(unpacked);
    }
}

std::string ScriptLoad::report() const {
    std::string out;
    size_t errors = 0, warnings = 0;
    for (const ScriptFinding& f : findings) {
        (f.severity == ScriptFinding::ERROR ? errors : warnings)++;
        if (errors + warnings > MAX_SHOWN) {
            continue;
        }
        ScriptFinding shown = f;
        if (shown.file != path) {
            shown.file = path + "/" + shown.file;
        }
        out += shown.format();
    }
    if (errors + warnings > MAX_SHOWN) {
        out += "... and " + std::to_string(errors + warnings - MAX_SHOWN) + " more\n";
    }
    if (errors + warnings > 0) {
        out += std::to_string(errors) + (errors == 1 ? " error, " : " errors, ") +
               std::to_string(warnings) + (warnings == 1 ? " warning\n" : " warnings\n");
    }
    return out;
}

std::string ScriptLoad::besideProgram(const char* argv0) {
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    std::string dir = ".";
    if (n > 0) {
        exe[n] = '\0';
        dir = exe;
    } else if (argv0 != nullptr) {
        dir = argv0;
    }
    dir = dir.find('/') == std::string::npos ? "." : dir.substr(0, dir.rfind('/'));
    struct stat info;
    if (stat((dir + "/game").c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return dir + "/game";
    }
    return dir + "/game.zip";
}
