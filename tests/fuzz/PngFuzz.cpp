// Fuzz target for the compatibility SDL_image (compat/SDL_image.cpp, built as
// compat_IMG_*): whatever bytes a game hands IMG_Load_RW must give either NULL
// with a message, or a surface of the picture's size whose every pixel can be
// read; never a crash, an overrun or undefined behaviour. A broken rule
// prints what broke and aborts, which the fuzzer reports.
//
// Left out, as no fault of the loader's: pictures over 4 Mpixels, whose pixels
// alone pass the fuzzer's memory limit, and chunks declaring over 1 MB, which
// libpng 1.6.39 allocates before reading (as under SDL_image). A chunk whose
// CRC starts with an even byte gets its CRC put right, so that mutations get
// past libpng's CRC checks.

#include <SDL/SDL.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <zlib.h>

extern "C" SDL_Surface* compat_IMG_Load_RW(SDL_RWops* src, int freesrc);

namespace {

std::uint32_t bigEndian(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "picture loading: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The picture's size is its first IHDR's, wherever that is.
    std::uint32_t w = 0, h = 0;
    bool header = false;
    std::vector<std::uint8_t> png(data, data + size);
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = bigEndian(&png[at]);
        if (length > (1u << 20)) {
            return 0; // see above
        }
        if (length > png.size() - at - 12) {
            break;
        }
        if (!header && length >= 8 && std::memcmp(&png[at + 4], "IHDR", 4) == 0) {
            header = true;
            w = bigEndian(&png[at + 8]);
            h = bigEndian(&png[at + 12]);
        }
        std::uint8_t* crc = &png[at + 8 + length];
        if (crc[0] % 2 == 0) {
            const uLong value = crc32(0, &png[at + 4], uInt(length + 4));
            for (int i = 0; i < 4; ++i) {
                crc[i] = std::uint8_t(value >> (24 - 8 * i));
            }
        }
        at += 12 + length;
    }
    if (std::uint64_t(w) * h > (1u << 22)) {
        return 0;
    }
    SDL_ClearError();
    SDL_Surface* s = compat_IMG_Load_RW(SDL_RWFromConstMem(png.data(), int(png.size())), 1);
    if (s == nullptr) {
        if (SDL_GetError()[0] == '\0') {
            fail("NULL without a message");
        }
        return 0;
    }
    if (std::uint32_t(s->w) != w || std::uint32_t(s->h) != h) {
        fail("the surface's size is not the picture's");
    }
    unsigned sum = 0;
    for (int y = 0; y < s->h; ++y) {
        const Uint8* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
        for (int x = 0; x < s->w * s->format->BytesPerPixel; ++x) {
            sum += row[x];
        }
    }
    if (s->format->palette != nullptr &&
        (s->format->palette->ncolors < 1 || s->format->palette->ncolors > 256)) {
        fail("palette size");
    }
    SDL_FreeSurface(s);
    return int(sum & 0);
}
