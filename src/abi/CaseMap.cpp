// Simple case mapping from one table of capital ranges and the distance to their small letters.
#include "abi/CaseMap.h"

#include <iterator>

namespace Corvane::Abi {

namespace {

struct TCaseRange {
    char32_t First; // first capital
    char32_t Last;  // last capital
    int Delta;      // small letter = capital + Delta
    int Step;       // 1: every code point is a capital; 2: capitals alternate with their small letters
};

constexpr TCaseRange kRanges[] = {
    {'A', 'Z', 0x20, 1},      {0xC0, 0xD6, 0x20, 1},   {0xD8, 0xDE, 0x20, 1},   {0x100, 0x12E, 1, 2},
    {0x132, 0x136, 1, 2},     {0x139, 0x147, 1, 2},    {0x14A, 0x176, 1, 2},    {0x179, 0x17D, 1, 2},
    {0x178, 0x178, -0x79, 1}, {0x386, 0x386, 0x26, 1}, {0x388, 0x38A, 0x25, 1}, {0x38C, 0x38C, 0x40, 1},
    {0x38E, 0x38F, 0x3F, 1},  {0x391, 0x3A1, 0x20, 1}, {0x3A3, 0x3AB, 0x20, 1}, {0x400, 0x40F, 0x50, 1},
    {0x410, 0x42F, 0x20, 1},
};

bool InRange(char32_t c, char32_t first, char32_t last, int step) {
    return c >= first && c <= last && (c - first) % static_cast<char32_t>(step) == 0;
}

} // namespace

char32_t LowerCodePoint(char32_t c) {
    if (c == 0x130) return 'i'; // capital I with dot
    for (const auto& range : kRanges)
        if (InRange(c, range.First, range.Last, range.Step)) return static_cast<char32_t>(c + range.Delta);
    return c;
}

char32_t UpperCodePoint(char32_t c) {
    if (c == 0x3C2) return 0x3A3; // final sigma
    for (const auto& range : kRanges)
        if (InRange(c, range.First + range.Delta, range.Last + range.Delta, range.Step))
            return static_cast<char32_t>(c - range.Delta);
    return c;
}

} // namespace Corvane::Abi
