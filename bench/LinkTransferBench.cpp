// Job data over the Ethernet channel to the virtual machine on loopback: 400-byte chunks, each acknowledged,
// with the 10 microsecond pause between them. Shows what the chunked stream costs per megabyte before any
// network is involved.
#include "SimClock.h"
#include "SimMachine.h"
#include "SimTcpServer.h"

#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/MachineParamsStore.h"
#include "app/Notifier.h"
#include "link/CMyEth.h"
#include "link/CommandCodes.h"
#include "link/JobRecords.h"

#include <benchmark/benchmark.h>

namespace {

// The virtual machine on a loopback port and the Ethernet channel to it, as a job holds it open.
struct LoopbackLink {
    explicit LoopbackLink(const qv::sim::SimOptions& options) : machine(clock, options)
    {
        if (server.Start(error)) {
            params.SetAddress({127, 0, 0, 1});
            eth.SetPort(server.Port());
            link.jobThreadExists = true;
        }
    }

    qv::sim::ManualClock clock;
    qv::sim::SimMachine machine;
    qv::sim::SimTcpServer server{machine, {127, 0, 0, 1}, 0};
    std::string error; // set when the server could not start
    qv::CSettings settings;
    qv::MachineParamsStore params;
    qv::LinkState link;
    qv::RecordingNotifier notifier;
    qv::CMyEth eth{link, params, settings, notifier};
};

void BM_EthernetBulk(benchmark::State& st)
{
    qv::sim::SimOptions options;
    options.initMs = 0;
    options.seekMs = 0;
    LoopbackLink loop(options);
    if (!loop.error.empty()) {
        st.SkipWithError(loop.error.c_str());
        return;
    }
    qv::CMyEth& eth = loop.eth;

    const std::vector<uint8_t> data(static_cast<std::size_t>(st.range(0)), 0x5A);
    for (auto _ : st) {
        if (eth.WriteCmd(53, qv::JobStartRecord{0, 0, 1}.Encode()) != 0 || eth.SendBulk(data) != qv::BulkResult::Sent ||
            eth.SendCmd(17) != 0) {
            st.SkipWithError("transfer failed");
            return;
        }
    }
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * st.range(0));
}
BENCHMARK(BM_EthernetBulk)->Arg(400 * 1024)->Arg(7340032 - 1)->Unit(benchmark::kMillisecond)->UseRealTime();

// One exchange and its acknowledgement on the open connection: the round-trip that every 400-byte chunk of the
// bulk transfer waits for, so 400 bytes per round-trip bounds the transfer whatever the program does.
void BM_StatusRoundTrip(benchmark::State& st)
{
    LoopbackLink loop({});
    if (!loop.error.empty()) {
        st.SkipWithError(loop.error.c_str());
        return;
    }
    qv::CMyEth& eth = loop.eth;
    for (auto _ : st) {
        if (eth.SendCmd(qv::cmd::kStatusPoll) != 0) {
            st.SkipWithError("the status poll failed");
            return;
        }
    }
}
BENCHMARK(BM_StatusRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
