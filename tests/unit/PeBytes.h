// Bytes of executable images made to measure, for the tests and the fuzz seeds: little-endian
// writers and the smallest PE image the readers take.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace PeBytes {

using TBytes = std::vector<std::uint8_t>;

inline void Put16(TBytes& b, std::size_t at, std::uint32_t v) {
    if (b.size() < at + 2) b.resize(at + 2);
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void Put32(TBytes& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

inline void Put64(TBytes& b, std::size_t at, std::uint64_t v) {
    Put32(b, at, static_cast<std::uint32_t>(v));
    Put32(b, at + 4, static_cast<std::uint32_t>(v >> 32));
}

// A PE image of one code section and no resources: PE32 or PE32+.
inline TBytes MinimalPe(bool is64) {
    const std::size_t optionalSize = is64 ? 240 : 224, optional = 0x58, section = optional + optionalSize;
    TBytes pe(0x400);
    pe[0] = 'M';
    pe[1] = 'Z';
    Put32(pe, 0x3C, 0x40);
    Put32(pe, 0x40, 0x00004550);
    Put16(pe, 0x44, is64 ? 0x8664 : 0x14C);
    Put16(pe, 0x46, 1);
    Put16(pe, 0x54, static_cast<std::uint32_t>(optionalSize));
    Put16(pe, 0x56, 0x0102);
    Put16(pe, optional, is64 ? 0x20B : 0x10B);
    Put32(pe, optional + 32, 0x1000);
    Put32(pe, optional + 36, 0x200);
    Put32(pe, optional + 56, 0x2000);
    Put32(pe, optional + 60, 0x200);
    Put32(pe, optional + (is64 ? 108 : 92), 16);
    std::memcpy(&pe[section], ".text", 5);
    Put32(pe, section + 8, 0x10);
    Put32(pe, section + 12, 0x1000);
    Put32(pe, section + 16, 0x200);
    Put32(pe, section + 20, 0x200);
    Put32(pe, section + 36, 0x60000020);
    pe[0x200] = 0xC3;
    return pe;
}

} // namespace PeBytes
