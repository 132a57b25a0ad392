#include "app/MachineParamsFile.h"

#include "support/Bytes.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

std::string Text(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

TEST(MachineParamsFile, GoldenBytes)
{
    // AdvancedParams: 80.0 (0x4054000000000000) pulses per mm in X and Y, the start-up protection lengths,
    // interval pulses 20 at byte 28, and a machine tail of 0xA7. MachineSettings: 10.0.0.7, one metre
    // 10010 / 9990, cartridge "IUT308" at byte 35, line width 3 at byte 38, and a machine tail of 0x5E.
    const test::Bytes file = test::Bytes{0, 0, 0, 0, 0, 0, 0x54, 0x40, 0, 0, 0, 0, 0, 0, 0x54, 0x40}
                                 .U16(1506)
                                 .U16(1025)
                                 .U16(952)
                                 .U16(942)
                                 .Add({40, 3, 3, 2, 20, 80, 8, 23, 0})
                                 .Repeat(0xA7, 7)
                                 .Add({10, 0, 0, 7})
                                 .U16(10010)
                                 .U16(9990)
                                 .U16(0)
                                 .U16(0)
                                 .U16(0)
                                 .U16(0)
                                 .U16(50)
                                 .U16(50)
                                 .U16(50)
                                 .U16(50)
                                 .Add({40, 40, 30, 30, 150, 5, 1, 0, 1, 100, 0, 1, 0, 0, 3, 1})
                                 .Repeat(0x5E, 20);
    ASSERT_EQ(file.vec().size(), MachineParamsFile::kSize);

    const auto parsed = MachineParamsFile::Parse(Text(file));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->Serialize(), Text(file)) << "the machine's tails come back as they were";

    const MachineParams p = parsed->Decode();
    EXPECT_EQ(p.advanced.xPulsesPerMm, 80.0);
    EXPECT_EQ(p.advanced.yPulsesPerMm, 80.0);
    EXPECT_EQ(p.advanced.inkjetIntervalPulses, 20);
    EXPECT_EQ(p.settings.machineIp, (std::array<uint8_t, 4>{10, 0, 0, 7}));
    EXPECT_EQ(p.settings.oneMetreX, 10010);
    EXPECT_EQ(p.settings.oneMetreY, 9990);
    EXPECT_EQ(p.settings.cartridgeType, Cartridge::IUT308);
    EXPECT_EQ(p.settings.plotLineWidth, 3);
}

TEST(MachineParamsFile, OnlyTheExactSizeIsAFile)
{
    for (const std::size_t size : {std::size_t{0}, MachineParamsFile::kSize - 1, MachineParamsFile::kSize + 1})
        EXPECT_FALSE(MachineParamsFile::Parse(std::string(size, '\0'))) << size << " bytes";
    EXPECT_TRUE(MachineParamsFile::Parse(std::string(MachineParamsFile::kSize, '\0')));
}

TEST(MachineParamsFile, StartupValuesRoundTrip)
{
    const MachineParams startup;
    const MachineParamsFile file{startup.advanced.Encode(), startup.settings.Encode()};
    const auto again = MachineParamsFile::Parse(file.Serialize());
    ASSERT_TRUE(again);
    const MachineParams decoded = again->Decode();
    EXPECT_EQ(decoded.advanced, startup.advanced);
    EXPECT_EQ(decoded.settings, startup.settings);
}

} // namespace
} // namespace qv
