#pragma once

#include "SimClock.h"
#include "SimFaults.h"
#include "SimJob.h"

#include "app/MachineParams.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv::sim {

// The virtual machine's behaviour, the same over TCP and over its in-process USB device. It answers the
// host's frames (see SimMachine.cpp for the frame layouts it reads), keeps its parameter records in its own
// file, moves its head, runs jobs at a set pace, and checks, decodes and writes out every job it receives.
//
// Status it reports (type/value): 0/0 after power-on, 1/0 while seeking the origin, 4/0 ready, 10/0 while
// cleaning the heads, 12/0 while a job's data arrives, 12/1 while a job started with 52 waits for the
// panel's confirm key, 12/18 while it works, 13/0 while paused.
struct SimOptions {
    uint32_t firmware = 0x00AA1900;
    std::string paramFile;       // parameter records; empty: start-up values, kept in memory only
    std::string outputDir;       // where every job's summary, image and knife paths go; empty: nowhere
    int64_t initMs = 300;        // status 0 after power-on
    int64_t seekMs = 700;        // status 1 while seeking the origin
    int64_t cleanMs = 1500;      // status 10 after command 13
    int64_t segmentMs = 300;     // working time per segment
    int64_t confirmAfterMs = -1; // a job started with 52 is confirmed this long after its header; -1: never
    double jogMmPerSecond = 20;
    bool recordTranscript = false;
};

struct SimStatus {
    uint8_t type = 0;
    uint8_t value = 0;
    bool operator==(const SimStatus&) const = default;
};

struct SimPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const SimPoint&) const = default;
};

// One exchange as the machine saw it: what the host sent and what was answered (empty: no answer).
struct SimExchange {
    enum class Kind { Frame, BulkChunk, Bulk };
    int64_t timeMs = 0;
    Kind kind = Kind::Frame;
    std::vector<uint8_t> host;
    std::vector<uint8_t> reply;
};

struct SimReply {
    std::vector<uint8_t> bytes; // empty: nothing is sent back
    bool close = false;         // drop the connection
};

// How the machine took a job's data sent in one transfer (USB): whole, or cut short by a fault on the bulk
// target: no-ack lets the transfer time out, short-reply takes all but the last byte, close makes the device
// vanish.
enum class BulkOutcome { Taken, TimedOut, Short, Vanished };

class SimMachine {
public:
    SimMachine(const SimClock& clock, SimOptions options);

    // A whole host frame (byte 0 is its length).
    SimReply HandleFrame(std::span<const uint8_t> frame);
    // One 400-byte chunk of an Ethernet bulk stream, acknowledged.
    SimReply HandleBulkChunk(std::span<const uint8_t> chunk);
    // The whole bulk transfer of the USB endpoint 0x03; not acknowledged.
    BulkOutcome HandleBulk(std::span<const uint8_t> data);
    // Between a job's start command and its header the job's data may arrive.
    bool ExpectsJobData() const;

    // The confirm key on the machine's panel.
    void Confirm();
    // Brings timed phases, head movement and job progress up to the clock.
    void Tick();

    // The address the machine reports in bytes 0..3 of its settings.
    void SetAddress(std::array<uint8_t, 4> address);
    // The firmware version it reports from now on (an update of the machine's software).
    void SetFirmware(uint32_t version);
    void AddFault(const SimFault& fault);
    void ClearFaults();
    // One line per exchange, "->" for what came from the host, "<-" for the answer.
    void SetLog(std::function<void(const std::string&)> log);

    SimStatus Status() const;
    SimPoint HeadPosition() const;
    SimPoint StartPoint() const;
    uint16_t Progress() const;
    // Knife and pump switches: full-cut knife, half-cut knife, air pump.
    std::array<bool, 3> Switches() const;
    MachineParams Params() const;
    std::vector<SimExchange> Transcript() const;
    void ClearTranscript();
    // Every finished or cancelled job, oldest first.
    std::vector<std::shared_ptr<const JobReport>> Jobs() const;

private:
    enum class Phase { PowerOn, SeekOrigin, Ready, Cleaning, Receiving, WaitConfirm, Working, Paused };

    void Advance();
    SimStatus CurrentStatus() const;
    std::vector<uint8_t> Ack() const;
    std::optional<std::vector<uint8_t>> ReadReply(uint8_t code) const;
    void Apply(uint8_t code, std::span<const uint8_t> payload);
    void StartJob(uint8_t code, std::span<const uint8_t> payload);
    void EndJob(bool cancelled);
    void SaveParams();
    SimReply Fault(int target, std::vector<uint8_t> reply);
    void Record(SimExchange::Kind kind, std::span<const uint8_t> host, const SimReply& reply);

    const SimClock& clock_;
    SimOptions options_;
    mutable std::mutex mutex_;
    FaultPlan faults_;
    std::function<void(const std::string&)> log_;

    std::array<uint8_t, AdvancedParams::kWireSize> advancedWire_{};
    std::array<uint8_t, MachineSettings::kWireSize> settingsWire_{};
    MachineParams params_;

    Phase phase_ = Phase::PowerOn;
    int64_t phaseEnd_ = 0;
    int64_t lastTick_ = 0;
    double headX_ = 0, headY_ = 0;
    uint8_t jog_ = 0;
    SimPoint start_;
    std::array<bool, 3> switches_{};
    std::shared_ptr<SimJob> job_;
    int jobNumber_ = 0;
    int64_t confirmAt_ = -1;
    int64_t workedMs_ = 0;
    int64_t workFrom_ = 0;
    uint16_t progress_ = 0;
    std::vector<std::shared_ptr<const JobReport>> jobs_;
    std::vector<SimExchange> transcript_;
};

} // namespace qv::sim
