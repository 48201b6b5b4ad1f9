// compat/SDL_image.cpp, built here as compat_IMG_*, against Debian's SDL_image
// on pictures written here with libpng: every colour type and bit depth,
// palettes of any length, every kind of tRNS, gAMA/sRGB/iCCP, interlacing,
// 1 x 1 to large, and the same files cut short, corrupted, empty or not PNG.

#include "Surfaces.h"

#include <SDL/SDL_image.h>
#include <cstdio>
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>
#include <vector>

extern "C" {
SDL_Surface* compat_IMG_Load(const char* file);
SDL_Surface* compat_IMG_Load_RW(SDL_RWops* src, int freesrc);
int compat_IMG_isPNG(SDL_RWops* src);
}

namespace {

using Bytes = std::vector<unsigned char>;

enum Extra { NONE, GAMMA_SRGB, GAMMA_OTHER, SRGB, ICCP };
// tRNS: palettes get one entry clear (or a colour, on grey and RGB), two
// clear, one half clear, or all opaque.
enum Trans { NO_TRNS, ONE_CLEAR, TWO_CLEAR, TRANSLUCENT, ALL_OPAQUE };

struct Picture {
    int w, h, colour, depth, interlace;
    Extra extra;
    Trans trans;
    int paletteSize;
};

void append(png_structp png, png_bytep data, png_size_t n) {
    Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}

// A picture with every sample value its depth allows, 0x8000 first for
// 16-bit ones (the high byte read without gamma is 0x80).
Bytes write(const Picture& p) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, append, nullptr);
    png_set_IHDR(png, info, png_uint_32(p.w), png_uint_32(p.h), p.depth, p.colour, p.interlace,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const int entries = p.colour == PNG_COLOR_TYPE_PALETTE ? p.paletteSize : 0;
    png_color palette[256];
    png_byte alpha[256];
    for (int i = 0; i < 256; ++i) {
        palette[i] = {png_byte(i * 7), png_byte(255 - i), png_byte(i * 13)};
        alpha[i] = p.trans == TRANSLUCENT && i == 1 ? 128 : 255;
    }
    alpha[entries > 2 ? 2 : 0] = p.trans == ALL_OPAQUE ? 255 : 0;
    alpha[0] = p.trans == TWO_CLEAR ? 0 : alpha[0];
    if (entries > 0) {
        png_set_PLTE(png, info, palette, entries);
    }
    const int top = p.depth == 16 ? 0xFFFF : (1 << p.depth) - 1;
    png_color_16 colour = {0, png_uint_16(0x1234 & top), png_uint_16(0x2345 & top),
                           png_uint_16(0x0607 & top), png_uint_16(3 & top)};
    const bool alphaChannel = (p.colour & PNG_COLOR_MASK_ALPHA) != 0;
    if (p.trans != NO_TRNS && !alphaChannel && (entries > 0 || p.trans == ONE_CLEAR)) {
        png_set_tRNS(png, info, alpha, entries, &colour);
    }
    if (p.extra == GAMMA_SRGB || p.extra == GAMMA_OTHER) {
        png_set_gAMA_fixed(png, info, p.extra == GAMMA_SRGB ? 45455 : 100000);
    } else if (p.extra == SRGB) {
        png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    }
    png_write_info_before_PLTE(png, info);
    if (p.extra == ICCP) { // not a usable profile: libpng warns and ignores it
        const png_byte iccp[] = {'x', 0, 0, 0x78, 0x9c, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01};
        png_write_chunk(png, reinterpret_cast<png_const_bytep>("iCCP"), iccp, sizeof iccp);
    }
    png_write_info(png, info);
    const int channels = png_get_channels(png, info);
    std::vector<Bytes> rows(std::size_t(p.h), Bytes(png_get_rowbytes(png, info)));
    std::vector<png_bytep> pointers;
    for (int y = 0; y < p.h; ++y) {
        Bytes& row = rows[std::size_t(y)];
        for (int x = 0; x < p.w * channels; ++x) {
            unsigned v = unsigned(x * 37 + y * 101 + x / channels * y);
            v = entries > 0 ? v % unsigned(entries) : v;
            if (p.depth == 16) {
                v = x == 0 && y == 0 ? 0x8000 : v * 0x0101 + unsigned(y);
                row[std::size_t(x) * 2] = Uint8(v >> 8);
                row[std::size_t(x) * 2 + 1] = Uint8(v);
            } else {
                const int at = x * p.depth;
                row[std::size_t(at / 8)] |= Uint8((v & unsigned(top)) << (8 - p.depth - at % 8));
            }
        }
        pointers.push_back(row.data());
    }
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

// Each picture goes to one file of this process's, loaded by both libraries.
class CompatImage : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0, SDL_Init(0)); }
    void TearDown() override {
        std::remove(path.c_str());
        SDL_Quit();
    }
    const std::string& save(const Bytes& bytes) {
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return path;
    }
    // Both libraries on one file; "" when they agree.
    std::string compare(const std::string& file) {
        SDL_ClearError();
        SDL_Surface* a = IMG_Load(file.c_str());
        const std::string aError = SDL_GetError();
        SDL_ClearError();
        SDL_Surface* b = compat_IMG_Load(file.c_str());
        const std::string d = surfaceDifference(a, b, aError, SDL_GetError());
        SDL_FreeSurface(a);
        SDL_FreeSurface(b);
        return d;
    }
    std::string comparePicture(const Picture& p) { return compare(save(write(p))); }
    const std::string path = "/tmp/compat-image-" + std::to_string(getpid()) + ".png";
};

} // namespace

TEST_F(CompatImage, EveryLayoutLoadsAsSdlImageLoadsIt) {
    for (const int colour : {0, 2, 3, 4, 6}) { // grey, RGB, palette, grey + alpha, RGBA
        for (const int depth : {1, 2, 4, 8, 16}) {
            if ((colour == 3 && depth == 16) || (colour != 0 && colour != 3 && depth < 8)) {
                continue;
            }
            for (int variant = 0; variant < 12; ++variant) {
                Picture p = {7, 5, colour, depth, 0, NONE, NO_TRNS, depth > 8 ? 256 : 1 << depth};
                const Trans trans[] = {ONE_CLEAR, TWO_CLEAR, TRANSLUCENT, ALL_OPAQUE};
                if (variant < 5) {
                    p.extra = Extra(variant);
                } else if (variant < 9) {
                    p.trans = trans[variant - 5];
                } else if (variant == 9) {
                    p.interlace = PNG_INTERLACE_ADAM7, p.w = 13, p.h = 11;
                } else if (variant == 10) {
                    p.w = p.h = 1;
                } else {
                    p.paletteSize = depth == 1 ? 1 : 3; // shorter than the depth allows
                }
                EXPECT_EQ("", comparePicture(p)) << colour << " " << depth << " " << variant;
            }
        }
    }
    // Large, and too wide for SDL (16384 pixels): SDL_image says "Out of memory".
    EXPECT_EQ("", comparePicture({5000, 3, 2, 8, 0, NONE, NO_TRNS, 0}));
    EXPECT_EQ("", comparePicture({16384, 1, 2, 8, 0, NONE, NO_TRNS, 0}));
    EXPECT_EQ("", comparePicture({1024, 768, 6, 8, 1, NONE, NO_TRNS, 0}));
}

TEST_F(CompatImage, BrokenAndForeignFilesFailAsSdlImageFails) {
    const Bytes good = write({20, 10, 6, 8, 0, GAMMA_SRGB, NO_TRNS, 0});
    std::vector<Bytes> cases = {{}, {'h', 'e', 'l', 'l', 'o', '\n'}}; // empty, text
    // Cut anywhere: in the signature, after it, in the header, the first
    // chunks, the picture data, before and within the end chunk.
    const long n = long(good.size());
    for (const long keep : {4L, 6L, 8L, 20L, 33L, 50L, n / 2, n - 13, n - 12, n - 1}) {
        cases.push_back(Bytes(good.begin(), good.begin() + keep));
    }
    // One byte changed: in the header's fields and its CRC, in the
    // compressed data, in the end chunk.
    for (const long at : {16L, 19L, 24L, 25L, 30L, n / 2, n - 5}) {
        cases.push_back(good);
        cases.back()[std::size_t(at)] ^= 0x55;
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ("", compare(save(cases[i]))) << i;
    }
    EXPECT_EQ("", compare(path + ".missing"));
    // PNG only: what SDL_image reads as another format is not a picture here.
    Bytes bmp = {'B', 'M'};
    bmp.resize(64, 0);
    EXPECT_EQ(nullptr, compat_IMG_Load(save(bmp).c_str()));
    EXPECT_STREQ("Unsupported image format", SDL_GetError());
}

TEST_F(CompatImage, StreamsAreLeftAsSdlImageLeavesThem) {
    Bytes bytes = write({3, 3, 3, 8, 0, NONE, NO_TRNS, 4});
    SDL_RWops* src = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    EXPECT_EQ(IMG_isPNG(src), compat_IMG_isPNG(src));
    EXPECT_EQ(0, SDL_RWtell(src));
    SDL_Surface* a = IMG_Load_RW(src, 0);
    const long afterA = SDL_RWtell(src);
    SDL_RWseek(src, 0, RW_SEEK_SET);
    SDL_Surface* b = compat_IMG_Load_RW(src, 0);
    EXPECT_EQ(afterA, SDL_RWtell(src));
    EXPECT_EQ("", surfaceDifference(a, b, "", ""));
    SDL_RWclose(src);
    SDL_FreeSurface(a);
    SDL_FreeSurface(b);
    // A failure rewinds to where the picture started.
    SDL_RWops* cut = SDL_RWFromConstMem(bytes.data(), int(bytes.size() / 2));
    EXPECT_EQ(nullptr, compat_IMG_Load_RW(cut, 0));
    EXPECT_EQ(0, SDL_RWtell(cut));
    SDL_RWclose(cut);
    EXPECT_EQ(nullptr, compat_IMG_Load_RW(nullptr, 1));
    EXPECT_STREQ("Passed a NULL data source", SDL_GetError());
}
