#include "ScriptPngPacker.h"

#include "ScriptArchive.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include <zlib.h>

namespace {

const char SIGNATURE[] = "\x89PNG\r\n\x1a\n";
// Larger pictures than this are shipped as they are (the work needs a few
// times their size in memory).
const unsigned long MAX_PIXELS = 4096ul * 1024;

unsigned long bigEndian(const std::string& bytes, size_t at) {
    unsigned long value = 0;
    for (size_t i = at; i < at + 4; i++) {
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

void putBigEndian(std::string& out, unsigned long value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>((value >> shift) & 0xff);
    }
}

int paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// What filter `type` predicts for byte x of a row, from the bytes to its
// left (a), above (b) and above-left (c).
int predict(int type, const unsigned char* row, const unsigned char* above, size_t x, size_t bpp) {
    const int a = x >= bpp ? row[x - bpp] : 0, b = above[x], c = x >= bpp ? above[x - bpp] : 0;
    switch (type) {
    case 1:
        return a;
    case 2:
        return b;
    case 3:
        return (a + b) / 2;
    case 4:
        return paeth(a, b, c);
    }
    return 0;
}

// `data` as zlib data, as tightly as it packs.
std::string deflated(const std::vector<unsigned char>& data) {
    return ScriptArchive::compressed(std::string(data.begin(), data.end()), MAX_WBITS);
}

} // namespace

std::string ScriptPngPacker::smaller(const std::string& png) {
    if (png.size() < 33 || png.compare(0, 8, SIGNATURE, 8) != 0 ||
        png.compare(12, 4, "IHDR") != 0) {
        return png;
    }
    const unsigned long width = bigEndian(png, 16), height = bigEndian(png, 20);
    const int depth = png[24], colour = png[25], interlace = png[28];
    const int channels[] = {1, 0, 3, 1, 2, 0, 4};
    if (depth != 8 || colour < 0 || colour > 6 || channels[colour] == 0 || interlace != 0 ||
        width == 0 || height == 0 || width > MAX_PIXELS || width * height > MAX_PIXELS) {
        return png;
    }
    const size_t bpp = channels[colour], stride = width * bpp;

    // The chunks, with the picture data gathered from every IDAT.
    std::string compressed, before, after;
    size_t at = 8;
    bool seen = false;
    while (at + 12 <= png.size()) {
        const unsigned long length = bigEndian(png, at);
        if (length > png.size() - at - 12) {
            return png;
        }
        const std::string type = png.substr(at + 4, 4), chunk = png.substr(at, length + 12);
        if (type == "IDAT") {
            compressed += png.substr(at + 8, length);
            seen = true;
        } else {
            (seen ? after : before) += chunk;
        }
        at += length + 12;
    }
    // Unfiltered rows, each as the picture holds it.
    std::vector<unsigned char> filtered(height * (stride + 1)), rows(height * stride);
    uLongf size = static_cast<uLongf>(filtered.size());
    if (!seen ||
        uncompress(filtered.data(), &size, reinterpret_cast<const Bytef*>(compressed.data()),
                   static_cast<uLong>(compressed.size())) != Z_OK ||
        size != filtered.size()) {
        return png;
    }
    const std::vector<unsigned char> zeros(stride, 0);
    for (size_t y = 0; y < height; y++) {
        const unsigned char* in = &filtered[y * (stride + 1)];
        unsigned char* row = &rows[y * stride];
        const unsigned char* above = y ? &rows[(y - 1) * stride] : zeros.data();
        if (in[0] > 4) {
            return png;
        }
        for (size_t x = 0; x < stride; x++) {
            row[x] = static_cast<unsigned char>(in[1 + x] + predict(in[0], row, above, x, bpp));
        }
    }
    // Each row with the filter whose output is smallest in magnitude, the
    // usual guess at what compresses best; the same rows unfiltered, which
    // suits flat pictures better; whichever is smaller is kept.
    std::vector<unsigned char> best(filtered.size()), plain(filtered.size()), trial(stride);
    for (size_t y = 0; y < height; y++) {
        const unsigned char* row = &rows[y * stride];
        const unsigned char* above = y ? &rows[(y - 1) * stride] : zeros.data();
        unsigned long least = ~0ul;
        for (int type = 0; type <= 4; type++) {
            unsigned long cost = 0;
            for (size_t x = 0; x < stride; x++) {
                trial[x] = static_cast<unsigned char>(row[x] - predict(type, row, above, x, bpp));
                cost += trial[x] < 128 ? trial[x] : 256 - trial[x];
            }
            if (cost < least) {
                least = cost;
                best[y * (stride + 1)] = static_cast<unsigned char>(type);
                std::memcpy(&best[y * (stride + 1) + 1], trial.data(), stride);
            }
        }
        std::memcpy(&plain[y * (stride + 1) + 1], row, stride);
    }
    std::string data = deflated(best);
    const std::string flat = deflated(plain);
    if (flat.size() < data.size()) {
        data = flat;
    }
    std::string out = png.substr(0, 8) + before;
    putBigEndian(out, data.size());
    const std::string chunk = "IDAT" + data;
    out += chunk;
    putBigEndian(out, crc32(0, reinterpret_cast<const Bytef*>(chunk.data()),
                            static_cast<uInt>(chunk.size())));
    out += after;
    return out.size() < png.size() ? out : png;
}
