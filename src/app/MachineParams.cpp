#include "app/MachineParams.h"

#include "app/LittleEndian.h"

#include <cassert>

namespace qv {

void AdvancedParams::Decode(std::span<const uint8_t> wire)
{
    assert(wire.size() >= kUsedBytes);
    const uint8_t* p = wire.data();
    xPulsesPerMm = LoadLE<double>(p + 0);
    yPulsesPerMm = LoadLE<double>(p + 8);
    xProtectLength = LoadLE<uint16_t>(p + 16);
    yProtectLengthPrint = LoadLE<uint16_t>(p + 18);
    yProtectLengthFullCut = LoadLE<uint16_t>(p + 20);
    yProtectLengthHalfCut = LoadLE<uint16_t>(p + 22);
    inkjetAccelDistance = p[24];
    cutSpeed = p[25];
    idleSpeed = p[26];
    boardVersion = p[27];
    inkjetIntervalPulses = p[28];
    cutSegmentLength = p[29];
    curveSpeed = p[30];
    nozzleColumnDistance = p[31];
    holderType = p[32];
}

std::array<uint8_t, AdvancedParams::kWireSize> AdvancedParams::Encode() const
{
    std::array<uint8_t, kWireSize> wire{};
    uint8_t* p = wire.data();
    StoreLE(p + 0, xPulsesPerMm);
    StoreLE(p + 8, yPulsesPerMm);
    StoreLE(p + 16, xProtectLength);
    StoreLE(p + 18, yProtectLengthPrint);
    StoreLE(p + 20, yProtectLengthFullCut);
    StoreLE(p + 22, yProtectLengthHalfCut);
    p[24] = inkjetAccelDistance;
    p[25] = cutSpeed;
    p[26] = idleSpeed;
    p[27] = boardVersion;
    p[28] = inkjetIntervalPulses;
    p[29] = cutSegmentLength;
    p[30] = curveSpeed;
    p[31] = nozzleColumnDistance;
    p[32] = holderType;
    return wire;
}

void MachineSettings::Decode(std::span<const uint8_t> wire)
{
    assert(wire.size() >= kUsedBytes);
    const uint8_t* p = wire.data();
    for (std::size_t i = 0; i < machineIp.size(); ++i)
        machineIp[i] = p[i];
    oneMetreX = LoadLE<uint16_t>(p + 4);
    oneMetreY = LoadLE<uint16_t>(p + 6);
    paperCutStartY = LoadLE<uint16_t>(p + 8);
    paperCutEndY = LoadLE<uint16_t>(p + 10);
    headStopX = LoadLE<uint16_t>(p + 12);
    headStopY = LoadLE<uint16_t>(p + 14);
    fullCutOffsetX = LoadLE<int16_t>(p + 16);
    fullCutOffsetY = LoadLE<int16_t>(p + 18);
    halfCutOffsetX = LoadLE<int16_t>(p + 20);
    halfCutOffsetY = LoadLE<int16_t>(p + 22);
    fullCutStartPressure = p[24];
    fullCutWorkPressure = p[25];
    halfCutStartPressure = p[26];
    halfCutWorkPressure = p[27];
    head2Position = p[28];
    bidirCorrection = p[29];
    headOverlap = p[30];
    headsInUse = p[31];
    bidirPrinting = p[32];
    perpendicularity = p[33];
    stopMode = p[34];
    cartridgeType = CartridgeFromByte(p[35]);
    panelLanguage = p[36];
    yMargin = p[37];
    plotLineWidth = p[38];
    sameKnife = p[39];
}

std::array<uint8_t, MachineSettings::kWireSize> MachineSettings::Encode() const
{
    std::array<uint8_t, kWireSize> wire{};
    uint8_t* p = wire.data();
    for (std::size_t i = 0; i < machineIp.size(); ++i)
        p[i] = machineIp[i];
    StoreLE(p + 4, oneMetreX);
    StoreLE(p + 6, oneMetreY);
    StoreLE(p + 8, paperCutStartY);
    StoreLE(p + 10, paperCutEndY);
    StoreLE(p + 12, headStopX);
    StoreLE(p + 14, headStopY);
    StoreLE(p + 16, fullCutOffsetX);
    StoreLE(p + 18, fullCutOffsetY);
    StoreLE(p + 20, halfCutOffsetX);
    StoreLE(p + 22, halfCutOffsetY);
    p[24] = fullCutStartPressure;
    p[25] = fullCutWorkPressure;
    p[26] = halfCutStartPressure;
    p[27] = halfCutWorkPressure;
    p[28] = head2Position;
    p[29] = bidirCorrection;
    p[30] = headOverlap;
    p[31] = headsInUse;
    p[32] = bidirPrinting;
    p[33] = perpendicularity;
    p[34] = stopMode;
    p[35] = static_cast<uint8_t>(cartridgeType);
    p[36] = panelLanguage;
    p[37] = yMargin;
    p[38] = plotLineWidth;
    p[39] = sameKnife;
    return wire;
}

int32_t MachineSettings::PackedIp() const
{
    return LoadLE<int32_t>(machineIp.data());
}

void MachineSettings::SetPackedIp(int32_t packed)
{
    StoreLE(machineIp.data(), packed);
}

void MachineParams::SetStartupValues()
{
    const auto ip = settings.machineIp;
    advanced = AdvancedParams{};
    settings = MachineSettings{};
    settings.machineIp = ip;
}

WorkingAreaLimits MachineParams::Limits() const
{
    return {
        .x = advanced.xProtectLength * advanced.xPulsesPerMm,
        .yPrint = advanced.yProtectLengthPrint * advanced.yPulsesPerMm,
        .yFullCut = advanced.yProtectLengthFullCut * advanced.yPulsesPerMm,
        .yHalfCut = advanced.yProtectLengthHalfCut * advanced.yPulsesPerMm,
    };
}

} // namespace qv
