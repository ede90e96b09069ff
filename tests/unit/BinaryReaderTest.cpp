// The bounds-checked reader: byte orders, the edges of the data, and a failure that stays.
#include "shared/BinaryReader.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

using namespace Corvane::Shared;

namespace {
const std::array<std::uint8_t, 10> kData = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A};
}

TEST(BinaryReader, ReadsBothByteOrders) {
    TBinaryReader le(kData);
    EXPECT_EQ(le.U8(), 0x01);
    EXPECT_EQ(le.U16(), 0x0302);
    EXPECT_EQ(le.U32(), 0x07060504u);
    EXPECT_EQ(le.U16At(8), 0x0A09);
    EXPECT_EQ(le.Position(), 7u); // reads at an offset do not move
    EXPECT_EQ(le.U64At(0), 0x0807060504030201u);
    EXPECT_TRUE(le.Ok());

    TBinaryReader be(kData, true);
    EXPECT_EQ(be.U32(), 0x01020304u);
    EXPECT_EQ(be.U64At(2), 0x030405060708090Au);
    EXPECT_TRUE(be.Ok());
}

TEST(BinaryReader, ReadsUpToTheLastByteExactly) {
    TBinaryReader r(kData);
    r.Seek(10);
    EXPECT_TRUE(r.Ok()); // the end itself is a place, with nothing to read
    EXPECT_TRUE(r.Bytes(0).empty());
    EXPECT_TRUE(r.Ok());
    r.Seek(6);
    EXPECT_EQ(r.U32(), 0x0A090807u);
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(r.Position(), 10u);
}

// Each action fails on the data; afterwards every read answers 0 or nothing, even in range.
TEST(BinaryReader, FailureStays) {
    const auto huge = std::numeric_limits<std::uint64_t>::max();
    const std::vector<std::pair<const char*, void (*)(TBinaryReader&)>> failures = {
        {"U64 past the end",
         [](TBinaryReader& r) {
             r.Seek(3);
             r.U64();
         }},
        {"U32At straddling the end", [](TBinaryReader& r) { r.U32At(7); }},
        {"U16At past the end", [](TBinaryReader& r) { r.U16At(huge); }},
        {"Seek past the end", [](TBinaryReader& r) { r.Seek(11); }},
        {"Skip past the end",
         [](TBinaryReader& r) {
             r.Skip(4);
             r.Skip(7);
         }},
        {"Skip overflowing",
         [](TBinaryReader& r) {
             r.Skip(1);
             r.Skip(huge);
         }},
        {"Bytes past the end", [](TBinaryReader& r) { EXPECT_TRUE(r.Bytes(11).empty()); }},
    };
    for (const auto& [name, fail] : failures) {
        SCOPED_TRACE(name);
        TBinaryReader r(kData);
        fail(r);
        EXPECT_FALSE(r.Ok());
        r.Seek(0);
        EXPECT_EQ(r.U8(), 0);
        EXPECT_EQ(r.U16At(0), 0);
        EXPECT_TRUE(r.Bytes(1).empty());
        EXPECT_FALSE(r.Ok());
    }
}
