#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv::sim {

// Faults the virtual machine can be told to commit, each on the frames of one command code, on the chunks
// of an Ethernet bulk stream, or on everything. Written on the command line as
//     KIND[@TARGET][+SKIP][xCOUNT]
// KIND: no-ack (swallow the reply), short-reply (reply one byte short), bad-first-byte (reply starting with
// 0x02), statusN (report status type N, 0 to 255, with value 0: an acknowledgement says it, a progress reply
// carries it; status4 is ready, status15 a memory error, status0 a machine that restarted), close (drop the
// connection instead of replying; on USB the device vanishes until it is plugged in again), silent (no reply
// to anything, ever: a machine that accepts the connection and never answers). On USB the job data is one
// transfer: no-ack@bulk times it out, short-reply@bulk takes one byte less, close@bulk unplugs the device.
// TARGET: a command code, or "bulk" for the chunks of a bulk stream; none: every frame and chunk.
// SKIP: matching events to let pass first. COUNT: how often to strike; none: every time.
// Examples: short-reply@54x2 refuses the first two segment records; status4@bulk+1x1 stops a stream at its
// second chunk; no-ack@58+3 lets three status polls through and then never acknowledges one again;
// status17@40+2x1 ends a job with lost steps at its third progress read.
enum class FaultKind { NoAck, ShortReply, BadFirstByte, Status, Close };

struct SimFault {
    static constexpr int kAnyTarget = -1;
    static constexpr int kBulkTarget = -2;

    FaultKind kind = FaultKind::NoAck;
    int target = kAnyTarget;
    int skip = 0;
    int count = -1;     // -1: every time
    uint8_t status = 4; // the status type of Status

    static std::optional<SimFault> Parse(const std::string& text);
};

// The faults in force; each event asks once and uses up a strike of the first rule that strikes.
class FaultPlan {
public:
    void Add(const SimFault& fault) { faults_.push_back(fault); }
    void Clear() { faults_.clear(); }
    // The fault to commit on a frame of `code` (or a bulk chunk with kBulkTarget), if any.
    std::optional<SimFault> Strike(int target);

private:
    std::vector<SimFault> faults_;
};

} // namespace qv::sim
