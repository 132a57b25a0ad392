#pragma once

#include "app/MachineParams.h"
#include "app/MachineParamsStore.h"
#include "app/MessageCatalog.h"
#include "app/Notifier.h"
#include "link/CMyCommu.h"
#include "link/JobRecords.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

namespace qv {

struct SharedFlags;

// Who takes a queued manual command: the rules differ between the link monitor and a job's progress loop.
enum class CommandSender { LinkMonitor, JobThread };

// The command protocol on top of the link's primitives: handshake, parameter saves, manual commands, the
// status poll, the start point and the job's progress. Messages go through the Notifier in the language the
// shared flags hold at that moment. Used by one thread at a time (the link monitor, or the job thread while
// a job runs; the job thread waits for the monitor to park before its first exchange).
class LinkProtocol {
public:
    using Sleeper = std::function<void(std::chrono::milliseconds)>;

    // `sleep` defaults to sleeping the calling thread.
    LinkProtocol(CMyCommu& commu, LinkState& state, MachineParamsStore& params, const SharedFlags& flags,
                 Notifier& notifier, Sleeper sleep = {});

    // Version check (32), then AdvancedParams (33) and MachineSettings (34) replace the host's copy, each as a
    // whole. 0 on success; -1 at the first failure. A machine of the family with another firmware is told about
    // once, not at every retry, until a handshake succeeds or another version answers; any other version fails
    // silently. Does not set Connected: that is the caller's.
    int Handshake();

    // Writes AdvancedParams (50) or MachineSettings (51); tells the operator on failure; then pauses
    // 300 ms either way. The bytes after the record's used part go back as the machine last sent them.
    int SaveRecord(uint8_t code);

    // Sends a code taken from the ManualCommandQueue by the given thread; codes it does not take are dropped.
    void Dispatch(uint8_t code, CommandSender sender);

    // Command 36 with up to 3 attempts, 10 ms after each failure. On success the start point is stored in
    // the link state and returned; after three failures the operator is told.
    std::optional<MachinePoint> ReadStartPoint();

    // Command 58, then 35 when the machine is ready. A failure over Ethernet clears Connected at once; over
    // USB the fourth failure in a row does. 0 when the poll was acknowledged.
    int StatusPoll();

    // Command 40: on success stores the progress count and the status pair.
    std::optional<ProgressReply> ReadProgress();

    CMyCommu& Commu() { return commu_; }

private:
    void Tell(Msg id, MsgIcon icon);
    void Sleep(std::chrono::milliseconds span);
    template <std::size_t N>
    std::optional<std::array<uint8_t, N>> Read(uint8_t code);

    CMyCommu& commu_;
    LinkState& state_;
    MachineParamsStore& params_;
    const SharedFlags& flags_;
    Notifier& notifier_;
    Sleeper sleep_;
    int usbPollFailures_ = 0;
    uint32_t toldFirmware_ = 0; // the incompatible version last told, 0 after a compatible handshake
    // What the machine keeps in the record bytes the host does not use.
    std::array<uint8_t, AdvancedParams::kWireSize> advancedWire_{};
    std::array<uint8_t, MachineSettings::kWireSize> settingsWire_{};
};

} // namespace qv
