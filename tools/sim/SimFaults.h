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
// 0x02), status4 (acknowledge with status type 4, ready), close (drop the connection instead of replying),
// silent (no reply to anything, ever: a machine that accepts the connection and never answers).
// TARGET: a command code, or "bulk" for the chunks of a bulk stream; none: every frame and chunk.
// SKIP: matching events to let pass first. COUNT: how often to strike; none: every time.
// Examples: short-reply@54x2 refuses the first two segment records; status4@bulk+1x1 stops a stream at its
// second chunk; no-ack@58+3 lets three status polls through and then never acknowledges one again.
enum class FaultKind { NoAck, ShortReply, BadFirstByte, Status4, Close };

struct SimFault {
    static constexpr int kAnyTarget = -1;
    static constexpr int kBulkTarget = -2;

    FaultKind kind = FaultKind::NoAck;
    int target = kAnyTarget;
    int skip = 0;
    int count = -1;   // -1: every time

    static std::optional<SimFault> Parse(const std::string& text);
};

// The faults in force; each event asks once and uses up a strike of the first rule that strikes.
class FaultPlan {
public:
    void Add(const SimFault& fault) { faults_.push_back(fault); }
    void Clear() { faults_.clear(); }
    // The fault to commit on a frame of `code` (or a bulk chunk with kBulkTarget), if any.
    std::optional<FaultKind> Strike(int target);

private:
    std::vector<SimFault> faults_;
};

} // namespace qv::sim
