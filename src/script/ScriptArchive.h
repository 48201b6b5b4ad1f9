#ifndef SCRIPT_ARCHIVE_H
#define SCRIPT_ARCHIVE_H

#include <string>
#include <vector>

/// A package put together in memory: files with their bytes, written out as a
/// zip (Windows and the web), a gzip-compressed tar (Linux) or the parts of a
/// Debian package. Paths are relative and use '/'; folders are implied by the
/// files in them.
///
/// The packager owns one per package it writes. Nothing here runs another
/// program: zlib and minizip do the compressing, so packaging needs no tools
/// beyond the player itself.
class ScriptArchive {
public:
    struct Entry {
        std::string path;
        std::string bytes;
        bool executable;
    };

    /// The largest file taken from disk, and the largest package: a game is
    /// pictures and text, and a larger folder is most likely the wrong one.
    static const long long MAX_FILE = 64ll << 20;
    static const long long MAX_TOTAL = 256ll << 20;

    /// Adds `bytes` as `path`.
    void add(const std::string& path, const std::string& bytes, bool executable = false);
    /// Adds the file `from` as `path`; false (and a line on stdout) when it
    /// cannot be read or is too large.
    bool addFile(const std::string& path, const std::string& from, bool executable = false);
    /// Adds every regular file under `folder` beneath `prefix` (which is empty
    /// or ends in '/'), in name order. Hidden files and folders (a writer's
    /// .git) and `skip` (the output folder, when it is inside) are left out; a
    /// link is refused, so nothing outside the folder comes in.
    bool addTree(const std::string& prefix, const std::string& folder,
                 const std::string& skip = "");

    const std::vector<Entry>& entries() const { return files; }
    long long size() const;

    /// Writes the entries as a zip, compressed, with UTF-8 names.
    bool writeZip(const std::string& file) const;
    /// Writes the entries into `folder`, which must be new or empty.
    bool writeTree(const std::string& folder) const;
    /// The entries as a POSIX tar (ustar) under `root` ("./" for a Debian
    /// package's data), with an entry for every folder, owned by root.
    std::string tar(const std::string& root = "") const;

    /// `data` compressed as gzip.
    static std::string gzip(const std::string& data);
    /// `data` compressed as tightly as zlib can, in its own wrapper
    /// (`windowBits` as deflateInit2 takes them).
    static std::string compressed(const std::string& data, int windowBits);
    /// Writes a Debian package from its control and data tar.gz members.
    static bool writeDeb(const std::string& file, const std::string& control,
                         const std::string& data);
    /// Reads a whole file into `bytes` (at most MAX_FILE).
    static bool readFile(const std::string& file, std::string& bytes);
    /// Writes `bytes` to `file`, saying on stdout why when it cannot.
    static bool writeFile(const std::string& file, const std::string& bytes);

private:
    std::vector<Entry> files;
};

#endif
