#pragma once

#include "SimClock.h"
#include "SimMachine.h"
#include "SimTcpServer.h"
#include "SimUsbDevice.h"
#include "support/SimUsbBackend.h"

#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/MachineParamsStore.h"
#include "app/Notifier.h"
#include "link/CMyCommu.h"
#include "link/LinkProtocol.h"
#include "link/LinkState.h"
#include "link/ManualCommandQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace qv::test {

// The host's link (settings, records, state, notifier, facade, protocol, queue) wired to one virtual machine
// that answers both on a loopback TCP port and as the in-process USB device; for end-to-end tests of
// anything that talks to the machine (link quorvane_sim). The machine is ready at once.
// With a ManualClock nothing on the machine moves unless the test advances it; `realTime` gives it the
// steady clock, for the tests that watch the link monitor's cadence.
class MachineRig {
public:
    explicit MachineRig(bool viaNet, sim::SimOptions options = Defaults(), bool realTime = false)
        : machine(realTime ? static_cast<const sim::SimClock&>(steady) : clock, options), server(machine, address, 0),
          device(machine), backend(device), commu(settings, params, state, notifier, backend),
          protocol(commu, state, params, settings, notifier)
    {
        std::string error;
        if (!server.Start(error))
            ADD_FAILURE() << "virtual machine does not listen: " << error;
        EditOptions([&](AppOptions& o) { o.ConnectViaNet = viaNet ? 1 : 0; });
        params.SetAddress(address);
        machine.SetAddress(address);
        commu.Eth().SetPort(server.Port());
    }

    static sim::SimOptions Defaults()
    {
        sim::SimOptions o;
        o.initMs = 0;
        o.seekMs = 0;
        o.recordTranscript = true;
        return o;
    }

    // The frames the machine received so far (bulk chunks and transfers left out).
    std::vector<std::vector<uint8_t>> HostFrames() const
    {
        std::vector<std::vector<uint8_t>> frames;
        for (const sim::SimExchange& e : machine.Transcript()) {
            if (e.kind == sim::SimExchange::Kind::Frame)
                frames.push_back(e.host);
        }
        return frames;
    }

    // Changes the host's records as a dialog would.
    void EditParams(const std::function<void(MachineParams&)>& edit)
    {
        MachineParams p = params.Get();
        edit(p);
        params.Set(p);
    }
    // Changes the options as the owner does, with the mirror the link threads read.
    void EditOptions(const std::function<void(AppOptions&)>& edit)
    {
        AppOptions o = settings.Options();
        edit(o);
        settings.SetOptions(o);
    }

    void Fault(const std::string& rule)
    {
        const auto f = sim::SimFault::Parse(rule);
        ASSERT_TRUE(f) << rule;
        machine.AddFault(*f);
    }

    std::array<uint8_t, 4> address = NextAddress();
    sim::ManualClock clock;
    sim::SteadyClock steady;
    sim::SimMachine machine;
    sim::SimTcpServer server;
    sim::SimUsbDevice device;
    SimUsbBackend backend;
    CSettings settings;
    MachineParamsStore params;
    LinkState state;
    RecordingNotifier notifier;
    CMyCommu commu;
    LinkProtocol protocol;
    ManualCommandQueue queue;

private:
    // Addresses in 127.0.0.0/8, a different one for each rig, so rigs never meet each other's machines.
    static std::array<uint8_t, 4> NextAddress()
    {
        static std::atomic<int> next{0};
        const int n = next++;
        return {127, 0, static_cast<uint8_t>(1 + n / 250 % 250), static_cast<uint8_t>(2 + n % 250)};
    }
};

} // namespace qv::test
