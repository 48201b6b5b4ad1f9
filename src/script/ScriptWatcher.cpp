#include "ScriptWatcher.h"

#include <algorithm>

namespace fs = std::filesystem;

bool ScriptWatcher::Stamp::operator!=(const Stamp& other) const {
    return time != other.time || size != other.size;
}

ScriptWatcher::ScriptWatcher(std::string folder)
    : folder(folder)
    , files()
    , settling()
    , changes()
    , lastLook(0)
    , limited(false) {
    files = look();
    settling = files;
}

// Names an editor gives its own files beside the one being edited.
static bool isEditorFile(const std::string& name) {
    const auto endsWith = [&name](const char* end) {
        const std::string tail(end);
        return name.size() >= tail.size() &&
               name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
    };
    return name.empty() || name[0] == '.' || name[0] == '#' || endsWith("~") || endsWith(".swp") ||
           endsWith(".tmp");
}

std::map<std::string, ScriptWatcher::Stamp> ScriptWatcher::look() {
    std::map<std::string, Stamp> found;
    std::error_code error;
    limited = false;
    fs::recursive_directory_iterator entry(folder, fs::directory_options::skip_permission_denied,
                                           error);
    for (; !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        const bool folderEntry = entry->is_directory(error);
        if (isEditorFile(name) || (folderEntry && entry.depth() + 1 >= MAX_DEPTH)) {
            if (folderEntry) {
                entry.disable_recursion_pending();
            }
            continue;
        }
        if (folderEntry || !entry->is_regular_file(error)) {
            continue;
        }
        if (found.size() == MAX_FILES) {
            limited = true;
            break;
        }
        Stamp stamp;
        stamp.time = entry->last_write_time(error);
        stamp.size = entry->file_size(error);
        found[entry->path().lexically_relative(folder).generic_string()] = stamp;
    }
    return found;
}

bool ScriptWatcher::poll(std::uint32_t now) {
    if (now - lastLook < INTERVAL_MS) {
        return false;
    }
    lastLook = now;
    // A change counts once two looks in a row agree on it: an editor that
    // empties a file and then writes it is not caught halfway.
    std::map<std::string, Stamp> current = look();
    const bool settled = sameStamps(current, settling);
    settling.swap(current);
    if (!settled || sameStamps(settling, files)) {
        return false;
    }
    std::vector<std::string> differ;
    for (const auto& file : settling) {
        const auto before = files.find(file.first);
        if (before == files.end() || before->second != file.second) {
            differ.push_back(file.first);
        }
    }
    for (const auto& file : files) {
        if (settling.count(file.first) == 0) {
            differ.push_back(file.first);
        }
    }
    files = settling;
    std::sort(differ.begin(), differ.end());
    changes.swap(differ);
    return true;
}

bool ScriptWatcher::sameStamps(const std::map<std::string, Stamp>& a,
                               const std::map<std::string, Stamp>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (auto x = a.begin(), y = b.begin(); x != a.end(); ++x, ++y) {
        if (x->first != y->first || x->second != y->second) {
            return false;
        }
    }
    return true;
}

const std::vector<std::string>& ScriptWatcher::changed() const {
    return changes;
}

bool ScriptWatcher::isLimited() const {
    return limited;
}
