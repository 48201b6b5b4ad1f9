#include "ScriptZip.h"

#include "ScriptSource.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <unzip.h>
#include <vector>

namespace {

bool safeName(const std::string& name) {
    if (name.empty() || name[0] == '/' || name.find('\\') != std::string::npos ||
        name.find(':') != std::string::npos) {
        return false;
    }
    size_t start = 0;
    while (start < name.size()) {
        size_t slash = name.find('/', start);
        if (slash == std::string::npos) {
            slash = name.size();
        }
        const std::string part = name.substr(start, slash - start);
        if (part == ".." || part == "." || (part.empty() && slash != name.size())) {
            return false;
        }
        for (char c : part) {
            if (static_cast<unsigned char>(c) < 0x20) {
                return false;
            }
        }
        start = slash + 1;
    }
    return true;
}

bool makeFolders(const std::string& root, const std::string& name) {
    size_t slash = 0;
    while ((slash = name.find('/', slash)) != std::string::npos) {
        const std::string dir = root + "/" + name.substr(0, slash);
        if (mkdir(dir.c_str(), 0700) != 0) {
            struct stat info;
            if (lstat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
                return false;
            }
        }
        slash++;
    }
    return true;
}

} // namespace

void ScriptZip::remove(const std::string& folder) {
    DIR* d = opendir(folder.c_str());
    if (d != nullptr) {
        while (dirent* entry = readdir(d)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string path = folder + "/" + name;
            struct stat info;
            if (lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
                remove(path);
            } else {
                unlink(path.c_str());
            }
        }
        closedir(d);
    }
    rmdir(folder.c_str());
}

bool ScriptZip::unpack(const std::string& zip, std::string& made, std::string& folder,
                       std::string& why) {
    unzFile archive = unzOpen64(zip.c_str());
    if (archive == nullptr) {
        why = "it is not a .zip archive, or it is damaged";
        return false;
    }
    // Windows names its temporary folder TEMP.
    const char* tmp = std::getenv("TMPDIR");
    if (tmp == nullptr || tmp[0] == '\0') {
        tmp = std::getenv("TEMP");
    }
    std::string pattern =
        std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/kz-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        unzClose(archive);
        why = "no private folder could be made to unpack it in";
        return false;
    }
    const std::string root = buffer.data();
    size_t entries = 0, total = 0;
    std::set<std::string> tops;
    std::vector<char> data(65536);
    int status = unzGoToFirstFile(archive);
    while (status == UNZ_OK && why.empty()) {
        unz_file_info64 info;
        char name[1024];
        if (unzGetCurrentFileInfo64(archive, &info, name, sizeof name, nullptr, 0, nullptr, 0) !=
                UNZ_OK ||
            info.size_filename >= sizeof name || !ScriptSource::isUtf8(name)) {
            why = "an entry's name cannot be read";
            break;
        }
        const std::string entry = name;
        if (++entries > MAX_ENTRIES) {
            why = "it holds more than " + std::to_string(MAX_ENTRIES) + " entries";
            break;
        }
        if (!safeName(entry)) {
            why = "the entry '" + entry + "' is not a name inside the game's folder";
            break;
        }
        // Made on Unix (the upper byte of "version made by" is 3): the upper
        // half of the external attributes is the file's mode. Links are refused.
        const unsigned long mode = info.external_fa >> 16;
        if ((info.version >> 8) == 3 && (mode & 0170000) == 0120000) {
            why = "the entry '" + entry + "' is a link, which a game may not hold";
            break;
        }
        tops.insert(entry.substr(0, entry.find('/')) +
                    (entry.find('/') == std::string::npos ? "" : "/"));
        if (!makeFolders(root, entry)) {
            why = "the entry '" + entry + "' cannot be unpacked";
            break;
        }
        if (entry.back() == '/') {
            status = unzGoToNextFile(archive);
            continue;
        }
        // Encrypted entries are refused before they are read: without the
        // password their bytes would be unpacked as if they were the file's.
        if ((info.flag & 1) != 0 || unzOpenCurrentFile(archive) != UNZ_OK) {
            why = "the entry '" + entry + "' cannot be unpacked (damaged or encrypted)";
            break;
        }
        const std::string path = root + "/" + entry;
        std::FILE* out = std::fopen(path.c_str(), "wbx");
        if (out == nullptr) {
            unzCloseCurrentFile(archive);
            why = "the entry '" + entry + "' cannot be unpacked (given twice?)";
            break;
        }
        size_t size = 0;
        int got;
        while ((got = unzReadCurrentFile(archive, data.data(),
                                         static_cast<unsigned>(data.size()))) > 0) {
            size += static_cast<size_t>(got);
            total += static_cast<size_t>(got);
            if (size > MAX_ENTRY || total > MAX_TOTAL) {
                why = "the entry '" + entry + "' is too large unpacked";
                break;
            }
            std::fwrite(data.data(), 1, static_cast<size_t>(got), out);
        }
        std::fclose(out);
        if (why.empty() && got < 0) {
            why = "the entry '" + entry + "' is damaged (the archive may be cut short)";
        }
        if (unzCloseCurrentFile(archive) == UNZ_CRCERROR && why.empty()) {
            why = "the entry '" + entry + "' is damaged (its checksum does not match)";
        }
        status = unzGoToNextFile(archive);
    }
    if (why.empty() && status != UNZ_END_OF_LIST_OF_FILE) {
        why = "it is damaged (the archive may be cut short)";
    }
    unzClose(archive);
    if (!why.empty()) {
        remove(root);
        return false;
    }
    // One top folder and no game file at the root: the game is in that folder.
    made = root;
    folder = root;
    if (tops.size() == 1 && tops.begin()->back() == '/') {
        folder = root + "/" + tops.begin()->substr(0, tops.begin()->size() - 1);
    }
    return true;
}
