// Every fault the virtual machine can commit, in every phase of the link's life, against the whole output
// centre: no thread waits beyond its bound, a job the machine did not finish is never Done, the job's end
// follows the rules (its message, the cancel 17 where the machine holds part of a job, the page and every
// Auto page back to Manual), the link monitor reconnects by itself once the machine behaves, and the next job
// succeeds. The matrix is printed as a table.
#include "support/MachineRig.h"
#include "workflow/WorkflowFixtures.h"

#include "link/CommandCodes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qv {
namespace {

using namespace std::chrono_literals;
using test::CentreFixture;
using test::Eventually;
using test::MachineRig;

constexpr int kBulk = -2;

// A phase of the link and the command codes (kBulk: the job data) a fault strikes in it.
struct Phase {
    const char* name;
    std::vector<int> codes;
    bool job; // the phase belongs to a job
};

const Phase kPhases[] = {
    {"handshake", {32, 33, 34}, false},
    {"polling", {58, 35}, false},
    {"manual", {cmd::kJogUp, cmd::kSaveSettings}, false},
    {"job start", {36, 53}, true},
    {"bulk", {kBulk}, true},
    {"segments", {54}, true},
    {"header", {55}, true},
    {"progress", {40}, true},
};

// A fault as a rule of the virtual machine, with % standing for the phase's command code.
struct Fault {
    const char* name;
    const char* rule;
    bool viaNet;                     // the Ethernet link (a bulk stream of acknowledged chunks) instead of USB
    std::vector<const char*> phases; // empty: every phase
};

const Fault kFaults[] = {
    {"no acknowledgement x3", "no-ack@%x3", false, {}},
    {"short reply x3", "short-reply@%x3", false, {}},
    {"wrong first byte x3", "bad-first-byte@%x3", false, {}},
    {"never answering", "no-ack@%", false, {}},
    {"USB device vanishes", "close@%x1", false, {}},
    {"connection closed", "close@%x1", true, {}},
    {"status 4 in the bulk stream", "status4@bulk+1x1", true, {"bulk"}},
    {"segment refused x2", "short-reply@54x2", false, {"segments"}},
    {"segment refused x10", "short-reply@54x10", false, {"segments"}},
    {"machine error (15)", "status15@40+1x1", false, {"progress"}},
    {"lost steps (17)", "status17@40+1x1", false, {"progress"}},
    {"machine restarted (0)", "status0@40+1x1", false, {"progress"}},
    {"incompatible firmware", "", false, {"handshake"}},
};

std::string Rule(const char* rule, int code)
{
    std::string r(rule);
    const auto at = r.find('%');
    if (at != std::string::npos)
        r.replace(at, 1, code == kBulk ? "bulk" : std::to_string(code));
    return r;
}

bool Applies(const Fault& fault, const Phase& phase)
{
    if (fault.phases.empty())
        return std::string(fault.rule).find('%') != std::string::npos;
    for (const char* p : fault.phases) {
        if (std::string(p) == phase.name)
            return true;
    }
    return false;
}

// A page with plot and cut work, inside the machine's area from its start point.
std::unique_ptr<COnePage> WorkPage(const std::string& name)
{
    auto page = test::MakePage(name, PageState::Auto);
    CCurve& plot = page->AddCurve();
    plot.kind = CurveKind::Plot;
    plot.AddPoint(400, 400);
    plot.AddPoint(4000, 2400);
    return page;
}

struct Cell {
    std::string outcome; // for the table
    bool ok = true;
};

class Campaign {
public:
    Campaign(const Fault& fault, const Phase& phase) : fault_(fault), phase_(phase), rig_(fault.viaNet, Options(), true)
    {
        if (std::string(fault.name) == "incompatible firmware")
            rig_.machine.SetFirmware(kCompatibleFirmware - 0x100);
        else if (std::string(phase.name) == "handshake")
            Arm();
        f_ = std::make_unique<CentreFixture>(std::vector<std::string>{"AutoDelFinish=0"}, &rig_.backend);
        if (fault.viaNet) {
            f_->OnOwner([&] {
                f_->centre->SetConnection(true);
                f_->centre->SetMachineAddress(rig_.address, rig_.server.Port());
            });
        }
    }

    Cell Run()
    {
        f_->Start();
        if (std::string(phase_.name) == "handshake") {
            // The handshake fails as long as the fault lasts and the link stays down meanwhile.
            std::this_thread::sleep_for(1000ms);
            Heal();
            Expect(Ready(), "reconnected");
            Expect(NextJobDone(), "then a job");
            return Finish(Connected() ? "up again" : "");
        }
        Expect(Ready(), "connected before the fault");
        if (!phase_.job) {
            Arm();
            if (std::string(phase_.name) == "manual") {
                f_->OnOwner([&] {
                    f_->centre->QueueCommand(cmd::kJogUp);
                    f_->centre->QueueCommand(cmd::kStopJog);
                    f_->centre->QueueCommand(cmd::kSaveSettings);
                });
            }
            std::this_thread::sleep_for(1000ms);
            Heal();
            Expect(Ready(), "reconnected");
            Expect(NextJobDone(), "then a job");
            return Finish("up again");
        }

        Arm();
        f_->OnOwner([&] {
            f_->c->doc.pages.push_back(WorkPage("a.plt"));
            f_->c->doc.pages.push_back(WorkPage("b.plt"));
        });
        // The longest wait of a job is the 30 s a silent progress loop is given.
        const auto from = std::chrono::steady_clock::now();
        const bool ended = Eventually(
            [&] {
                const auto states = f_->States();
                return !f_->c->link.jobThreadExists && !states.empty() && states[0] != PageState::Auto &&
                       states[0] != PageState::Printing;
            },
            45s);
        Expect(ended, "the job ended within its bound");
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
        const auto states = f_->States();
        const bool done = states.size() == 2 && states[0] == PageState::Done;
        const auto jobs = rig_.machine.Jobs();
        // Done only for a job the machine finished whole.
        if (done)
            Expect(!jobs.empty() && jobs.front()->Ok() && !jobs.front()->cancelled, "Done only when finished");
        else
            Expect(states == (std::vector<int32_t>{PageState::Manual, PageState::Manual}),
                   "a failure takes the page and every Auto page back to Manual");
        const bool cancelled = SentCancel();
        const bool partOfAJob =
            phase_.codes.front() == kBulk || phase_.codes.front() == 54 || phase_.codes.front() == 55;
        if (!done && partOfAJob && std::string(fault_.rule).rfind("close", 0) != 0)
            Expect(cancelled, "17 cancels what the machine received");
        Heal();
        Expect(Ready(), "reconnected");
        Expect(NextJobDone(), "then the next job");
        char text[64];
        std::snprintf(text, sizeof text, "%s%s %.1fs", done ? "done" : "failed", cancelled ? "+17" : "", seconds);
        return Finish(text);
    }

private:
    static sim::SimOptions Options()
    {
        sim::SimOptions o = MachineRig::Defaults();
        o.recordTranscript = true;
        o.segmentMs = 20;
        o.confirmAfterMs = 0;
        return o;
    }

    void Arm()
    {
        if (!*fault_.rule)
            return;
        for (const int code : phase_.codes)
            rig_.Fault(Rule(fault_.rule, code));
    }

    void Heal()
    {
        rig_.machine.ClearFaults();
        rig_.machine.SetFirmware(kCompatibleFirmware);
        rig_.device.SetPlugged(true);
    }

    bool Connected() const { return f_->c->link.Connected; }
    bool Ready()
    {
        return Eventually([&] { return Connected() && f_->c->link.status.load().type == kStatusReady; }, 15s);
    }

    bool SentCancel() const
    {
        for (const sim::SimExchange& e : rig_.machine.Transcript()) {
            if (e.kind == sim::SimExchange::Kind::Frame && e.host.size() >= 2 && e.host[1] == cmd::kCancelJob)
                return true;
        }
        return false;
    }

    // Every page Auto again (a new one when the list is empty), all of them Done.
    bool NextJobDone()
    {
        f_->OnOwner([&] {
            if (f_->c->doc.pages.empty())
                f_->c->doc.pages.push_back(WorkPage("next.plt"));
            std::vector<std::ptrdiff_t> rows;
            for (std::size_t i = 0; i < f_->c->doc.pages.size(); ++i)
                rows.push_back(static_cast<std::ptrdiff_t>(i));
            f_->centre->SetStateOfRows(rows, PageState::Auto);
        });
        return Eventually(
            [&] {
                for (const int32_t s : f_->States()) {
                    if (s != PageState::Done)
                        return false;
                }
                return true;
            },
            30s);
    }

    void Expect(bool holds, const char* what)
    {
        if (holds)
            return;
        ADD_FAILURE() << fault_.name << " in " << phase_.name << ": " << what;
        failures_ += std::string(failures_.empty() ? "" : ", ") + what;
    }

    Cell Finish(const std::string& outcome)
    {
        const auto bound = std::chrono::steady_clock::now() + 10s;
        f_->Close();
        Expect(std::chrono::steady_clock::now() < bound, "closing within its bound");
        return failures_.empty() ? Cell{outcome, true} : Cell{"FAIL: " + failures_, false};
    }

    const Fault& fault_;
    const Phase& phase_;
    MachineRig rig_;
    std::unique_ptr<CentreFixture> f_;
    std::string failures_;
};

// The cells are independent (each its own virtual machine on an address of its own and its own centre) and
// mostly wait on the machine's pace, so they run side by side.
TEST(FaultCampaign, EveryFaultInEveryPhase)
{
    std::vector<std::pair<const Fault*, const Phase*>> work;
    for (const Fault& fault : kFaults) {
        for (const Phase& phase : kPhases) {
            if (Applies(fault, phase))
                work.emplace_back(&fault, &phase);
        }
    }
    std::mutex mutex;
    std::map<std::pair<std::string, std::string>, Cell> cells;
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < 6; ++w) {
        workers.emplace_back([&] {
            for (std::size_t i; (i = next++) < work.size();) {
                const auto [fault, phase] = work[i];
                SCOPED_TRACE(std::string(fault->name) + " in " + phase->name);
                Campaign campaign(*fault, *phase);
                const Cell cell = campaign.Run();
                const std::lock_guard lock(mutex);
                cells[{fault->name, phase->name}] = cell;
            }
        });
    }
    for (std::thread& t : workers)
        t.join();

    int passed = 0;
    for (const auto& [key, cell] : cells)
        passed += cell.ok ? 1 : 0;
    std::printf("\nfault x phase -> outcome (%d of %zu cells as required)\n", passed, work.size());
    std::printf("%-28s", "");
    for (const Phase& phase : kPhases)
        std::printf(" | %-16s", phase.name);
    std::printf("\n");
    for (const Fault& fault : kFaults) {
        std::printf("%-28s", fault.name);
        for (const Phase& phase : kPhases) {
            const auto it = cells.find({fault.name, phase.name});
            std::printf(" | %-16s", it == cells.end() ? "-" : it->second.outcome.c_str());
        }
        std::printf("\n");
    }
    EXPECT_EQ(static_cast<std::size_t>(passed), work.size());
}

} // namespace
} // namespace qv
