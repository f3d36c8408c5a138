// Writes the clock icon as a Windows icon file, for the program's resources and for its
// installer: 16 colours, fully opaque, in every size that Windows asks for at 100 to 200 %
// (title bars, the taskbar, Explorer's views), each pixel the 32 x 32 icon's nearest one, so
// that the edges stay sharp: Windows would otherwise scale the nearest size smoothly.
//
//   ico_writer OUTPUT.ico
//
// Built for the machine that builds, not for Windows, and run during the build.

#include "forms/clock_icon.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr std::array sizes{16, 20, 24, 32, 40, 48, 64, 256};
constexpr int bitsPerPixel = 4;
constexpr int paletteSize = 1 << bitsPerPixel;

class Bytes {
public:
    void u8(int value) { data_.push_back(static_cast<char>(value & 0xFF)); }
    void u16(int value) { u8(value), u8(value >> 8); }
    void u32(std::uint32_t value) {
        u16(static_cast<int>(value & 0xFFFF)), u16(static_cast<int>(value >> 16));
    }
    void zeros(std::size_t count) { data_.append(count, '\0'); }
    std::size_t size() const { return data_.size(); }
    const std::string& data() const { return data_; }

private:
    std::string data_;
};

constexpr std::size_t rowBytes(int width, int bits) {
    return static_cast<std::size_t>((width * bits + 31) / 32 * 4);
}

// One image: the header of a device-independent bitmap of twice the height (the colours,
// then the transparency mask), its palette, its rows bottom-up, and an empty mask.
Bytes image(int size) {
    const std::size_t colourRow = rowBytes(size, bitsPerPixel);
    const std::size_t maskRow = rowBytes(size, 1);
    Bytes bytes;
    bytes.u32(40);
    bytes.u32(static_cast<std::uint32_t>(size));
    bytes.u32(static_cast<std::uint32_t>(2 * size));
    bytes.u16(1);
    bytes.u16(bitsPerPixel);
    bytes.u32(0);
    bytes.u32(static_cast<std::uint32_t>((colourRow + maskRow) * static_cast<std::size_t>(size)));
    bytes.u32(0), bytes.u32(0), bytes.u32(paletteSize), bytes.u32(0);
    const std::array<forms::Rgb, 2> palette{forms::clockIconFace, forms::clockIconInk};
    for (int i = 0; i < paletteSize; ++i) {
        const forms::Rgb colour = i < 2 ? palette[static_cast<std::size_t>(i)] : forms::Rgb{};
        bytes.u8(colour.b), bytes.u8(colour.g), bytes.u8(colour.r), bytes.u8(0);
    }
    // The row or column of the 32 x 32 icon under the middle of this one's.
    const auto nearest = [size](int at) {
        return (2 * at + 1) * forms::clockIconSize / (2 * size);
    };
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; x += 2) {
            const auto ink = [&](int column) {
                return forms::clockIconPixel(nearest(y), nearest(column)) == forms::clockIconInk;
            };
            bytes.u8((ink(x) ? 0x10 : 0) | (ink(x + 1) ? 0x01 : 0));
        }
        bytes.zeros(colourRow - static_cast<std::size_t>(size / 2));
    }
    bytes.zeros(maskRow * static_cast<std::size_t>(size));
    return bytes;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.ico\n", argv[0]);
        return 2;
    }
    Bytes file;
    file.u16(0);
    file.u16(1); // an icon
    file.u16(static_cast<int>(sizes.size()));
    std::size_t offset = 6 + 16 * sizes.size();
    std::array<Bytes, sizes.size()> images;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        images[i] = image(sizes[i]);
        file.u8(sizes[i] & 0xFF), file.u8(sizes[i] & 0xFF); // 0 stands for 256
        file.u8(paletteSize), file.u8(0);
        file.u16(1), file.u16(bitsPerPixel);
        file.u32(static_cast<std::uint32_t>(images[i].size()));
        file.u32(static_cast<std::uint32_t>(offset));
        offset += images[i].size();
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << file.data();
    for (const Bytes& bytes : images)
        out << bytes.data();
    out.close();
    if (!out) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
