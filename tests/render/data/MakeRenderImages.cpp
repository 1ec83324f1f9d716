// Writes the image test data of test_render into the folder given as the only argument:
//   skin/         images read from the skin folder, and two archives of images
//   zip_content/, memory_content/   what the archives are made of (zipped by the build)
//   plain/        an image outside the skin folder, for the plain-path fallback
// Every "source.png" has its own colour, so a test can tell which source it came from.
// Built and run on the build machine.

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

std::string g_root;

void Fail(const std::string& what) {
    std::fprintf(stderr, "make-render-images: %s\n", what.c_str());
    std::exit(1);
}

void MakeFolder(const std::string& path) {
    mkdir(path.c_str(), 0755);
}

void WriteFile(const std::string& name, const Bytes& bytes) {
    const std::string path = g_root + "/" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) Fail("cannot write " + path);
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        Fail("cannot write " + path);
    }
    std::fclose(file);
}

void Collect(void* context, void* data, int size) {
    Bytes* bytes = static_cast<Bytes*>(context);
    const unsigned char* begin = static_cast<unsigned char*>(data);
    bytes->insert(bytes->end(), begin, begin + size);
}

// Pixels are given as 0xAARRGGBB and stored as RGBA.
Bytes Rgba(const std::vector<unsigned>& pixels) {
    Bytes rgba;
    for (unsigned pixel : pixels) {
        rgba.push_back(static_cast<unsigned char>(pixel >> 16));
        rgba.push_back(static_cast<unsigned char>(pixel >> 8));
        rgba.push_back(static_cast<unsigned char>(pixel));
        rgba.push_back(static_cast<unsigned char>(pixel >> 24));
    }
    return rgba;
}

Bytes Png(int width, int height, const std::vector<unsigned>& pixels) {
    const Bytes rgba = Rgba(pixels);
    Bytes png;
    if (!stbi_write_png_to_func(Collect, &png, width, height, 4, rgba.data(), width * 4)) {
        Fail("png");
    }
    return png;
}

Bytes Tga(int width, int height, const std::vector<unsigned>& pixels) {
    const Bytes rgba = Rgba(pixels);
    Bytes tga;
    if (!stbi_write_tga_to_func(Collect, &tga, width, height, 4, rgba.data())) Fail("tga");
    return tga;
}

Bytes Bmp(int width, int height, const std::vector<unsigned>& pixels) {
    const Bytes rgba = Rgba(pixels);
    Bytes rgb;
    for (size_t i = 0; i < rgba.size(); i += 4)
        rgb.insert(rgb.end(), &rgba[i], &rgba[i] + 3);
    Bytes bmp;
    if (!stbi_write_bmp_to_func(Collect, &bmp, width, height, 3, rgb.data())) Fail("bmp");
    return bmp;
}

void PutLittleEndian(Bytes& bytes, size_t offset, unsigned value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

// A 24-bit BMP header claiming a width and height, without pixel data.
Bytes BmpHeader(unsigned width, unsigned height) {
    Bytes bmp(54, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    PutLittleEndian(bmp, 2, 54, 4);
    PutLittleEndian(bmp, 10, 54, 4);
    PutLittleEndian(bmp, 14, 40, 4);
    PutLittleEndian(bmp, 18, width, 4);
    PutLittleEndian(bmp, 22, height, 4);
    PutLittleEndian(bmp, 26, 1, 2);
    PutLittleEndian(bmp, 28, 24, 2);
    return bmp;
}

// An uncompressed 32-bit TGA header claiming a width and height, without pixel data.
Bytes TgaHeader(unsigned width, unsigned height) {
    Bytes tga(18, 0);
    tga[2] = 2;
    PutLittleEndian(tga, 12, width, 2);
    PutLittleEndian(tga, 14, height, 2);
    tga[16] = 32;
    tga[17] = 8;
    return tga;
}

// CRC-32 of PNG chunks.
unsigned Crc32(const unsigned char* data, size_t size, unsigned crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(Bytes& bytes, unsigned value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<unsigned char>(value >> shift));
}

void PutChunk(Bytes& png, const char* type, const Bytes& data) {
    PutBigEndian(png, static_cast<unsigned>(data.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    PutBigEndian(png, Crc32(typed.data(), typed.size()));
}

// A 16-bit RGBA PNG, Adam7-interlaced, every pixel the same 16-bit channel values: the
// costliest layout the decoder must still take at a size.
Bytes InterlacedPng16(unsigned width, unsigned height, const unsigned short channels[4]) {
    static const unsigned kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                           {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    Bytes raw;
    for (const auto& pass : kPasses) {
        const unsigned columns = width > pass[0] ? (width - pass[0] + pass[2] - 1) / pass[2] : 0;
        const unsigned rows = height > pass[1] ? (height - pass[1] + pass[3] - 1) / pass[3] : 0;
        if (columns == 0) continue;
        for (unsigned y = 0; y < rows; ++y) {
            raw.push_back(0); // no filter
            for (unsigned x = 0; x < columns; ++x) {
                for (int c = 0; c < 4; ++c) {
                    raw.push_back(static_cast<unsigned char>(channels[c] >> 8));
                    raw.push_back(static_cast<unsigned char>(channels[c]));
                }
            }
        }
    }
    int compressedSize = 0;
    unsigned char* compressed =
        stbi_zlib_compress(raw.data(), static_cast<int>(raw.size()), &compressedSize, 8);
    if (compressed == nullptr) Fail("zlib");
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBigEndian(header, width);
    PutBigEndian(header, height);
    header.insert(header.end(), {16, 6, 0, 0, 1}); // 16 bits, RGBA, Adam7
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", Bytes(compressed, compressed + compressedSize));
    PutChunk(png, "IEND", Bytes());
    STBIW_FREE(compressed);
    return png;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) Fail("usage: make-render-images OUT");
    g_root = argv[1];
    MakeFolder(g_root);
    for (const char* folder :
         {"skin", "zip_content", "zip_content/Sub", "memory_content", "plain"}) {
        MakeFolder(g_root + "/" + folder);
    }

    // One image per source, told apart by colour.
    WriteFile("skin/source.png", Png(1, 1, {0xFF102030}));
    WriteFile("zip_content/source.png", Png(1, 1, {0xFF405060}));
    WriteFile("zip_content/Sub/Inner.png", Png(1, 1, {0xFF445566}));
    WriteFile("memory_content/source.png", Png(1, 1, {0xFFA0B0C0}));
    WriteFile("skin/resource.png", Png(1, 1, {0xFF708090}));
    WriteFile("plain/fallback.png", Png(1, 1, {0xFFD0E0F0}));

    // Opaque pixels, a magenta one among them for the mask.
    const std::vector<unsigned> opaque = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF,
                                          0xFFFF00FF, 0xFF000000, 0xFF808080, 0xFFFFFF00};
    WriteFile("skin/opaque.png", Png(4, 2, opaque));
    WriteFile("skin/opaque.bmp", Bmp(4, 2, opaque));
    WriteFile("skin/opaque.jpg", [] {
        // A flat grey JPEG: lossy, but a flat area decodes close to its colour.
        Bytes rgb(8 * 8 * 3, 0x80);
        Bytes jpg;
        if (!stbi_write_jpg_to_func(Collect, &jpg, 8, 8, 3, rgb.data(), 100)) Fail("jpg");
        return jpg;
    }());

    // Translucent pixels: half red, fully transparent blue, opaque green, quarter white.
    const std::vector<unsigned> translucent = {0x80FF0000, 0x000000FF, 0xFF00FF00, 0x40FFFFFF};
    WriteFile("skin/alpha.png", Png(2, 2, translucent));
    WriteFile("skin/alpha.tga", Tga(2, 2, translucent));

    // Broken files.
    WriteFile("skin/empty.png", Bytes());
    Bytes garbage = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    garbage.resize(200, 0x5A);
    WriteFile("skin/corrupt.png", garbage);
    std::vector<unsigned> noise(64 * 64);
    unsigned seed = 12345;
    for (unsigned& pixel : noise) {
        seed = seed * 1103515245u + 12345u;
        pixel = 0xFF000000 | (seed >> 8);
    }
    Bytes truncated = Png(64, 64, noise);
    truncated.resize(truncated.size() / 2);
    WriteFile("skin/truncated.png", truncated);
    // Sizes whose 32-bit pixel count overflows 32-bit arithmetic (65536 × 16384 × 4 is
    // 2^32), or that are simply absurd.
    WriteFile("skin/huge.bmp", BmpHeader(65536, 16384));
    WriteFile("skin/huge.tga", TgaHeader(65535, 65535));
    // The largest images taken (16,384 a side, 8 Mi pixels in all), and one pixel more.
    WriteFile("skin/largest.bmp", BmpHeader(4096, 2048));
    WriteFile("skin/widest.bmp", BmpHeader(16384, 1));
    WriteFile("skin/beyond.bmp", BmpHeader(4097, 2048));
    WriteFile("skin/wider.bmp", BmpHeader(16385, 1));
    const unsigned short channels[4] = {0x1234, 0x5678, 0x9ABC, 0xFFFF};
    WriteFile("skin/interlaced16.png", InterlacedPng16(1024, 1024, channels));
    return 0;
}
