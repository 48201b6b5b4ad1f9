#include "ScriptPackager.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

#include <zlib.h>

#include "ScriptArchive.h"
#include "ScriptLoad.h"
#include "ScriptPngPacker.h"

namespace fs = std::filesystem;

namespace {

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

// Whether every one of `files` is in `folder`.
bool holds(const std::string& folder, std::initializer_list<const char*> files) {
    std::error_code error;
    for (const char* file : files) {
        if (!fs::is_regular_file(fs::path(folder) / file, error)) {
            return false;
        }
    }
    return true;
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

int ScriptPackager::packageCommand(const std::vector<std::string>& args, const char* program) {
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
    ScriptLoad load(game);
    std::cout << load.report() << std::flush;
    if (!load.ok) {
        std::cout << "The game has errors: nothing was packaged." << std::endl;
        return 1;
    }
    ScriptPackager packager(findShare(program));
    return packager.package(load.folderPath, load.game.title, which, out) ? 0 : 1;
}

int ScriptPackager::newCommand(const std::vector<std::string>& args, const char* program) {
    if (args.size() != 1) {
        std::cout << "usage: kz new DIR" << std::endl;
        return 2;
    }
    ScriptArchive starter;
    const std::string from = findShare(program) + "/starter";
    std::error_code error;
    if (!fs::is_directory(from, error) || !starter.addTree("", from) || starter.entries().empty()) {
        std::cout << "kz new: no starter game in " << from << std::endl;
        return 1;
    }
    if (!starter.writeTree(args[0])) {
        return 1;
    }
    std::cout << "A new game is in " << args[0] << ": play it with kz " << args[0] << std::endl;
    return 0;
}

bool ScriptPackager::package(const std::string& folder, const std::string& title, Target target,
                             const std::string& out) {
    std::error_code error;
    fs::create_directories(out, error);
    if (!fs::is_directory(out, error)) {
        std::cout << "kz package: cannot write into " << out << std::endl;
        return false;
    }
    // The game's own files, its pictures packed smaller: hidden ones (a
    // writer's .git) and the output folder, when it is inside, left out.
    ScriptArchive files, game;
    if (!files.addTree("", folder, out)) {
        return false;
    }
    for (const ScriptArchive::Entry& entry : files.entries()) {
        game.add(entry.path, endsWith(entry.path, ".png") ? ScriptPngPacker::smaller(entry.bytes)
                                                          : entry.bytes);
    }
    switch (target) {
    case WINDOWS:
        return windows(title, game, out);
    case WEB:
        return web(title, game, out);
    case LINUX:
        break;
    }
    return linux(title, game, out);
}

std::string ScriptPackager::icon(const ScriptArchive& game) {
    for (const ScriptArchive::Entry& entry : game.entries()) {
        if (entry.path == "icon.png" && pngWidth(entry.bytes) > 0) {
            return entry.bytes;
        }
    }
    std::string png;
    ScriptArchive::readFile(share + "/icon.png", png);
    return png;
}

std::string ScriptPackager::readme(const std::string& title, const std::string& program) const {
    const std::string line(title.size(), '=');
    return title + "\r\n" + line + "\r\n\r\n" +
           "Descomprima la carpeta donde quiera y haga doble clic en " + program +
           ". No hace falta\r\ninstalar nada más. Deje juntos " + program +
           ", los archivos .dll y la carpeta\r\ngame, que es el juego.\r\n\r\n" +
           "Unzip the folder anywhere and double-click " + program +
           "; there is nothing else\r\nto install. Keep " + program +
           ", the .dll files and the folder game,\r\nwhich is the game, together.\r\n\r\n" +
           "El juego se maneja con el ratón; lo que escribe va a stdout.txt, junto a\r\n" +
           program + ". The game is played with the mouse; what it prints goes to\r\n" +
           "stdout.txt beside " + program + ".\r\n\r\nLicencias / Licences: licenses\r\n";
}

// Adds the game's files beneath `prefix`.
static void addGame(ScriptArchive& package, const std::string& prefix, const ScriptArchive& game) {
    for (const ScriptArchive::Entry& entry : game.entries()) {
        package.add(prefix + entry.path, entry.bytes);
    }
}

bool ScriptPackager::windows(const std::string& title, const ScriptArchive& game,
                             const std::string& out) {
    const std::string name = fileName(title), from = share + "/players/windows";
    ScriptArchive package;
    if (!holds(from, {"kz.exe"})) {
        std::cout << "kz package: no Windows player in " << from << std::endl;
        return false;
    }
    if (!package.addFile(name + "/" + name + ".exe", from + "/kz.exe")) {
        return false;
    }
    std::error_code error;
    std::vector<fs::path> dlls;
    for (const fs::directory_entry& entry : fs::directory_iterator(from, error)) {
        if (endsWith(entry.path().string(), ".dll")) {
            dlls.push_back(entry.path());
        }
    }
    std::sort(dlls.begin(), dlls.end());
    for (const fs::path& dll : dlls) {
        if (!package.addFile(name + "/" + dll.filename().string(), dll.string())) {
            return false;
        }
    }
    addGame(package, name + "/game/", game);
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

bool ScriptPackager::web(const std::string& title, const ScriptArchive& game,
                         const std::string& out) {
    const std::string from = share + "/players/web";
    const fs::path folder = fs::path(out) / (fileName(title) + "-web");
    std::string page, worker, zip;
    ScriptArchive files;
    if (!holds(from, {"index.html", "sw.js", "kz.js", "kz.wasm"})) {
        std::cout << "kz package: no web player in " << from << std::endl;
        return false;
    }
    if (!ScriptArchive::readFile(from + "/index.html", page) ||
        !ScriptArchive::readFile(from + "/sw.js", worker) ||
        !files.addFile("kz.js", from + "/kz.js") || !files.addFile("kz.wasm", from + "/kz.wasm")) {
        return false;
    }
    // The game as one zip, which the page hands to the player.
    const std::string packed = (fs::path(out) / ".kz-game.zip").string();
    const bool zipped = game.writeZip(packed) && ScriptArchive::readFile(packed, zip);
    std::error_code error;
    fs::remove(packed, error);
    if (!zipped) {
        return false;
    }
    files.add("index.html",
              replaced(page, "<title>kz</title>", "<title>" + html(title) + "</title>"));
    files.add("game.zip", zip);
    const std::string png = icon(game), size = std::to_string(pngWidth(png));
    files.add("icon.png", png);
    files.add("manifest.webmanifest",
              "{\n  \"name\": \"" + json(title) + "\",\n  \"short_name\": \"" + json(title) +
                  "\",\n  \"start_url\": \"./\",\n  \"scope\": \"./\",\n"
                  "  \"display\": \"standalone\",\n  \"orientation\": \"landscape\",\n"
                  "  \"background_color\": \"#111111\",\n  \"theme_color\": \"#111111\",\n"
                  "  \"icons\": [{ \"src\": \"icon.png\", \"sizes\": \"" +
                  size + "x" + size + "\", \"type\": \"image/png\" }]\n}\n");
    // The service worker keeps these files; their fingerprint makes a new
    // package a new worker, which replaces the old files.
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
    files.add("sw.js", replaced(replaced(replaced(worker, "@KZ_SW_BUILD@", build), "@KZ_SW_FILES@", kept),
                                  "@KZ_SW_CACHE@", "kz"));
    if (!files.addTree("licenses/", from + "/licenses")) {
        return false;
    }
    // An earlier package of the game is replaced; any other folder is kept.
    if (fs::exists(folder / "kz.wasm", error)) {
        fs::remove_all(folder, error);
    }
    if (!files.writeTree(folder.string())) {
        return false;
    }
    std::cout << "Wrote " << folder.string() << std::endl;
    return true;
}

bool ScriptPackager::linux(const std::string& title, const ScriptArchive& game,
                           const std::string& out) {
    const std::string name = fileName(title), id = packageName(title), version = "1.0";
    std::string depends, licence, player;
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error || !ScriptArchive::readFile(self.string(), player)) {
        std::cout << "kz package --for linux: only kz on Linux has a Linux player to ship"
                  << std::endl;
        return false;
    }
    if (!holds(share + "/players/linux", {"depends", "copyright"})) {
        std::cout << "kz package: no Linux player's notes in " << share << "/players/linux"
                  << std::endl;
        return false;
    }
    if (!ScriptArchive::readFile(share + "/players/linux/depends", depends) ||
        !ScriptArchive::readFile(share + "/players/linux/copyright", licence)) {
        return false;
    }
    while (!depends.empty() && (depends.back() == '\n' || depends.back() == ' ')) {
        depends.pop_back();
    }

    // The folder to unpack anywhere.
    ScriptArchive folder;
    folder.add(name + "/" + id, player, true);
    addGame(folder, name + "/game/", game);
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
    data.add("usr/games/" + id, "#!/bin/sh\nexec /" + lib + id + " --no-reload \"$@\"\n", true);
    data.add(lib + id, player, true);
    addGame(data, lib + "game/", game);
    data.add("usr/share/applications/" + id + ".desktop",
             "[Desktop Entry]\nType=Application\nName=" + title + "\nExec=/usr/games/" + id +
                 "\nIcon=" + id + "\nTerminal=false\nCategories=Game;AdventureGame;\n");
    data.add("usr/share/pixmaps/" + id + ".png", icon(game));
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
