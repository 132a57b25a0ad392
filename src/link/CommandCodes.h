#pragma once

#include <cstdint>

namespace qv {

// The command codes of the link and the primitive each travels with.
namespace cmd {
// SendCmd, no payload: manual commands, queued by the control panel.
inline constexpr uint8_t kStopJog = 0;
inline constexpr uint8_t kJogUp = 1;
inline constexpr uint8_t kJogDown = 2;
inline constexpr uint8_t kJogLeft = 3;
inline constexpr uint8_t kJogRight = 4;
inline constexpr uint8_t kFullCutKnifeOn = 5;
inline constexpr uint8_t kFullCutKnifeOff = 6;
inline constexpr uint8_t kHalfCutKnifeOn = 7;
inline constexpr uint8_t kHalfCutKnifeOff = 8;
inline constexpr uint8_t kAirPumpOn = 9;
inline constexpr uint8_t kAirPumpOff = 10;
inline constexpr uint8_t kSetStartPoint = 11;
inline constexpr uint8_t kReturnToOrigin = 12;
inline constexpr uint8_t kCleanHeads = 13;
inline constexpr uint8_t kResumeJob = 16;
inline constexpr uint8_t kCancelJob = 17;
inline constexpr uint8_t kPauseJob = 18;
// ReadCmd, reply length in the comment.
inline constexpr uint8_t kReadVersion = 32;      // 4: u32 firmware version
inline constexpr uint8_t kReadAdvanced = 33;     // 40: AdvancedParams
inline constexpr uint8_t kReadSettings = 34;     // 60: MachineSettings
inline constexpr uint8_t kReadHeadPosition = 35; // 8: i32 X, i32 Y
inline constexpr uint8_t kReadStartPoint = 36;   // 8: i32 X, i32 Y
inline constexpr uint8_t kReadProgress = 40;     // 4: progress reply
// WriteCmd, payload length in the comment.
inline constexpr uint8_t kSaveAdvanced = 50;    // 40: AdvancedParams
inline constexpr uint8_t kSaveSettings = 51;    // 60: MachineSettings
inline constexpr uint8_t kStartJobConfirm = 52; // 10: job start record; waits for the panel's confirm key
inline constexpr uint8_t kStartJobNow = 53;     // 10: job start record
inline constexpr uint8_t kSegment = 54;         // 7: segment record
inline constexpr uint8_t kJobHeader = 55;       // 6: job header
// SendCmd: the status poll; the acknowledgement carries the status.
inline constexpr uint8_t kStatusPoll = 58;
} // namespace cmd

// The firmware version this program works with.
inline constexpr uint32_t kCompatibleFirmware = 0x00AA1900;
// Versions with all these bits set are the machine's family; any other one is not a machine at all.
inline constexpr uint32_t kFirmwareFamilyBits = 0x00AA0000;

} // namespace qv
