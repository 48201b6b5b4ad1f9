// Runs the fuzz target on saved inputs, without libFuzzer: every file named on
// the command line, or found in a directory named there. Used where the
// fuzzer cannot be built, so that the corpus is still checked by every build.

#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool readFile(const std::string& path, std::vector<std::uint8_t>* bytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        return false;
    }
    bytes->clear();
    std::uint8_t buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        bytes->insert(bytes->end(), buffer, buffer + n);
    }
    const bool ok = std::ferror(f) == 0;
    std::fclose(f);
    return ok;
}

// Runs one file, or every file of a directory; returns the number run, -1 on error.
long replay(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        std::printf("replay: cannot read %s\n", path.c_str());
        return -1;
    }
    if (S_ISDIR(info.st_mode)) {
        DIR* dir = opendir(path.c_str());
        if (dir == nullptr) {
            std::printf("replay: cannot list %s\n", path.c_str());
            return -1;
        }
        long count = 0;
        while (struct dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") {
                continue;
            }
            const long n = replay(path + "/" + name);
            if (n < 0) {
                closedir(dir);
                return -1;
            }
            count += n;
        }
        closedir(dir);
        return count;
    }
    std::vector<std::uint8_t> bytes;
    if (!readFile(path, &bytes)) {
        std::printf("replay: cannot read %s\n", path.c_str());
        return -1;
    }
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    long total = 0;
    for (int i = 1; i < argc; i++) {
        const long n = replay(argv[i]);
        if (n < 0) {
            return 1;
        }
        total += n;
    }
    if (total == 0) {
        std::printf("replay: no input\n");
        return 1;
    }
    std::printf("replay: %ld inputs, every rule held\n", total);
    return 0;
}
