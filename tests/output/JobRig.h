#pragma once

#include "support/MachineRig.h"

#include "app/UiBridge.h"
#include "model/COnePage.h"
#include "output/JobBuffers.h"
#include "output/JobThread.h"
#include "output/KnifeList.h"
#include "output/RasterEngine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace qv::test {

// A job thread wired to a MachineRig's link and virtual machine. In virtual time its pauses move the
// machine's manual clock instead of sleeping, so a job runs as fast as its exchanges go and the machine's pace
// is exact; in real time the job thread sleeps its own way and the machine runs on the steady clock. The
// frame's WM_JOB_FINISHED handler runs on the job thread: it records the result and releases the job.
class JobRig {
public:
    using PauseHook = std::function<void(std::size_t n, std::chrono::milliseconds span)>;

    explicit JobRig(bool viaNet, sim::SimOptions options = MachineRig::Defaults(), bool virtualTime = true)
        : rig(viaNet, options, !virtualTime),
          jobs({jobPage, knives, *buffers, *raster, rig.settings, rig.params, rig.settings, rig.state, rig.protocol,
                rig.queue, rig.notifier, frame, [this] { return onlyPageInList.load(); }},
               virtualTime ? JobThread::Sleeper([this](std::chrono::milliseconds span) { Pause(span); })
                           : JobThread::Sleeper(),
               virtualTime ? JobThread::Clock([this] { return rig.clock.NowMs(); }) : JobThread::Clock())
    {
        // As after the settings are read: the first automatic page starts at once.
        rig.settings.DeriveNeedPanelConfirm();
    }

    // Starts the page's job and waits for its end: the job's wParam, or empty when the job could not start or
    // no report came within a generous bound.
    std::optional<intptr_t> Output(const COnePage& page)
    {
        if (jobs.PrepareJob(page) != 0)
            return std::nullopt;
        return WaitForResult(std::chrono::minutes(2));
    }

    std::optional<intptr_t> WaitForResult(std::chrono::milliseconds bound)
    {
        std::unique_lock lock(mutex);
        if (!finished.wait_for(lock, bound, [this] { return result.has_value(); }))
            return std::nullopt;
        const intptr_t r = *result;
        result.reset();
        return r;
    }

    // Every pause the job thread made so far, in order.
    std::vector<std::chrono::milliseconds> Pauses() const
    {
        const std::lock_guard lock(mutex);
        return pauses;
    }

    // The payloads of the frames of one command code the machine received, in order.
    std::vector<std::vector<uint8_t>> Payloads(uint8_t code) const
    {
        std::vector<std::vector<uint8_t>> out;
        for (const auto& f : rig.HostFrames()) {
            if (f.size() >= 2 && f[1] == code)
                out.emplace_back(f.begin() + 2, f.end());
        }
        return out;
    }

    // The command codes of the frames the machine received, in order.
    std::vector<int> Codes() const
    {
        std::vector<int> out;
        for (const auto& f : rig.HostFrames())
            out.push_back(f.size() >= 2 ? f[1] : -1);
        return out;
    }

    class Frame : public UiBridge {
    public:
        explicit Frame(JobRig& owner) : owner_(owner) {}
        void SendToFrame(FrameMessage message, intptr_t wParam, intptr_t lParam) override
        {
            EXPECT_EQ(message, FrameMessage::WM_JOB_FINISHED);
            EXPECT_EQ(lParam, 0);
            EXPECT_TRUE(owner_.rig.state.jobThreadExists) << "a job is reported while it exists";
            owner_.jobs.ReleaseJob();
            const std::lock_guard lock(owner_.mutex);
            EXPECT_FALSE(owner_.result) << "one report per job";
            owner_.result = wParam;
            owner_.finished.notify_all();
        }

    private:
        JobRig& owner_;
    };

    MachineRig rig;
    COnePage jobPage;
    KnifeList knives;
    std::unique_ptr<JobBuffers> buffers = std::make_unique<JobBuffers>();
    std::unique_ptr<CRasterEngine> raster = std::make_unique<CRasterEngine>();
    std::atomic<bool> onlyPageInList{false};
    // Runs on the job thread at every pause, after the clock moved; n counts the pauses from 1.
    PauseHook onPause;
    mutable std::mutex mutex;
    std::condition_variable finished;
    std::optional<intptr_t> result;
    std::vector<std::chrono::milliseconds> pauses;
    Frame frame{*this};
    JobThread jobs;

private:
    void Pause(std::chrono::milliseconds span)
    {
        rig.clock.Advance(span.count());
        std::size_t n = 0;
        {
            const std::lock_guard lock(mutex);
            pauses.push_back(span);
            n = pauses.size();
        }
        if (onPause)
            onPause(n, span);
    }
};

} // namespace qv::test
