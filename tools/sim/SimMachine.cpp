#include "SimMachine.h"

#include "JobOutput.h"

#include "app/AtomicFile.h"
#include "app/LittleEndian.h"
#include "app/MachineParamsFile.h"

#include <algorithm>
#include <cstdio>

namespace qv::sim {

// Frames the machine reads (byte 0 is the frame's length including itself):
//   02 cc               a command; answered by the acknowledgement 03 tt vv (status type and value)
//   03 cc 00            a read request for cc in {32, 33, 34, 35, 36, 40}; answered by the reply bytes alone:
//                       32: u32 firmware  33: 40-byte AdvancedParams  34: 60-byte MachineSettings
//                       35: i32 X, i32 Y head position  36: i32 X, i32 Y start point
//                       40: u16 segments done, u8 status type, u8 status value
//   (n+2) cc p0..       a write: 50 AdvancedParams, 51 MachineSettings, 52/53 job start, 54 segment,
//                       55 job header (SimJob.h); acknowledged like a command
// The parameter file is a MachineParamsFile: the two records as they travel.

namespace {

constexpr std::size_t kKeptJobs = 8;
constexpr int kReadProgressCode = 40;

std::string Hex(std::span<const uint8_t> bytes)
{
    std::string s;
    char b[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(b, sizeof b, i ? " %02x" : "%02x", bytes[i]);
        s += b;
    }
    return s;
}

std::vector<uint8_t> Le32Pair(int32_t x, int32_t y)
{
    std::vector<uint8_t> out(8);
    StoreLE(out.data(), x);
    StoreLE(out.data() + 4, y);
    return out;
}

} // namespace

SimMachine::SimMachine(const SimClock& clock, SimOptions options) : clock_(clock), options_(std::move(options))
{
    advancedWire_ = params_.advanced.Encode();
    settingsWire_ = params_.settings.Encode();
    std::string stored;
    if (!options_.paramFile.empty() && ReadWholeFile(options_.paramFile, stored)) {
        if (const auto file = MachineParamsFile::Parse(stored)) {
            advancedWire_ = file->advanced;
            settingsWire_ = file->settings;
        }
    }
    params_.advanced.Decode(advancedWire_);
    params_.settings.Decode(settingsWire_);
    lastTick_ = clock_.NowMs();
    phaseEnd_ = lastTick_ + options_.initMs;
}

void SimMachine::SetAddress(std::array<uint8_t, 4> address)
{
    const std::lock_guard lock(mutex_);
    std::copy(address.begin(), address.end(), settingsWire_.begin());
    params_.settings.machineIp = address;
}

void SimMachine::AddFault(const SimFault& fault)
{
    const std::lock_guard lock(mutex_);
    faults_.Add(fault);
}

void SimMachine::SetFirmware(uint32_t version)
{
    const std::lock_guard lock(mutex_);
    options_.firmware = version;
}

void SimMachine::ClearFaults()
{
    const std::lock_guard lock(mutex_);
    faults_.Clear();
}

void SimMachine::SetLog(std::function<void(const std::string&)> log)
{
    const std::lock_guard lock(mutex_);
    log_ = std::move(log);
}

SimStatus SimMachine::CurrentStatus() const
{
    switch (phase_) {
    case Phase::PowerOn:
        return {0, 0};
    case Phase::SeekOrigin:
        return {1, 0};
    case Phase::Ready:
        return {4, 0};
    case Phase::Cleaning:
        return {10, 0};
    case Phase::Receiving:
        return {12, 0};
    case Phase::WaitConfirm:
        return {12, 1};
    case Phase::Working:
        return {12, 18};
    case Phase::Paused:
        return {13, 0};
    }
    return {};
}

std::vector<uint8_t> SimMachine::Ack() const
{
    const SimStatus s = CurrentStatus();
    return {0x03, s.type, s.value};
}

void SimMachine::Advance()
{
    const int64_t now = clock_.NowMs();
    const int64_t dt = std::max<int64_t>(0, now - lastTick_);
    lastTick_ = now;

    if (phase_ == Phase::Ready && jog_ != 0) {
        const double speedX = options_.jogMmPerSecond * params_.advanced.xPulsesPerMm / 1000.0;
        const double speedY = options_.jogMmPerSecond * params_.advanced.yPulsesPerMm / 1000.0;
        const double limitX = params_.advanced.xProtectLength * params_.advanced.xPulsesPerMm;
        const double limitY = params_.advanced.yProtectLengthPrint * params_.advanced.yPulsesPerMm;
        if (jog_ == 1)
            headY_ = std::min(limitY, headY_ + speedY * static_cast<double>(dt));
        else if (jog_ == 2)
            headY_ = std::max(0.0, headY_ - speedY * static_cast<double>(dt));
        else if (jog_ == 3)
            headX_ = std::max(0.0, headX_ - speedX * static_cast<double>(dt));
        else if (jog_ == 4)
            headX_ = std::min(limitX, headX_ + speedX * static_cast<double>(dt));
    }
    if (phase_ == Phase::PowerOn && now >= phaseEnd_) {
        phase_ = Phase::SeekOrigin;
        phaseEnd_ += options_.seekMs;
    }
    if (phase_ == Phase::SeekOrigin && now >= phaseEnd_) {
        headX_ = headY_ = 0;
        phase_ = Phase::Ready;
    }
    if (phase_ == Phase::Cleaning && now >= phaseEnd_)
        phase_ = Phase::Ready;
    if (phase_ == Phase::WaitConfirm && confirmAt_ >= 0 && now >= confirmAt_) {
        phase_ = Phase::Working;
        workFrom_ = confirmAt_;
    }
    if (phase_ == Phase::Working) {
        const uint16_t total = job_->SegmentCount();
        const int64_t worked = workedMs_ + (now - workFrom_);
        const int64_t done = options_.segmentMs > 0 ? worked / options_.segmentMs : total;
        progress_ = static_cast<uint16_t>(std::min<int64_t>(total, done));
        if (progress_ >= total)
            EndJob(false);
    }
}

void SimMachine::Tick()
{
    const std::lock_guard lock(mutex_);
    Advance();
}

void SimMachine::Confirm()
{
    const std::lock_guard lock(mutex_);
    Advance();
    if (phase_ == Phase::WaitConfirm)
        confirmAt_ = clock_.NowMs();
    Advance();
}

std::optional<std::vector<uint8_t>> SimMachine::ReadReply(uint8_t code) const
{
    switch (code) {
    case 32: {
        std::vector<uint8_t> out(4);
        StoreLE(out.data(), options_.firmware);
        return out;
    }
    case 33:
        return std::vector<uint8_t>(advancedWire_.begin(), advancedWire_.end());
    case 34:
        return std::vector<uint8_t>(settingsWire_.begin(), settingsWire_.end());
    case 35:
        return Le32Pair(static_cast<int32_t>(headX_), static_cast<int32_t>(headY_));
    case 36:
        return Le32Pair(start_.x, start_.y);
    case 40: {
        const SimStatus s = CurrentStatus();
        std::vector<uint8_t> out(4);
        StoreLE(out.data(), progress_);
        out[2] = s.type;
        out[3] = s.value;
        return out;
    }
    default:
        return std::nullopt;
    }
}

void SimMachine::SaveParams()
{
    params_.advanced.Decode(advancedWire_);
    params_.settings.Decode(settingsWire_);
    if (options_.paramFile.empty())
        return;
    if (!WriteFileAtomically(options_.paramFile, MachineParamsFile{advancedWire_, settingsWire_}.Serialize()) && log_)
        log_("cannot write the parameter file " + options_.paramFile);
}

void SimMachine::StartJob(uint8_t code, std::span<const uint8_t> payload)
{
    if (phase_ != Phase::Ready)
        return;
    job_ = std::make_shared<SimJob>(++jobNumber_, code, payload);
    phase_ = Phase::Receiving;
    progress_ = 0;
    jog_ = 0;
}

void SimMachine::EndJob(bool cancelled)
{
    auto report = std::shared_ptr<JobReport>(job_, &job_->Report());
    report->cancelled = cancelled;
    if (!options_.outputDir.empty() && !WriteJobOutput(options_.outputDir, *report, params_) && log_)
        log_("cannot write the output of job " + std::to_string(report->number));
    if (log_)
        log_("job " + std::to_string(report->number) + (cancelled ? " cancelled" : " done") +
             (report->Ok() ? "" : ", " + std::to_string(report->errors.size()) + " errors: " + report->errors.front()));
    jobs_.push_back(std::move(report));
    job_.reset();
    if (jobs_.size() > kKeptJobs)
        jobs_.erase(jobs_.begin());
    phase_ = Phase::Ready;
}

void SimMachine::Apply(uint8_t code, std::span<const uint8_t> payload)
{
    const bool inJob = job_ != nullptr;
    switch (code) {
    case 0:
        jog_ = 0;
        break;
    case 1:
    case 2:
    case 3:
    case 4:
        if (phase_ == Phase::Ready)
            jog_ = code;
        break;
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
        switches_[static_cast<std::size_t>((code - 5) / 2)] = code % 2 == 1;
        break;
    case 11:
        if (phase_ == Phase::Ready)
            start_ = {static_cast<int32_t>(headX_), static_cast<int32_t>(headY_)};
        break;
    case 12:
        if (phase_ == Phase::Ready) {
            jog_ = 0;
            phase_ = Phase::SeekOrigin;
            phaseEnd_ = clock_.NowMs() + options_.seekMs;
        }
        break;
    case 13:
        if (phase_ == Phase::Ready) {
            jog_ = 0;
            phase_ = Phase::Cleaning;
            phaseEnd_ = clock_.NowMs() + options_.cleanMs;
        }
        break;
    case 16:
        if (phase_ == Phase::Paused) {
            phase_ = Phase::Working;
            workFrom_ = clock_.NowMs();
        }
        break;
    case 17:
        if (inJob)
            EndJob(true);
        break;
    case 18:
        if (phase_ == Phase::Working) {
            workedMs_ += clock_.NowMs() - workFrom_;
            phase_ = Phase::Paused;
        }
        break;
    case 50:
        if (payload.size() == advancedWire_.size()) {
            std::copy(payload.begin(), payload.end(), advancedWire_.begin());
            SaveParams();
        }
        break;
    case 51:
        if (payload.size() == settingsWire_.size()) {
            std::copy(payload.begin(), payload.end(), settingsWire_.begin());
            SaveParams();
        }
        break;
    case 52:
    case 53:
        StartJob(code, payload);
        break;
    case 54:
        if (phase_ == Phase::Receiving)
            job_->AddSegment(payload);
        break;
    case 55:
        if (phase_ == Phase::Receiving) {
            job_->Finish(payload, params_);
            workedMs_ = 0;
            workFrom_ = clock_.NowMs();
            if (job_->Report().startCode == 52) {
                phase_ = Phase::WaitConfirm;
                confirmAt_ = options_.confirmAfterMs >= 0 ? workFrom_ + options_.confirmAfterMs : -1;
            } else {
                phase_ = Phase::Working;
            }
        }
        break;
    default:
        break;
    }
}

SimReply SimMachine::Fault(int target, std::vector<uint8_t> reply)
{
    const auto fault = faults_.Strike(target);
    if (!fault)
        return {std::move(reply), false};
    switch (fault->kind) {
    case FaultKind::NoAck:
        return {};
    case FaultKind::ShortReply:
        if (!reply.empty())
            reply.pop_back();
        return {std::move(reply), false};
    case FaultKind::BadFirstByte:
        if (!reply.empty())
            reply[0] = 0x02;
        return {std::move(reply), false};
    case FaultKind::Status:
        // A progress reply carries the status in its last two bytes; anything else is acknowledged with it.
        if (target == kReadProgressCode && reply.size() == 4) {
            reply[2] = fault->status;
            reply[3] = 0;
            return {std::move(reply), false};
        }
        return {{0x03, fault->status, 0}, false};
    case FaultKind::Close:
        return {{}, true};
    }
    return {std::move(reply), false};
}

void SimMachine::Record(SimExchange::Kind kind, std::span<const uint8_t> host, const SimReply& reply)
{
    const int64_t now = clock_.NowMs();
    if (log_) {
        log_(kind == SimExchange::Kind::Frame ? "-> " + Hex(host)
                                              : "-> bulk " + std::to_string(host.size()) + " bytes");
        if (reply.close)
            log_("<- (connection closed)");
        else if (!reply.bytes.empty())
            log_("<- " + Hex(reply.bytes));
        else if (kind != SimExchange::Kind::Bulk)
            log_("<- (no answer)");
    }
    if (options_.recordTranscript)
        transcript_.push_back({now, kind, std::vector<uint8_t>(host.begin(), host.end()), reply.bytes});
}

SimReply SimMachine::HandleFrame(std::span<const uint8_t> frame)
{
    const std::lock_guard lock(mutex_);
    Advance();
    if (frame.size() < 2 || frame[0] != frame.size()) {
        const SimReply none;
        Record(SimExchange::Kind::Frame, frame, none);
        return none;
    }
    const uint8_t code = frame[1];
    const auto payload = frame.subspan(2);
    std::optional<std::vector<uint8_t>> reply;
    if (frame.size() == 3 && frame[2] == 0)
        reply = ReadReply(code);
    if (!reply) {
        Apply(code, payload);
        reply = Ack();
    }
    SimReply out = Fault(code, std::move(*reply));
    Record(SimExchange::Kind::Frame, frame, out);
    return out;
}

SimReply SimMachine::HandleBulkChunk(std::span<const uint8_t> chunk)
{
    const std::lock_guard lock(mutex_);
    Advance();
    if (phase_ == Phase::Receiving)
        job_->AddBulk(chunk, true);
    SimReply out = Fault(SimFault::kBulkTarget, Ack());
    Record(SimExchange::Kind::BulkChunk, chunk, out);
    return out;
}

BulkOutcome SimMachine::HandleBulk(std::span<const uint8_t> data)
{
    const std::lock_guard lock(mutex_);
    Advance();
    BulkOutcome outcome = BulkOutcome::Taken;
    if (const auto fault = faults_.Strike(SimFault::kBulkTarget)) {
        if (fault->kind == FaultKind::NoAck)
            outcome = BulkOutcome::TimedOut;
        else if (fault->kind == FaultKind::ShortReply)
            outcome = BulkOutcome::Short;
        else if (fault->kind == FaultKind::Close)
            outcome = BulkOutcome::Vanished;
    }
    if (phase_ == Phase::Receiving && outcome == BulkOutcome::Taken)
        job_->AddBulk(data, false);
    Record(SimExchange::Kind::Bulk, data, SimReply{});
    return outcome;
}

bool SimMachine::ExpectsJobData() const
{
    const std::lock_guard lock(mutex_);
    return phase_ == Phase::Receiving;
}

SimStatus SimMachine::Status() const
{
    const std::lock_guard lock(mutex_);
    return CurrentStatus();
}

SimPoint SimMachine::HeadPosition() const
{
    const std::lock_guard lock(mutex_);
    return {static_cast<int32_t>(headX_), static_cast<int32_t>(headY_)};
}

SimPoint SimMachine::StartPoint() const
{
    const std::lock_guard lock(mutex_);
    return start_;
}

uint16_t SimMachine::Progress() const
{
    const std::lock_guard lock(mutex_);
    return progress_;
}

std::array<bool, 3> SimMachine::Switches() const
{
    const std::lock_guard lock(mutex_);
    return switches_;
}

MachineParams SimMachine::Params() const
{
    const std::lock_guard lock(mutex_);
    return params_;
}

std::vector<SimExchange> SimMachine::Transcript() const
{
    const std::lock_guard lock(mutex_);
    return transcript_;
}

void SimMachine::ClearTranscript()
{
    const std::lock_guard lock(mutex_);
    transcript_.clear();
}

std::vector<std::shared_ptr<const JobReport>> SimMachine::Jobs() const
{
    const std::lock_guard lock(mutex_);
    return jobs_;
}

} // namespace qv::sim
