#include "BandDecoder.h"

#include "support/Bytes.h"

#include <gtest/gtest.h>

namespace qv::sim {
namespace {

using test::Bytes;

// Compressed bands written out by hand: words little-endian, (0, n) for n zero words.
// "HP45" rows are 22 words, "IUT308" rows 44 words; a band holds R + 30 rows.

RasterSetup Hp45(uint8_t headsInUse)
{
    RasterSetup s;
    s.cartridgeType = 0;
    s.headsInUse = headsInUse;
    s.headOverlap = 10;
    s.head2Position = 2;
    s.bidirPrinting = 1;
    s.holderType = 0;
    return s;
}

TEST(ZeroRuns, Expansion)
{
    EXPECT_EQ(ExpandZeroRuns(Bytes{0x34, 0x12, 0, 0, 3, 0, 0xFF, 0xFF}.vec()),
              (std::vector<uint16_t>{0x1234, 0, 0, 0, 0xFFFF}));
    const auto split = ExpandZeroRuns(Bytes{0, 0, 0xE8, 0xFD, 0, 0, 1, 0}.vec()); // (0, 65000) (0, 1)
    ASSERT_TRUE(split);
    EXPECT_EQ(split->size(), 65001u);
    EXPECT_FALSE(ExpandZeroRuns(Bytes{0, 0}.vec())) << "run pair cut off";
    EXPECT_FALSE(ExpandZeroRuns(Bytes{0, 0, 0, 0}.vec())) << "run of zero words";
    EXPECT_FALSE(ExpandZeroRuns(Bytes{1, 0, 2}.vec())) << "half a word";
    EXPECT_EQ(ExpandZeroRuns({}), std::vector<uint16_t>{});
}

TEST(BandDecoder, BlankHp45BandIsOneRunPair)
{
    PrintedImage image;
    // R = 1: 31 rows of 22 words = 682 = 0x02AA.
    const BandResult r = DecodeBand(Hp45(1), 0, 1, Bytes{0, 0, 0xAA, 0x02}.vec(), image);
    EXPECT_TRUE(r.errors.empty());
    EXPECT_EQ(r.rows, 31);
    EXPECT_EQ(image.InkPixels(), 0);
    EXPECT_EQ(image.Width(), 150);
    EXPECT_EQ(image.Height(), 31);
}

TEST(BandDecoder, BandLongerThanOneRun)
{
    PrintedImage image;
    // R = 2926: 2956 rows x 22 words = 65032 words = (0, 65000) (0, 32).
    const BandResult r = DecodeBand(Hp45(1), 0, 2926, Bytes{0, 0, 0xE8, 0xFD, 0, 0, 32, 0}.vec(), image);
    EXPECT_TRUE(r.errors.empty());
    EXPECT_EQ(r.rows, 2956);
}

TEST(BandDecoder, WrongRowCountIsAnError)
{
    PrintedImage image;
    const BandResult r = DecodeBand(Hp45(1), 3, 2, Bytes{0, 0, 0xAA, 0x02}.vec(), image); // 31 rows, 32 expected
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_NE(r.errors[0].find("band 3"), std::string::npos);
    EXPECT_NE(r.errors[0].find("expected 32 rows"), std::string::npos);
}

TEST(BandDecoder, Hp45SingleHeadPixels)
{
    // Row 0: pixel 21 is bit 1 of byte 7 (word 3 = 0x0200); pixel 132 is bit 6 of byte 0 (word 0 = 0x0040).
    // Row 1: pixel 3 is bit 0 of byte 1 (word 0 = 0x0100).
    const Bytes band = Bytes{0x40, 0x00, 0, 0, 2, 0, 0x00, 0x02, 0, 0, 18, 0} // row 0
                           .Add({0x00, 0x01, 0, 0, 21, 0})                    // row 1
                           .Add({0, 0})
                           .U16(28 * 22); // the other 28 rows
    PrintedImage image;
    const BandResult r = DecodeBand(Hp45(1), 0, 0, band.vec(), image);
    ASSERT_TRUE(r.errors.empty()) << r.errors[0];
    EXPECT_EQ(r.inkPixels, 3);
    EXPECT_TRUE(image.Get(21, 0));
    EXPECT_TRUE(image.Get(132, 0));
    EXPECT_TRUE(image.Get(3, 1));
    EXPECT_EQ(image.InkPixels(), 3);
}

TEST(BandDecoder, Hp45BothHeadsLandWhereTheHostAimed)
{
    // Both heads, overlap 10 (w = 290), head 2 position 2, holder 0: head 2 trails by 2 rows, by 1 on odd bands
    // printed bidirectionally. Head 2's nozzle 0 is bit 0 of byte 22 (word 11 = 0x0001); head 1's nozzle 0 bit 0
    // of byte 0.
    const auto bandWithHead2At = [](int row) {
        Bytes b;
        if (row > 0)
            b.Add({0, 0}).U16(static_cast<uint16_t>(row * 22));
        b.Add({0x01, 0x00, 0, 0, 10, 0, 0x01, 0x00, 0, 0, 10, 0}); // head 1 and head 2 nozzle 0 in this row
        return b.Add({0, 0}).U16(static_cast<uint16_t>((29 - row) * 22)).vec(); // R = 0: 30 rows in all
    };
    PrintedImage image;
    const BandResult even = DecodeBand(Hp45(0), 0, 0, bandWithHead2At(2), image);
    const BandResult odd = DecodeBand(Hp45(0), 1, 0, bandWithHead2At(1), image);
    ASSERT_TRUE(even.errors.empty() && odd.errors.empty());
    EXPECT_EQ(image.Width(), 580);
    EXPECT_TRUE(image.Get(0, 2)) << "head 1, band 0";
    EXPECT_TRUE(image.Get(140, 0)) << "head 2 nozzle 0 prints column n - overlap";
    EXPECT_TRUE(image.Get(290, 1)) << "head 1, band 1";
    EXPECT_TRUE(image.Get(290 + 140, 0)) << "head 2 on the odd band trails by one row less";
    EXPECT_EQ(image.InkPixels(), 4);

    RasterSetup holder1 = Hp45(0);
    holder1.holderType = 1;
    PrintedImage swapped;
    DecodeBand(holder1, 0, 0, bandWithHead2At(2), swapped);
    EXPECT_TRUE(swapped.Get(0, 0)) << "holder 1: head 1 trails";
    EXPECT_TRUE(swapped.Get(140, 2));
}

TEST(BandDecoder, Hp45HeadTwoAlone)
{
    // Heads in use 2: head 2's pixels come through head 2's map, d rows later (head 2 position 2).
    const Bytes band = Bytes{0, 0, 2 * 22 + 11, 0, 0x00, 0x02, 0, 0, 10, 0, 0, 0}.U16(27 * 22);
    PrintedImage image;
    const BandResult r = DecodeBand(Hp45(2), 0, 0, band.vec(), image);
    ASSERT_TRUE(r.errors.empty());
    EXPECT_TRUE(image.Get(25, 0)); // byte 23 bit 1: group 1, nozzle 25
    EXPECT_EQ(image.Width(), 150);
}

TEST(BandDecoder, Hp45HeadAloneIgnoresTheHolderType)
{
    // The host puts a lone head 1's rows on their own row and a lone head 2's d rows on, whatever the holder.
    // Head 1's nozzle 0 in row 0; head 2's nozzle 0 (byte 22) in row 2; R = 0, 30 rows in all.
    const Bytes head1 = Bytes{0x01, 0x00, 0, 0}.U16(29 * 22 + 21);
    const Bytes head2 = Bytes{0, 0}.U16(2 * 22 + 11).Add({0x01, 0x00, 0, 0}).U16(27 * 22 + 10);
    for (const uint8_t holder : {0, 1}) {
        RasterSetup one = Hp45(1);
        one.holderType = holder;
        RasterSetup two = Hp45(2);
        two.holderType = holder;
        PrintedImage a;
        PrintedImage b;
        const BandResult ra = DecodeBand(one, 0, 0, head1.vec(), a);
        const BandResult rb = DecodeBand(two, 0, 0, head2.vec(), b);
        ASSERT_TRUE(ra.errors.empty() && rb.errors.empty());
        EXPECT_TRUE(a.Get(0, 0)) << "head 1 alone, holder " << int{holder};
        EXPECT_TRUE(b.Get(0, 0)) << "head 2 alone, holder " << int{holder};
        EXPECT_EQ(ra.offMaterial + rb.offMaterial, 0);
    }
}

TEST(BandDecoder, Iut308Pixels)
{
    // Pixel 0 is bit 3 of byte 21 (word 10 = 0x0800); pixel 307 is bit 2 of byte 36 (word 18 = 0x0004);
    // R = 0, so 29 blank rows follow.
    RasterSetup s;
    s.cartridgeType = 1;
    s.headsInUse = 1;
    s.head2Position = 5;
    PrintedImage image;
    const BandResult r = DecodeBand(
        s, 0, 0, Bytes{0, 0, 10, 0, 0x00, 0x08, 0, 0, 7, 0, 0x04, 0x00, 0, 0, 25, 0, 0, 0}.U16(29 * 44).vec(), image);
    ASSERT_TRUE(r.errors.empty()) << r.errors[0];
    EXPECT_TRUE(image.Get(0, 0));
    EXPECT_TRUE(image.Get(307, 0));
    EXPECT_EQ(image.Width(), 308);
    EXPECT_EQ(image.InkPixels(), 2);
}

TEST(BandDecoder, Iut308HeadTwoTrailsWhateverTheHolder)
{
    RasterSetup s;
    s.cartridgeType = 1;
    s.headsInUse = 0;
    s.headOverlap = 8;
    s.head2Position = 3;
    s.holderType = 1;
    // Row 3, head 2 (bytes 44..87): byte 65 (group 21) bit 3 is head 2's nozzle 0 -> column 308 - 8 = 300.
    const Bytes band = Bytes{0, 0, 3 * 44 + 32, 0, 0x00, 0x08, 0, 0, 11, 0, 0, 0}.U16(26 * 44);
    PrintedImage image;
    const BandResult r = DecodeBand(s, 1, 0, band.vec(), image);
    ASSERT_TRUE(r.errors.empty());
    EXPECT_TRUE(image.Get(608 + 300, 0));
}

TEST(BandDecoder, BitsThatFireNothingAreErrors)
{
    // Bit 7 of byte 0 has no nozzle; byte 22 belongs to head 2, which is not in use.
    const Bytes band = Bytes{0x80, 0x00, 0, 0, 10, 0, 0x01, 0x00, 0, 0, 10, 0, 0, 0}.U16(29 * 22);
    PrintedImage image;
    const BandResult r = DecodeBand(Hp45(1), 0, 0, band.vec(), image);
    ASSERT_EQ(r.errors.size(), 2u);
    EXPECT_NE(r.errors[0].find("fire no nozzle"), std::string::npos);
    EXPECT_NE(r.errors[1].find("head not in use"), std::string::npos);
    EXPECT_EQ(image.InkPixels(), 0);
}

} // namespace
} // namespace qv::sim
