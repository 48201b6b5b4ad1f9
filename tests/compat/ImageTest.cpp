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
enum Trans { OPAQUE_ALL, ONE_CLEAR, TWO_CLEAR, TRANSLUCENT, COLOUR };

struct Picture {
    int w, h, colour, depth;
    bool interlaced;
    Extra extra;
    Trans trans; // COLOUR: a tRNS colour on grey and RGB; palettes: as named
    bool withTrans;
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
    png_set_IHDR(png, info, png_uint_32(p.w), png_uint_32(p.h), p.depth, p.colour,
                 p.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const int entries = p.colour == PNG_COLOR_TYPE_PALETTE ? p.paletteSize : 0;
    if (entries > 0) {
        png_color palette[256];
        for (int i = 0; i < entries; ++i) {
            palette[i] = {png_byte(i * 7), png_byte(255 - i), png_byte(i * 13)};
        }
        png_set_PLTE(png, info, palette, entries);
    }
    if (p.withTrans) {
        png_byte alpha[256];
        for (int i = 0; i < 256; ++i) {
            alpha[i] = p.trans == TRANSLUCENT && i == 1 ? 128 : 255;
        }
        alpha[entries > 2 ? 2 : 0] = p.trans == OPAQUE_ALL ? 255 : 0;
        if (p.trans == TWO_CLEAR) {
            alpha[0] = 0;
        }
        png_color_16 colour = {0, 0x1234, 0x2345, 0x0607, 0x0003};
        if (p.depth < 16) {
            const int top = (1 << p.depth) - 1;
            colour = {0, png_uint_16(5 & top), png_uint_16(9 & top), png_uint_16(7 & top),
                      png_uint_16(3 & top)};
        }
        png_set_tRNS(png, info, alpha, entries > 0 ? entries : 0, &colour);
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
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<Bytes> rows(std::size_t(p.h), Bytes(rowBytes));
    std::vector<png_bytep> pointers;
    for (int y = 0; y < p.h; ++y) {
        for (int x = 0; x < p.w * channels; ++x) {
            unsigned v = unsigned(x * 37 + y * 101 + x / channels * y);
            if (entries > 0) {
                v %= unsigned(entries);
            }
            if (p.depth == 16) {
                v = x == 0 && y == 0 ? 0x8000 : v * 0x0101 + unsigned(y);
                rows[std::size_t(y)][std::size_t(x) * 2] = Uint8(v >> 8);
                rows[std::size_t(y)][std::size_t(x) * 2 + 1] = Uint8(v);
            } else if (p.depth == 8) {
                rows[std::size_t(y)][std::size_t(x)] = Uint8(v);
            } else {
                const int at = x * p.depth;
                rows[std::size_t(y)][std::size_t(at / 8)] |=
                    Uint8((v & ((1u << p.depth) - 1)) << (8 - p.depth - at % 8));
            }
        }
        pointers.push_back(rows[std::size_t(y)].data());
    }
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

// Both libraries on one file; "" when they agree.
std::string compare(const std::string& path) {
    SDL_ClearError();
    SDL_Surface* a = IMG_Load(path.c_str());
    const std::string aError = SDL_GetError();
    SDL_ClearError();
    SDL_Surface* b = compat_IMG_Load(path.c_str());
    const std::string bError = SDL_GetError();
    const std::string d = surfaceDifference(a, b, aError, bError);
    SDL_FreeSurface(a);
    SDL_FreeSurface(b);
    return d;
}

class CompatImage : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/compat-image-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(dir));
        folder = dir;
        ASSERT_EQ(0, SDL_Init(0));
    }
    void TearDown() override {
        for (const std::string& file : files) {
            std::remove(file.c_str());
        }
        rmdir(folder.c_str());
        SDL_Quit();
    }
    std::string save(const Bytes& bytes, const std::string& name) {
        const std::string path = folder + "/" + name;
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        files.push_back(path);
        return path;
    }
    std::string folder;
    std::vector<std::string> files;
};

const int COLOURS[] = {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_PALETTE,
                       PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB_ALPHA};

bool valid(int colour, int depth) {
    switch (colour) {
    case PNG_COLOR_TYPE_GRAY:
        return true;
    case PNG_COLOR_TYPE_PALETTE:
        return depth <= 8;
    default:
        return depth >= 8;
    }
}

} // namespace

TEST_F(CompatImage, EveryLayoutLoadsAsSdlImageLoadsIt) {
    int count = 0;
    for (const int colour : COLOURS) {
        for (const int depth : {1, 2, 4, 8, 16}) {
            if (!valid(colour, depth)) {
                continue;
            }
            const bool alpha = (colour & PNG_COLOR_MASK_ALPHA) != 0;
            for (int variant = 0; variant < 12; ++variant) {
                Picture p = {7, 5, colour, depth, false, NONE, OPAQUE_ALL, false, 1 << depth};
                if (p.paletteSize > 256) {
                    p.paletteSize = 256;
                }
                switch (variant) {
                case 1:
                    p.extra = GAMMA_SRGB;
                    break;
                case 2:
                    p.extra = GAMMA_OTHER;
                    break;
                case 3:
                    p.extra = SRGB;
                    break;
                case 4:
                    p.extra = ICCP;
                    break;
                case 5:
                    p.interlaced = true, p.w = 13, p.h = 11;
                    break;
                case 6:
                    p.w = p.h = 1;
                    break;
                case 7:
                    p.paletteSize = depth == 1 ? 1 : 3;
                    break;
                case 8:
                    p.withTrans = !alpha, p.trans = colour == 3 ? ONE_CLEAR : COLOUR;
                    break;
                case 9:
                    p.withTrans = colour == 3, p.trans = TWO_CLEAR;
                    break;
                case 10:
                    p.withTrans = colour == 3, p.trans = TRANSLUCENT;
                    break;
                case 11:
                    p.withTrans = colour == 3;
                    break; // every entry opaque
                }
                const std::string name = "c" + std::to_string(colour) + "d" +
                                         std::to_string(depth) + "v" + std::to_string(variant) +
                                         ".png";
                EXPECT_EQ("", compare(save(write(p), name))) << name;
                ++count;
            }
        }
    }
    EXPECT_EQ(15 * 12, count);
    // Large, and too wide for SDL (16384 pixels): SDL_image says "Out of memory".
    for (const int w : {5000, 16384}) {
        Picture wide = {w, 3, PNG_COLOR_TYPE_RGB, 8, false, NONE, OPAQUE_ALL, false, 0};
        EXPECT_EQ("", compare(save(write(wide), "wide.png"))) << w;
    }
    Picture large = {1024, 768, PNG_COLOR_TYPE_RGB_ALPHA, 8, true, NONE, OPAQUE_ALL, false, 0};
    EXPECT_EQ("", compare(save(write(large), "large.png")));
}

TEST_F(CompatImage, BrokenAndForeignFilesFailAsSdlImageFails) {
    Picture p = {20, 10, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, GAMMA_SRGB, OPAQUE_ALL, false, 0};
    const Bytes good = write(p);
    std::vector<std::pair<std::string, Bytes>> cases = {
        {"empty.png", {}},
        {"text.png", Bytes{'h', 'e', 'l', 'l', 'o', '\n'}},
        {"signature-only.png", Bytes(good.begin(), good.begin() + 8)},
        {"magic-only.png", Bytes(good.begin(), good.begin() + 4)},
    };
    // Cut anywhere: in the signature, the header, the first chunks, the
    // picture data, before and within the end chunk.
    for (const std::size_t keep :
         {std::size_t(6), std::size_t(20), std::size_t(33), std::size_t(50), good.size() / 2,
          good.size() - 13, good.size() - 12, good.size() - 1}) {
        cases.push_back({"cut" + std::to_string(keep) + ".png",
                         Bytes(good.begin(), good.begin() + long(keep))});
    }
    // One byte changed: in the header's fields and its CRC, in the
    // compressed data, in the end chunk.
    for (const std::size_t at : {std::size_t(16), std::size_t(19), std::size_t(24), std::size_t(25),
                                 std::size_t(30), good.size() / 2, good.size() - 5}) {
        Bytes bad = good;
        bad[at] ^= 0x55;
        cases.push_back({"flip" + std::to_string(at) + ".png", bad});
    }
    for (const auto& c : cases) {
        EXPECT_EQ("", compare(save(c.second, c.first))) << c.first;
    }
    EXPECT_EQ("", compare(folder + "/missing.png"));
    // PNG only: what SDL_image reads as another format is not a picture here.
    Bytes bmp = {'B', 'M'};
    bmp.resize(64, 0);
    EXPECT_EQ(nullptr, compat_IMG_Load(save(bmp, "header.bmp").c_str()));
    EXPECT_STREQ("Unsupported image format", SDL_GetError());
}

TEST_F(CompatImage, StreamsAreLeftAsSdlImageLeavesThem) {
    Picture p = {3, 3, PNG_COLOR_TYPE_PALETTE, 8, false, NONE, OPAQUE_ALL, false, 4};
    Bytes bytes = write(p);
    SDL_RWops* src = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    EXPECT_EQ(IMG_isPNG(src), compat_IMG_isPNG(src));
    EXPECT_EQ(0, SDL_RWtell(src));
    SDL_Surface* a = IMG_Load_RW(src, 0);
    const long afterA = SDL_RWtell(src);
    SDL_RWseek(src, 0, RW_SEEK_SET);
    SDL_Surface* b = compat_IMG_Load_RW(src, 0);
    EXPECT_EQ(afterA, SDL_RWtell(src));
    EXPECT_EQ("", surfaceDifference(a, b, "", ""));
    SDL_FreeSurface(a);
    SDL_FreeSurface(b);
    // A failure rewinds to where the picture started.
    bytes.resize(bytes.size() / 2);
    SDL_RWseek(src, 0, RW_SEEK_SET);
    SDL_RWops* cut = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    EXPECT_EQ(nullptr, compat_IMG_Load_RW(cut, 0));
    EXPECT_EQ(0, SDL_RWtell(cut));
    SDL_RWclose(cut);
    SDL_RWclose(src);
    EXPECT_EQ(nullptr, compat_IMG_Load_RW(nullptr, 1));
    EXPECT_STREQ("Passed a NULL data source", SDL_GetError());
}
