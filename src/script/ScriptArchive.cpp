#include "ScriptArchive.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <system_error>

#include <zip.h>
#include <zlib.h>

namespace fs = std::filesystem;

void ScriptArchive::add(const std::string& path, const std::string& bytes, bool executable) {
    files.push_back(Entry{path, bytes, executable});
}

bool ScriptArchive::readFile(const std::string& file, std::string& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::cout << "Could not read " << file << std::endl;
        return false;
    }
    in.seekg(0, std::ios::end);
    const long long length = in.tellg();
    if (length < 0 || length > MAX_FILE) {
        std::cout << "Could not read " << file << ": larger than " << (MAX_FILE >> 20) << " MiB"
                  << std::endl;
        return false;
    }
    bytes.assign(static_cast<size_t>(length), '\0');
    in.seekg(0);
    if (!in.read(&bytes[0], length)) {
        std::cout << "Could not read " << file << std::endl;
        return false;
    }
    return true;
}

bool ScriptArchive::writeFile(const std::string& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) ||
        !out.flush()) {
        std::cout << "Could not write " << file << std::endl;
        return false;
    }
    return true;
}

bool ScriptArchive::addFile(const std::string& path, const std::string& from, bool executable) {
    std::string bytes;
    if (!readFile(from, bytes)) {
        return false;
    }
    add(path, bytes, executable);
    return true;
}

long long ScriptArchive::size() const {
    long long total = 0;
    for (const Entry& entry : files) {
        total += static_cast<long long>(entry.bytes.size());
    }
    return total;
}

bool ScriptArchive::addTree(const std::string& prefix, const std::string& folder,
                            const std::string& skip) {
    std::error_code error;
    std::vector<fs::path> found;
    fs::recursive_directory_iterator it(folder, error), end;
    if (error) {
        std::cout << "Could not read the folder " << folder << std::endl;
        return false;
    }
    for (; it != end; it.increment(error)) {
        if (error) {
            std::cout << "Could not read the folder " << folder << std::endl;
            return false;
        }
        const fs::path name = it->path().filename();
        if (name.string()[0] == '.' || (!skip.empty() && fs::equivalent(it->path(), skip, error))) {
            if (it->is_directory(error)) {
                it.disable_recursion_pending();
            }
            continue;
        }
        if (it->is_symlink(error)) {
            std::cout << it->path().string()
                      << " is a link: a package holds only the game's own files" << std::endl;
            return false;
        }
        if (it->is_regular_file(error)) {
            found.push_back(it->path());
        }
    }
    std::sort(found.begin(), found.end());
    for (const fs::path& file : found) {
        if (!addFile(prefix + fs::relative(file, folder).generic_string(), file.string())) {
            return false;
        }
        if (size() > MAX_TOTAL) {
            std::cout << folder << " holds more than " << (MAX_TOTAL >> 20) << " MiB" << std::endl;
            return false;
        }
    }
    return true;
}

bool ScriptArchive::writeZip(const std::string& file) const {
    zipFile zip = zipOpen64(file.c_str(), APPEND_STATUS_CREATE);
    if (!zip) {
        std::cout << "Could not write " << file << std::endl;
        return false;
    }
    const std::time_t now = std::time(nullptr);
    const std::tm local = *std::localtime(&now);
    bool ok = true;
    for (const Entry& entry : files) {
        zip_fileinfo info;
        std::memset(&info, 0, sizeof info);
        info.tmz_date.tm_sec = local.tm_sec;
        info.tmz_date.tm_min = local.tm_min;
        info.tmz_date.tm_hour = local.tm_hour;
        info.tmz_date.tm_mday = local.tm_mday;
        info.tmz_date.tm_mon = local.tm_mon;
        info.tmz_date.tm_year = local.tm_year + 1900;
        // Made on Unix (3), so unzip keeps the permissions in the high bits.
        info.external_fa = static_cast<uLong>(entry.executable ? 0100755 : 0100644) << 16;
        const uLong madeOnUnix = (3 << 8) | 20, utf8Names = 1 << 11;
        ok = zipOpenNewFileInZip4_64(zip, entry.path.c_str(), &info, nullptr, 0, nullptr, 0,
                                     nullptr, Z_DEFLATED, Z_BEST_COMPRESSION, 0, -MAX_WBITS, 8,
                                     Z_DEFAULT_STRATEGY, nullptr, 0, madeOnUnix, utf8Names,
                                     0) == ZIP_OK &&
             zipWriteInFileInZip(zip, entry.bytes.data(),
                                 static_cast<unsigned>(entry.bytes.size())) == ZIP_OK &&
             zipCloseFileInZip(zip) == ZIP_OK;
        if (!ok) {
            break;
        }
    }
    ok = zipClose(zip, nullptr) == ZIP_OK && ok;
    if (!ok) {
        std::cout << "Could not write " << file << std::endl;
        std::remove(file.c_str());
    }
    return ok;
}

bool ScriptArchive::writeTree(const std::string& folder) const {
    std::error_code error;
    if (fs::exists(folder, error) && !fs::is_empty(folder, error)) {
        std::cout << folder << " is not empty: nothing was written" << std::endl;
        return false;
    }
    for (const Entry& entry : files) {
        const fs::path target = fs::path(folder) / entry.path;
        fs::create_directories(target.parent_path(), error);
        if (!writeFile(target.string(), entry.bytes)) {
            return false;
        }
        if (entry.executable) {
            fs::permissions(target,
                            fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                            fs::perm_options::add, error);
        }
    }
    return true;
}

namespace {

// One ustar header block: the name split into prefix and name where it is
// longer than 100 bytes, numbers in octal.
std::string tarHeader(const std::string& path, char type, int mode, size_t size, long long mtime) {
    std::string block(512, '\0');
    std::string name = path, prefix;
    if (name.size() > 100) {
        const size_t cut = name.rfind('/', 155);
        prefix = name.substr(0, cut);
        name = name.substr(cut + 1);
    }
    auto field = [&block](size_t at, size_t width, const std::string& text) {
        block.replace(at, std::min(width, text.size()), text.substr(0, width));
    };
    auto octal = [&field](size_t at, size_t width, long long value) {
        char text[24];
        std::snprintf(text, sizeof text, "%0*llo", static_cast<int>(width - 1), value);
        field(at, width - 1, text);
    };
    field(0, 100, name);
    octal(100, 8, mode);
    octal(108, 8, 0);
    octal(116, 8, 0);
    octal(124, 12, static_cast<long long>(size));
    octal(136, 12, mtime);
    block[156] = type;
    field(257, 8,
          std::string("ustar\0"
                      "00",
                      8));
    field(265, 32, "root");
    field(297, 32, "root");
    field(345, 155, prefix);
    // The checksum counts its own field as blanks.
    block.replace(148, 8, 8, ' ');
    unsigned sum = 0;
    for (unsigned char c : block) {
        sum += c;
    }
    char text[8];
    std::snprintf(text, sizeof text, "%06o", sum);
    block.replace(148, 7, text, 7);
    return block;
}

} // namespace

std::string ScriptArchive::tar(const std::string& root) const {
    const long long now = static_cast<long long>(std::time(nullptr));
    std::string out;
    std::set<std::string> folders;
    if (!root.empty()) {
        out += tarHeader(root, '5', 0755, 0, now);
    }
    for (const Entry& entry : files) {
        for (size_t slash = entry.path.find('/'); slash != std::string::npos;
             slash = entry.path.find('/', slash + 1)) {
            const std::string folder = root + entry.path.substr(0, slash + 1);
            if (folders.insert(folder).second) {
                out += tarHeader(folder, '5', 0755, 0, now);
            }
        }
        out += tarHeader(root + entry.path, '0', entry.executable ? 0755 : 0644, entry.bytes.size(),
                         now);
        out += entry.bytes;
        out.append((512 - entry.bytes.size() % 512) % 512, '\0');
    }
    // The end: two empty blocks.
    out.append(1024, '\0');
    return out;
}

std::string ScriptArchive::gzip(const std::string& data) {
    // 16 + the window bits: a gzip wrapper rather than zlib's own.
    return compressed(data, 16 + MAX_WBITS);
}

std::string ScriptArchive::compressed(const std::string& data, int windowBits) {
    z_stream stream;
    std::memset(&stream, 0, sizeof stream);
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 9, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, data.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

bool ScriptArchive::writeDeb(const std::string& file, const std::string& control,
                             const std::string& data) {
    // An ar archive of three members, in this order, each padded to an even size.
    const long long now = static_cast<long long>(std::time(nullptr));
    std::string out = "!<arch>\n";
    const std::pair<const char*, std::string> members[] = {
        {"debian-binary", "2.0\n"}, {"control.tar.gz", control}, {"data.tar.gz", data}};
    for (const auto& member : members) {
        char header[61];
        std::snprintf(header, sizeof header, "%-16s%-12lld%-6d%-6d%-8s%-10zu`\n", member.first, now,
                      0, 0, "100644", member.second.size());
        out.append(header, 60);
        out += member.second;
        if (member.second.size() % 2) {
            out += '\n';
        }
    }
    return writeFile(file, out);
}
