#include "output/BandCompressor.h"

#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv {
namespace {

using test::Bytes;

// Band bytes from little-endian words.
std::vector<uint8_t> Words(std::initializer_list<uint16_t> words)
{
    Bytes b;
    for (const uint16_t w : words)
        b.U16(w);
    return b.vec();
}

std::vector<uint8_t> Compress(const std::vector<uint8_t>& rows)
{
    std::vector<uint8_t> out(2 * rows.size());
    const auto n = CompressZeroRuns(rows, out);
    EXPECT_TRUE(n.has_value());
    out.resize(n.value_or(0));
    return out;
}

struct Case {
    const char* name;
    std::vector<uint8_t> rows;
    std::vector<uint8_t> expected;
};

TEST(BandCompressor, GoldenBytes)
{
    const Case cases[] = {
        {"nothing", {}, {}},
        {"non-zero words are copied", Words({0x1234, 0x0001}), Bytes{0x34, 0x12, 0x01, 0x00}},
        {"a zero word between two", Words({5, 0, 0, 0, 7}), Bytes{5, 0, 0, 0, 3, 0, 7, 0}},
        {"a single zero word still becomes a pair", Words({0, 9}), Bytes{0, 0, 1, 0, 9, 0}},
        {"a run still open at the end is closed", Words({0x0100, 0, 0}), Bytes{0x00, 0x01, 0, 0, 2, 0}},
        {"a word whose low byte is zero is not zero", Words({0x0100, 0x0001}), Bytes{0x00, 0x01, 0x01, 0x00}},
        {"blank HP45 band of R = 1: 31 rows of 22 words", std::vector<uint8_t>(31 * 44, 0), Bytes{0, 0, 0xAA, 0x02}},
        {"65000 zero words: one full run", std::vector<uint8_t>(2 * 65000, 0), Bytes{0, 0, 0xE8, 0xFD}},
        {"65001 zero words: the run is closed at 65000", std::vector<uint8_t>(2 * 65001, 0),
         Bytes{0, 0, 0xE8, 0xFD, 0, 0, 1, 0}},
        {"130000 zero words: two full runs", std::vector<uint8_t>(2 * 130000, 0),
         Bytes{0, 0, 0xE8, 0xFD, 0, 0, 0xE8, 0xFD}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Compress(c.rows), c.expected) << c.name;
}

TEST(BandCompressor, FullRunFollowedByData)
{
    std::vector<uint8_t> rows(2 * 65000, 0);
    rows.push_back(0x07);
    rows.push_back(0x00);
    EXPECT_EQ(Compress(rows), (Bytes{0, 0, 0xE8, 0xFD, 7, 0}.vec())) << "no empty run pair after a full run";
}

TEST(BandCompressor, RefusesWhatItCannotHold)
{
    std::vector<uint8_t> out(16, 0xEE);
    const std::vector<uint8_t> odd{1, 2, 3};
    EXPECT_FALSE(CompressZeroRuns(odd, out)) << "half a word";
    const std::vector<uint8_t> nine(18, 1);
    EXPECT_FALSE(CompressZeroRuns(nine, out)) << "output smaller than twice the input";
    EXPECT_EQ(out, std::vector<uint8_t>(16, 0xEE)) << "nothing written on refusal";
    // The worst case, zero and non-zero words alternating, takes one and a half times the input.
    const std::vector<uint8_t> alternating = Words({1, 0, 1, 0});
    std::vector<uint8_t> exact(16);
    EXPECT_EQ(CompressZeroRuns(alternating, exact), 12u);
}

} // namespace
} // namespace qv
