#include "ScriptPackager.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

#include <unzip.h>
#include <zlib.h>

#include "ScriptArchive.h"

namespace fs = std::filesystem;

namespace {

// The largest icon or read-me taken out of a zipped game.
const unsigned long MAX_ENTRY = 4ul << 20;

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string replaced(std::string text, const std::string& what, const std::string& with) {
    for (size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + with.size())) {
        text.replace(at, what.size(), with);
    }
    return text;
}

// Text for an HTML page, or a JSON string's inside.
std::string html(const std::string& text) {
    return replaced(replaced(replaced(replaced(text, "&", "&amp;"), "<", "&lt;"), ">", "&gt;"),
                    "\"", "&quot;");
}
std::string json(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        if (c >= 0x20) {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// The file `name` at the top of the zip `file`, if it has one.
bool zipEntry(const std::string& file, const char* name, std::string& bytes) {
    unzFile zip = unzOpen64(file.c_str());
    if (!zip) {
        return false;
    }
    unz_file_info64 info;
    bool ok = unzLocateFile(zip, name, 1) == UNZ_OK &&
              unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK &&
              info.uncompressed_size <= MAX_ENTRY && unzOpenCurrentFile(zip) == UNZ_OK;
    if (ok) {
        bytes.assign(static_cast<size_t>(info.uncompressed_size), '\0');
        ok = unzReadCurrentFile(zip, &bytes[0], static_cast<unsigned>(bytes.size())) ==
             static_cast<int>(bytes.size());
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    return ok;
}

// The width of a PNG picture (its header's), or 0 when it is not one.
unsigned pngWidth(const std::string& png) {
    if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) {
        return 0;
    }
    unsigned width = 0;
    for (int i = 16; i < 20; i++) {
        width = width << 8 | static_cast<unsigned char>(png[i]);
    }
    return width;
}

} // namespace

ScriptPackager::ScriptPackager(const std::string& share)
    : share(share) {}

std::string ScriptPackager::findShare(const char* program) {
    if (const char* given = std::getenv("KZ_SHARE")) {
        return given;
    }
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        self = fs::absolute(program, error);
    }
    const fs::path installed = self.parent_path().parent_path() / "share" / "kz";
    if (fs::is_directory(installed / "players", error)) {
        return installed.string();
    }
    return (self.parent_path() / "share" / "kz").string();
}

std::string ScriptPackager::fileName(const std::string& title) {
    std::string name;
    for (unsigned char c : title) {
        if (std::isalnum(c) || c >= 0x80 || c == '-' || c == '_' || c == '.') {
            name += static_cast<char>(c);
        } else if (c == ' ' && !name.empty() && name.back() != '-') {
            name += '-';
        }
    }
    // Windows will not have a name that ends in a dot or a blank.
    while (!name.empty() && (name.back() == '-' || name.back() == '.')) {
        name.pop_back();
    }
    return name.empty() || name[0] == '.' ? "game" : name;
}

std::string ScriptPackager::packageName(const std::string& title) {
    std::string name;
    for (unsigned char c : title) {
        if (c < 0x80 && std::isalnum(c)) {
            name += static_cast<char>(std::tolower(c));
        } else if (!name.empty() && name.back() != '-') {
            name += '-';
        }
    }
    while (!name.empty() && name.back() == '-') {
        name.pop_back();
    }
    return name.size() < 2 ? "game" + name : name;
}

int ScriptPackager::packageCommand(const std::vector<std::string>& args, const char* program,
                                   const Checker& check) {
    std::string game, target, out = ".";
    bool ok = true;
    for (size_t i = 0; i < args.size() && ok; i++) {
        if ((args[i] == "--for" || args[i] == "--out") && i + 1 < args.size()) {
            (args[i] == "--for" ? target : out) = args[i + 1];
            i++;
        } else if (game.empty() && args[i].compare(0, 2, "--") != 0) {
            game = args[i];
        } else {
            ok = false;
        }
    }
    Target which = LINUX;
    if (target == "windows") {
        which = WINDOWS;
    } else if (target == "web") {
        which = WEB;
    } else if (target != "linux") {
        ok = false;
    }
    if (!ok || game.empty()) {
        std::cout << "usage: kz package GAME --for linux|windows|web [--out DIR]" << std::endl;
        return 2;
    }
    std::string title;
    if (!check(game, title)) {
        std::cout << "kz package: " << game << " has errors; nothing was packaged" << std::endl;
        return 1;
    }
    ScriptPackager packager(findShare(program));
    return packager.package(game, title, which, out) ? 0 : 1;
}

int ScriptPackager::newCommand(const std::vector<std::string>& args, const char* program) {
    if (args.size() != 1) {
        std::cout << "usage: kz new DIR" << std::endl;
        return 2;
    }
    ScriptArchive starter;
    const std::string from = findShare(program) + "/starter";
    if (!starter.addTree("", from) || starter.entries().empty()) {
        std::cout << "kz new: no starter game in " << from << std::endl;
        return 1;
    }
    if (!starter.writeTree(args[0])) {
        return 1;
    }
    std::cout << "A new game is in " << args[0] << ": play it with kz " << args[0] << std::endl;
    return 0;
}

bool ScriptPackager::package(const std::string& game, const std::string& title, Target target,
                             const std::string& out) {
    std::error_code error;
    fs::create_directories(out, error);
    if (!fs::is_directory(out, error)) {
        std::cout << "kz package: cannot write into " << out << std::endl;
        return false;
    }
    std::string zip;
    if (!packGame(game, out, zip)) {
        return false;
    }
    switch (target) {
    case WINDOWS:
        return windows(title, zip, out);
    case WEB:
        return web(title, zip, icon(game), out);
    case LINUX:
        break;
    }
    return linux(title, zip, icon(game), out);
}

// The game as one zip: a zipped game as it is, a folder packed (its hidden
// files and the output folder, if it is inside, left out).
bool ScriptPackager::packGame(const std::string& game, const std::string& out, std::string& zip) {
    std::error_code error;
    if (!fs::is_directory(game, error)) {
        return ScriptArchive::readFile(game, zip);
    }
    ScriptArchive files;
    const std::string packed = (fs::path(out) / ".kz-game.zip").string();
    bool ok = files.addTree("", game, out) && files.writeZip(packed) &&
              ScriptArchive::readFile(packed, zip);
    fs::remove(packed, error);
    return ok;
}

std::string ScriptPackager::icon(const std::string& game) {
    std::string png;
    std::error_code error;
    if (fs::is_directory(game, error)) {
        if (!fs::is_symlink(fs::path(game) / "icon.png", error) &&
            fs::is_regular_file(fs::path(game) / "icon.png", error)) {
            ScriptArchive::readFile((fs::path(game) / "icon.png").string(), png);
        }
    } else {
        zipEntry(game, "icon.png", png);
    }
    if (pngWidth(png) == 0) {
        ScriptArchive::readFile(share + "/players/web/icon-192.png", png);
    }
    return png;
}

std::string ScriptPackager::readme(const std::string& title, const std::string& program) const {
    const std::string line(title.size(), '=');
    return title + "\r\n" + line + "\r\n\r\n" +
           "Descomprima la carpeta donde quiera y haga doble clic en " + program +
           ". No hace falta\r\ninstalar nada más. Deje juntos " + program +
           ", los archivos .dll y game.zip:\r\ngame.zip es el juego.\r\n\r\n" +
           "Unzip the folder anywhere and double-click " + program +
           "; there is nothing else\r\nto install. Keep " + program +
           ", the .dll files and game.zip together:\r\ngame.zip is the game.\r\n\r\n" +
           "El juego se maneja con el ratón; lo que escribe va a stdout.txt, junto a\r\n" +
           program +
           ". The game is played with the mouse; what it prints goes to stdout.txt\r\nbeside " +
           program + ".\r\n\r\nLicencias / Licences: licenses\r\n";
}

bool ScriptPackager::windows(const std::string& title, const std::string& zip,
                             const std::string& out) {
    const std::string name = fileName(title), from = share + "/players/windows";
    ScriptArchive package;
    if (!package.addFile(name + "/" + name + ".exe", from + "/kz.exe")) {
        std::cout << "kz package: no Windows player in " << from << std::endl;
        return false;
    }
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(from, error)) {
        if (endsWith(entry.path().string(), ".dll") &&
            !package.addFile(name + "/" + entry.path().filename().string(),
                             entry.path().string())) {
            return false;
        }
    }
    package.add(name + "/game.zip", zip);
    package.add(name + "/LEEME.txt", readme(title, name + ".exe"));
    if (!package.addTree(name + "/licenses/", from + "/licenses")) {
        return false;
    }
    const std::string file = (fs::path(out) / (name + "-windows-x64.zip")).string();
    if (!package.writeZip(file)) {
        return false;
    }
    std::cout << "Wrote " << file << std::endl;
    return true;
}

bool ScriptPackager::web(const std::string& title, const std::string& zip, const std::string& icon,
                         const std::string& out) {
    const std::string from = share + "/players/web";
    const fs::path folder = fs::path(out) / (fileName(title) + "-web");
    std::string page, worker;
    ScriptArchive files;
    if (!ScriptArchive::readFile(from + "/index.html", page) ||
        !ScriptArchive::readFile(from + "/sw.js", worker) ||
        !files.addFile("kz.js", from + "/kz.js") || !files.addFile("kz.wasm", from + "/kz.wasm")) {
        std::cout << "kz package: no web player in " << from << std::endl;
        return false;
    }
    files.add("index.html",
              replaced(page, "<title>kz</title>", "<title>" + html(title) + "</title>"));
    files.add("game.zip", zip);
    files.add("icon.png", icon);
    const std::string size = std::to_string(pngWidth(icon));
    files.add("manifest.webmanifest",
              "{\n  \"name\": \"" + json(title) + "\",\n  \"short_name\": \"" + json(title) +
                  "\",\n  \"start_url\": \"./\",\n  \"scope\": \"./\",\n"
                  "  \"display\": \"standalone\",\n  \"orientation\": \"landscape\",\n"
                  "  \"background_color\": \"#111111\",\n  \"theme_color\": \"#111111\",\n"
                  "  \"icons\": [{ \"src\": \"icon.png\", \"sizes\": \"" +
                  size + "x" + size + "\", \"type\": \"image/png\" }]\n}\n");
    // The service worker keeps this build's files; their fingerprint makes a
    // new package a new worker, which replaces the old files.
    uLong sum = crc32(0, nullptr, 0), length = 0;
    std::string kept = "\"./\"";
    for (const ScriptArchive::Entry& entry : files.entries()) {
        sum = crc32(sum, reinterpret_cast<const Bytef*>(entry.bytes.data()),
                    static_cast<uInt>(entry.bytes.size()));
        length += entry.bytes.size();
        kept += ", \"" + entry.path + "\"";
    }
    char build[24];
    std::snprintf(build, sizeof build, "%08lx%08lx", sum, length & 0xffffffff);
    files.add("sw.js", replaced(replaced(worker, "@DEMO_BUILD@", build), "@DEMO_FILES@", kept));
    if (!files.addTree("licenses/", from + "/licenses")) {
        return false;
    }
    // An earlier package of the game is replaced; any other folder is kept.
    std::error_code error;
    if (fs::exists(folder / "kz.wasm", error)) {
        fs::remove_all(folder, error);
    }
    if (!files.writeTree(folder.string())) {
        return false;
    }
    std::cout << "Wrote " << folder.string() << std::endl;
    return true;
}

bool ScriptPackager::linux(const std::string& title, const std::string& zip,
                           const std::string& icon, const std::string& out) {
    const std::string name = fileName(title), id = packageName(title), version = "1.0";
    std::string depends, licence;
    std::error_code error;
    const std::string player = fs::read_symlink("/proc/self/exe", error).string();
    if (!ScriptArchive::readFile(share + "/players/linux/depends", depends) ||
        !ScriptArchive::readFile(share + "/players/linux/copyright", licence)) {
        std::cout << "kz package: no Linux player's notes in " << share << "/players/linux"
                  << std::endl;
        return false;
    }
    while (!depends.empty() && (depends.back() == '\n' || depends.back() == ' ')) {
        depends.pop_back();
    }

    // The folder to unpack anywhere.
    ScriptArchive folder;
    if (!folder.addFile(name + "/" + id, player, true)) {
        return false;
    }
    folder.add(name + "/game.zip", zip);
    folder.add(name + "/LICENSE.txt", licence);
    const std::string tarball = (fs::path(out) / (name + "-linux-x64.tar.gz")).string();
    if (!ScriptArchive::writeFile(tarball, ScriptArchive::gzip(folder.tar()))) {
        return false;
    }
    std::cout << "Wrote " << tarball << std::endl;

    // The Debian package: the player and the game in /usr/lib/games/<id>, a
    // launcher on the games' PATH, the menu entry and its icon.
    ScriptArchive data;
    const std::string lib = "usr/lib/games/" + id + "/";
    data.add("usr/games/" + id, "#!/bin/sh\nexec /" + lib + id + " \"$@\"\n", true);
    data.add(lib + id, folder.entries()[0].bytes, true);
    data.add(lib + "game.zip", zip);
    data.add("usr/share/applications/" + id + ".desktop",
             "[Desktop Entry]\nType=Application\nName=" + title + "\nExec=/usr/games/" + id +
                 "\nIcon=" + id + "\nTerminal=false\nCategories=Game;AdventureGame;\n");
    data.add("usr/share/pixmaps/" + id + ".png", icon);
    data.add("usr/share/doc/" + id + "/copyright", licence);
    ScriptArchive control;
    control.add("control",
                "Package: " + id + "\nVersion: " + version +
                    "\nArchitecture: amd64\nMaintainer: The " + title +
                    " authors\nInstalled-Size: " + std::to_string(data.size() / 1024 + 1) +
                    "\nDepends: " + depends + "\nSection: games\nPriority: optional\n" +
                    "Description: " + title + "\n A game played by kz.\n");
    const std::string deb = (fs::path(out) / (id + "_" + version + "_amd64.deb")).string();
    if (!ScriptArchive::writeDeb(deb, ScriptArchive::gzip(control.tar("./")),
                                 ScriptArchive::gzip(data.tar("./")))) {
        return false;
    }
    std::cout << "Wrote " << deb << std::endl;
    return true;
}
