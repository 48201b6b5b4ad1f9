#include "ScriptFolder.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <utility>

ScriptFolder::ScriptFolder(std::string root)
    : root(std::move(root)) {
    if (!this->root.empty()) {
        char resolved[PATH_MAX];
        if (realpath(this->root.c_str(), resolved) != nullptr) {
            realRoot = resolved;
        }
    }
}

void ScriptFolder::add(const std::string& name, const std::string& bytes) {
    memory[name] = bytes;
    listings.clear();
}

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); i++) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> split(const std::string& name) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= name.size()) {
        size_t slash = name.find('/', start);
        if (slash == std::string::npos) {
            slash = name.size();
        }
        parts.push_back(name.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

} // namespace

const std::vector<std::string>& ScriptFolder::entries(const std::string& dir) const {
    auto cached = listings.find(dir);
    if (cached != listings.end()) {
        return cached->second;
    }
    std::vector<std::string>& names = listings[dir];
    if (root.empty()) {
        // A folder in memory: the next part of every file's name under `dir`.
        const std::string prefix = dir.empty() ? "" : dir + "/";
        for (const auto& file : memory) {
            if (file.first.compare(0, prefix.size(), prefix) == 0) {
                const std::string rest = file.first.substr(prefix.size());
                names.push_back(rest.substr(0, rest.find('/')));
            }
        }
    } else if (DIR* d = opendir((root + "/" + dir).c_str())) {
        while (dirent* entry = readdir(d)) {
            const std::string n = entry->d_name;
            if (n != "." && n != "..") {
                names.push_back(n);
            }
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

ScriptFolder::Lookup ScriptFolder::find(const std::string& name, std::string* actual) const {
    if (name.empty() || name[0] == '/' || name.find('\\') != std::string::npos ||
        name.find(':') != std::string::npos) {
        return INVALID;
    }
    const std::vector<std::string> parts = split(name);
    for (const std::string& part : parts) {
        if (part.empty() || part == "." || part == "..") {
            return INVALID;
        }
    }
    // Part by part against the folder's own listing: the exact name, or the
    // same name in other letter case, which only some systems would accept.
    std::string dir;
    std::string spelt;
    bool wrongCase = false;
    for (const std::string& part : parts) {
        if (!root.empty() && !dir.empty() && !inside(dir)) {
            return OUTSIDE; // a folder on the way is a link out: not even listed
        }
        const std::vector<std::string>& names = entries(dir);
        std::string match;
        if (std::binary_search(names.begin(), names.end(), part)) {
            match = part;
        } else {
            for (const std::string& candidate : names) {
                if (sameIgnoringCase(candidate, part)) {
                    match = candidate;
                    wrongCase = true;
                    break;
                }
            }
        }
        if (match.empty()) {
            return MISSING;
        }
        dir = dir.empty() ? match : dir + "/" + match;
        spelt = dir;
    }
    if (wrongCase) {
        if (actual != nullptr) {
            *actual = spelt;
        }
        return WRONG_CASE;
    }
    if (root.empty()) {
        return memory.count(name) != 0 ? FOUND : NOT_A_FILE;
    }
    // Links are followed only as far as they stay inside the folder.
    if (!inside(name)) {
        return OUTSIDE;
    }
    struct stat info;
    if (stat((root + "/" + name).c_str(), &info) != 0) {
        return MISSING;
    }
    return S_ISREG(info.st_mode) ? FOUND : NOT_A_FILE;
}

bool ScriptFolder::inside(const std::string& name) const {
    char resolved[PATH_MAX];
    if (realRoot.empty() || realpath((root + "/" + name).c_str(), resolved) == nullptr) {
        return false;
    }
    const std::string real = resolved;
    return real.compare(0, realRoot.size() + 1, realRoot + "/") == 0;
}

bool ScriptFolder::read(const std::string& name, size_t limit, std::string& bytes,
                        std::string& why) const {
    bytes.clear();
    if (root.empty()) {
        auto file = memory.find(name);
        if (file == memory.end()) {
            why = "it is not there";
            return false;
        }
        if (file->second.size() > limit) {
            why = "it is too large (more than " + std::to_string(limit) + " bytes)";
            return false;
        }
        bytes = file->second;
        return true;
    }
    std::FILE* f = std::fopen((root + "/" + name).c_str(), "rb");
    if (f == nullptr) {
        why = "it cannot be opened";
        return false;
    }
    // Read one byte past the limit, so a file that grew is refused too.
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        bytes.append(buffer, got);
        if (bytes.size() > limit) {
            std::fclose(f);
            bytes.clear();
            why = "it is too large (more than " + std::to_string(limit) + " bytes)";
            return false;
        }
    }
    std::fclose(f);
    return true;
}

std::vector<std::string> ScriptFolder::list(const std::string& suffix) const {
    std::vector<std::string> found;
    for (const std::string& n : entries("")) {
        if (n.size() > suffix.size() &&
            n.compare(n.size() - suffix.size(), suffix.size(), suffix) == 0) {
            found.push_back(n);
        }
    }
    return found;
}

std::string ScriptFolder::explain(Lookup lookup, const std::string& actual) {
    switch (lookup) {
    case FOUND:
        return "";
    case MISSING:
        return "is not in the game's folder";
    case WRONG_CASE:
        return "is spelt '" + actual +
               "' in the folder: letter case must match (it would work on Windows but not on "
               "Linux or the web)";
    case OUTSIDE:
        return "leads out of the game's folder";
    case INVALID:
        return "is not a name inside the game's folder (no absolute paths, '..', '\\' or ':')";
    case NOT_A_FILE:
        return "is not a file";
    }
    return "";
}
