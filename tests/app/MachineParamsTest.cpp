#include "app/MachineParams.h"

#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <utility>

namespace qv {
namespace {

TEST(MachineParams, AdvancedParamsGoldenBytes)
{
    // 104.25 is 0x405A100000000000.
    const test::Bytes expected = test::Bytes{0, 0, 0, 0, 0, 0x10, 0x5A, 0x40, 0, 0, 0, 0, 0, 0x10, 0x5A, 0x40}
                                     .U16(1506)
                                     .U16(1025)
                                     .U16(952)
                                     .U16(942)
                                     .Add({40, 3, 3, 2, 16, 80, 8, 23, 0})
                                     .Repeat(0, 7);
    const auto wire = AdvancedParams{}.Encode();
    EXPECT_EQ(std::vector<uint8_t>(wire.begin(), wire.end()), expected.vec());
}

TEST(MachineParams, MachineSettingsGoldenBytes)
{
    MachineSettings s;
    s.fullCutOffsetX = -700;
    const test::Bytes expected = test::Bytes{192, 168, 1, 218}
                                     .U16(10000)
                                     .U16(10000)
                                     .U16(0)
                                     .U16(0)
                                     .U16(0)
                                     .U16(0)
                                     .Add({0x44, 0xFD})
                                     .U16(50)
                                     .U16(50)
                                     .U16(50) // -700, 50, 50, 50
                                     .Add({40, 40, 30, 30, 150, 5, 1, 0, 1, 100, 0, 0, 0, 0, 1, 1})
                                     .Repeat(0, 20);
    const auto wire = s.Encode();
    EXPECT_EQ(std::vector<uint8_t>(wire.begin(), wire.end()), expected.vec());
}

TEST(MachineParams, DecodeTakesOnlyTheUsedBytes)
{
    MachineParams host;
    auto adv = host.advanced.Encode();
    auto set = host.settings.Encode();
    for (std::size_t i = AdvancedParams::kUsedBytes; i < adv.size(); ++i)
        adv[i] = 0xAB;
    for (std::size_t i = MachineSettings::kUsedBytes; i < set.size(); ++i)
        set[i] = 0xCD;
    adv[28] = 20; // inkjet interval pulses
    set[38] = 3;  // plot line width

    MachineParams decoded;
    decoded.advanced.Decode(adv);
    decoded.settings.Decode(set);
    EXPECT_EQ(decoded.advanced.inkjetIntervalPulses, 20);
    EXPECT_EQ(decoded.settings.plotLineWidth, 3);
    decoded.advanced.inkjetIntervalPulses = 16;
    decoded.settings.plotLineWidth = 1;
    EXPECT_EQ(decoded.advanced, host.advanced);
    EXPECT_EQ(decoded.settings, host.settings);
}

TEST(MachineParams, RoundTripOfEveryField)
{
    MachineParams p;
    p.advanced.xPulsesPerMm = 80.5;
    p.advanced.yProtectLengthHalfCut = 3000;
    p.advanced.holderType = 1;
    p.settings.halfCutOffsetY = -1;
    p.settings.paperCutEndY = 65535;
    p.settings.sameKnife = 0;
    MachineParams q;
    q.advanced.Decode(p.advanced.Encode());
    q.settings.Decode(p.settings.Encode());
    EXPECT_EQ(q.advanced, p.advanced);
    EXPECT_EQ(q.settings, p.settings);
}

// Regression: a byte other than 0 and 1 once gave the cleaning pattern of one cartridge and the raster of the
// other. It is decoded once, as the raster and the knife shift always took it.
TEST(MachineParams, CartridgeByteIsDecodedOnce)
{
    for (const auto& [byte, cartridge] : {std::pair<uint8_t, Cartridge>{0, Cartridge::HP45},
                                          {1, Cartridge::IUT308},
                                          {2, Cartridge::HP45},
                                          {255, Cartridge::HP45}}) {
        std::array<uint8_t, MachineSettings::kWireSize> wire = MachineSettings{}.Encode();
        wire[35] = byte;
        MachineSettings s;
        s.Decode(wire);
        EXPECT_EQ(s.cartridgeType, cartridge) << int{byte};
        EXPECT_EQ(s.Encode()[35], static_cast<uint8_t>(cartridge)) << int{byte};
    }
}

TEST(MachineParams, StartupValuesKeepTheAddressAndGiveTheLimits)
{
    MachineParams p;
    p.settings.SetPackedIp(0x0100007F); // 127.0.0.1
    p.settings.plotLineWidth = 9;
    p.advanced.cutSpeed = 5;
    p.SetStartupValues();
    EXPECT_EQ(p.settings.machineIp, (std::array<uint8_t, 4>{127, 0, 0, 1}));
    EXPECT_EQ(p.settings.plotLineWidth, 1);
    EXPECT_EQ(p.advanced.cutSpeed, 3);

    const WorkingAreaLimits limits = p.Limits();
    EXPECT_DOUBLE_EQ(limits.x, 1506 * 104.25);
    EXPECT_DOUBLE_EQ(limits.yPrint, 1025 * 104.25);
    EXPECT_DOUBLE_EQ(limits.yFullCut, 952 * 104.25);
    EXPECT_DOUBLE_EQ(limits.yHalfCut, 942 * 104.25);
}

} // namespace
} // namespace qv
