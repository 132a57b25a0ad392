#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qv {

// The machine's advanced parameters as they travel on the link (read with code 33, written with 50).
// Wire layout, little-endian, 40 bytes; bytes 33 to 39 belong to the machine and are ignored on read:
//   0 double  xPulsesPerMm           16 u16 xProtectLength (mm)       24 u8 inkjetAccelDistance (mm)
//   8 double  yPulsesPerMm           18 u16 yProtectLengthPrint (mm)  25 u8 cutSpeed    26 u8 idleSpeed
//                                    20 u16 yProtectLengthFullCut     27 u8 boardVersion
//                                    22 u16 yProtectLengthHalfCut     28 u8 inkjetIntervalPulses
//   29 u8 cutSegmentLength  30 u8 curveSpeed  31 u8 nozzleColumnDistance  32 u8 holderType
struct AdvancedParams {
    static constexpr std::size_t kWireSize = 40;
    static constexpr std::size_t kUsedBytes = 33;

    double xPulsesPerMm = 104.25;
    double yPulsesPerMm = 104.25;
    uint16_t xProtectLength = 1506;
    uint16_t yProtectLengthPrint = 1025;
    uint16_t yProtectLengthFullCut = 952;
    uint16_t yProtectLengthHalfCut = 942;
    uint8_t inkjetAccelDistance = 40;
    uint8_t cutSpeed = 3;
    uint8_t idleSpeed = 3;
    uint8_t boardVersion = 2;
    uint8_t inkjetIntervalPulses = 16; // Y pulses per raster row
    uint8_t cutSegmentLength = 80;
    uint8_t curveSpeed = 8;
    uint8_t nozzleColumnDistance = 23;
    uint8_t holderType = 0; // 0: head 2 nearer the Y origin, 1: head 1 nearer

    // Takes the used bytes of a record read from the machine; `wire` must hold at least kUsedBytes.
    void Decode(std::span<const uint8_t> wire);
    // Writes the used bytes; the unused tail is zero.
    std::array<uint8_t, kWireSize> Encode() const;

    bool operator==(const AdvancedParams&) const = default;
};

// The two cartridges the inkjet heads take. The record's byte is decoded once, where the record comes in:
// 1 is "IUT308", any other value "HP45", so every part of a job (cleaning pattern, nozzle maps, raster,
// knife shift) agrees on one cartridge.
enum class Cartridge : uint8_t { HP45 = 0, IUT308 = 1 };
inline Cartridge CartridgeFromByte(uint8_t byte)
{
    return byte == 1 ? Cartridge::IUT308 : Cartridge::HP45;
}

// The machine settings (read with code 34, written with 51). Wire layout, little-endian, 60 bytes;
// bytes 40 to 59 belong to the machine and are ignored on read:
//   0 u8[4] machineIp (first octet first)  16 i16 fullCutOffsetX (0.1 mm)  24..27 u8 pressures
//   4 u16 oneMetreX (0.1 mm)                18 i16 fullCutOffsetY            28 u8 head2Position
//   6 u16 oneMetreY                         20 i16 halfCutOffsetX            29 u8 bidirCorrection
//   8 u16 paperCutStartY (mm)               22 i16 halfCutOffsetY            30 u8 headOverlap
//  10 u16 paperCutEndY  12 u16 headStopX  14 u16 headStopY                   31 u8 headsInUse
//  32 u8 bidirPrinting  33 u8 perpendicularity  34 u8 stopMode  35 u8 cartridgeType  36 u8 panelLanguage
//  37 u8 yMargin (mm)   38 u8 plotLineWidth (raster pixels)  39 u8 sameKnife
struct MachineSettings {
    static constexpr std::size_t kWireSize = 60;
    static constexpr std::size_t kUsedBytes = 40;

    std::array<uint8_t, 4> machineIp{0xC0, 0xA8, 0x01, 0xDA}; // 192.168.1.218
    uint16_t oneMetreX = 10000;
    uint16_t oneMetreY = 10000;
    uint16_t paperCutStartY = 0;
    uint16_t paperCutEndY = 0;
    uint16_t headStopX = 0;
    uint16_t headStopY = 0;
    int16_t fullCutOffsetX = 50;
    int16_t fullCutOffsetY = 50;
    int16_t halfCutOffsetX = 50;
    int16_t halfCutOffsetY = 50;
    uint8_t fullCutStartPressure = 40;
    uint8_t fullCutWorkPressure = 40;
    uint8_t halfCutStartPressure = 30;
    uint8_t halfCutWorkPressure = 30;
    uint8_t head2Position = 150;
    uint8_t bidirCorrection = 5;
    uint8_t headOverlap = 1;
    uint8_t headsInUse = 0; // 0 both, 1 head 1 only, 2 head 2 only
    uint8_t bidirPrinting = 1;
    uint8_t perpendicularity = 100;
    uint8_t stopMode = 0; // 0 at the page's max X / min Y, 1 at headStopX / headStopY
    Cartridge cartridgeType = Cartridge::HP45;
    uint8_t panelLanguage = 0;
    uint8_t yMargin = 0;
    uint8_t plotLineWidth = 1;
    uint8_t sameKnife = 1;

    void Decode(std::span<const uint8_t> wire);
    std::array<uint8_t, kWireSize> Encode() const;

    // The address as the settings file stores it: first octet in the least significant byte.
    int32_t PackedIp() const;
    void SetPackedIp(int32_t packed);

    bool operator==(const MachineSettings&) const = default;
};

// Working-area limits in pulses, derived whenever the start point is read.
struct WorkingAreaLimits {
    double x = 0;
    double yPrint = 0;
    double yFullCut = 0;
    double yHalfCut = 0;
};

// The host's copy of the machine's parameter set; default construction gives the start-up values.
struct MachineParams {
    AdvancedParams advanced;
    MachineSettings settings;

    // Back to the values shown while no machine has been read; the address is kept.
    void SetStartupValues();
    WorkingAreaLimits Limits() const;
};

} // namespace qv
