// Job data over the Ethernet channel to the virtual machine on loopback: 400-byte chunks, each acknowledged,
// with the 10 microsecond pause between them. Shows what the chunked stream costs per megabyte before any
// network is involved.
#include "SimClock.h"
#include "SimMachine.h"
#include "SimTcpServer.h"

#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "app/Notifier.h"
#include "link/CMyEth.h"
#include "link/JobRecords.h"

#include <benchmark/benchmark.h>

namespace {

void BM_EthernetBulk(benchmark::State& st)
{
    qv::sim::ManualClock clock;
    qv::sim::SimOptions options;
    options.initMs = 0;
    options.seekMs = 0;
    qv::sim::SimMachine machine(clock, options);
    qv::sim::SimTcpServer server(machine, {127, 0, 0, 1}, 0);
    std::string error;
    if (!server.Start(error)) {
        st.SkipWithError(error.c_str());
        return;
    }
    qv::CSettings settings;
    qv::MachineParams params;
    params.settings.machineIp = {127, 0, 0, 1};
    qv::LinkState link;
    qv::RecordingNotifier notifier;
    qv::CMyEth eth(link, params, settings, notifier);
    eth.SetPort(server.Port());
    link.jobThreadExists = true;

    const std::vector<uint8_t> data(static_cast<std::size_t>(st.range(0)), 0x5A);
    for (auto _ : st) {
        if (eth.WriteCmd(53, qv::JobStartRecord{0, 0, 1}.Encode()) != 0 ||
            eth.SendBulk(data) != static_cast<int>(data.size()) || eth.SendCmd(17) != 0) {
            st.SkipWithError("transfer failed");
            return;
        }
    }
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * st.range(0));
}
BENCHMARK(BM_EthernetBulk)->Arg(400 * 1024)->Arg(7340032 - 1)->Unit(benchmark::kMillisecond);

} // namespace
