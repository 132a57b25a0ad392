// quorvane-sim: the virtual machine as a process, on TCP.
//
//   quorvane-sim [--address A.B.C.D] [--port N] [--params FILE] [--out DIR] [--pace MS] [--init-ms MS]
//                [--seek-ms MS] [--clean-ms MS] [--confirm-after MS] [--firmware HEX] [--fault RULE]... [--log]
//
// Prints "listening on ADDRESS:PORT" once it serves (port 0 picks a free one). Lines on standard input
// work its panel: "confirm" presses the confirm key, "status" prints the status, "quit" ends it, as do
// SIGINT and SIGTERM.
#include "SimClock.h"
#include "SimFaults.h"
#include "SimMachine.h"
#include "SimTcpServer.h"

#include "app/BuildInfo.h"

#include <arpa/inet.h>
#include <signal.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>

namespace {

using namespace qv::sim;

constexpr const char* kUsage =
    "usage: quorvane-sim [--address A.B.C.D] [--port N] [--params FILE] [--out DIR] [--pace MS]\n"
    "                    [--init-ms MS] [--seek-ms MS] [--clean-ms MS] [--confirm-after MS]\n"
    "                    [--firmware HEX] [--fault KIND[@CODE|@bulk][+SKIP][xCOUNT]]... [--log]\n"
    "       quorvane-sim --help | --version\n"
    "\n"
    "The print-and-cut machine in software, on TCP: it answers the link as the machine does and writes what\n"
    "it printed and cut to DIR/job-NNNN/ (print.png, cut.svg, summary.json). Prints \"listening on\n"
    "ADDRESS:PORT\" once it serves. Lines on standard input work its panel: \"confirm\" presses the confirm\n"
    "key, \"status\" prints the status, \"quit\" ends it, as do SIGINT and SIGTERM.\n"
    "  --address A.B.C.D   the address to listen on (default 127.0.0.1)\n"
    "  --port N            the port (default 5169; 0 takes a free one)\n"
    "  --params FILE       its parameter records, 40 + 60 bytes (default: the start-up values, in memory)\n"
    "  --out DIR           where the jobs go\n"
    "  --pace MS           working time per segment\n"
    "  --init-ms MS        power-on time\n"
    "  --seek-ms MS        time to find its origin\n"
    "  --clean-ms MS       head-cleaning time\n"
    "  --confirm-after MS  a job waiting for the confirm key is confirmed after this delay\n"
    "  --firmware HEX      another firmware version\n"
    "  --fault RULE        misbehave: KIND no-ack, short-reply, bad-first-byte, statusN, close or silent, on\n"
    "                      one command code or the bulk chunks, after SKIP events, COUNT times; repeatable\n"
    "  --log               one line per exchange, -> from the host, <- the answer\n";

int Usage(const char* problem)
{
    std::fprintf(stderr, "quorvane-sim: %s\n", problem);
    std::fputs(kUsage, stderr);
    return 2;
}

std::optional<int64_t> Number(const std::string& s, int base = 10)
{
    int64_t v = 0;
    const char* begin = s.data();
    if (base == 16 && s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        begin += 2;
    const auto [end, ec] = std::from_chars(begin, s.data() + s.size(), v, base);
    if (ec != std::errc() || end != s.data() + s.size() || v < 0)
        return std::nullopt;
    return v;
}

} // namespace

int main(int argc, char** argv)
{
    SimOptions options;
    std::string address = "127.0.0.1";
    int64_t port = 5169;
    bool log = false;
    std::vector<SimFault> faults;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("quorvane-sim %s (%s)\n", qv::kVersion, qv::kReleaseDate);
            return 0;
        }
        if (arg == "--log") {
            log = true;
            continue;
        }
        static const std::set<std::string> kValueOptions = {"--address",  "--port",    "--params",       "--out",
                                                            "--pace",     "--init-ms", "--seek-ms",      "--clean-ms",
                                                            "--firmware", "--fault",   "--confirm-after"};
        if (!kValueOptions.contains(arg))
            return Usage(("unknown option " + arg).c_str());
        if (i + 1 >= argc)
            return Usage(("option " + arg + " needs a value").c_str());
        const std::string value = argv[++i];
        std::optional<int64_t> n;
        if (arg == "--address") {
            address = value;
        } else if (arg == "--params") {
            options.paramFile = value;
        } else if (arg == "--out") {
            options.outputDir = value;
        } else if (arg == "--fault") {
            const auto f = SimFault::Parse(value);
            if (!f)
                return Usage(("bad fault " + value).c_str());
            faults.push_back(*f);
        } else if (arg == "--firmware") {
            if (!(n = Number(value, 16)) || *n > 0xFFFFFFFF)
                return Usage("bad firmware version");
            options.firmware = static_cast<uint32_t>(*n);
        } else if (!(n = Number(value))) {
            return Usage(("bad number for " + arg).c_str());
        } else if (arg == "--port") {
            if (*n > 65535)
                return Usage("bad port");
            port = *n;
        } else if (arg == "--pace") {
            options.segmentMs = *n;
        } else if (arg == "--init-ms") {
            options.initMs = *n;
        } else if (arg == "--seek-ms") {
            options.seekMs = *n;
        } else if (arg == "--clean-ms") {
            options.cleanMs = *n;
        } else if (arg == "--confirm-after") {
            options.confirmAfterMs = *n;
        } else {
            return Usage(("unknown option " + arg).c_str());
        }
    }
    std::array<uint8_t, 4> ip{};
    if (::inet_pton(AF_INET, address.c_str(), ip.data()) != 1)
        return Usage("bad address");
    // Every job would be lost without a word: the folder is made, and must be writable, before serving.
    if (!options.outputDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(options.outputDir, ec);
        if (ec || ::access(options.outputDir.c_str(), W_OK | X_OK) != 0) {
            std::fprintf(stderr, "quorvane-sim: cannot write jobs to %s\n", options.outputDir.c_str());
            return 1;
        }
    }

    // The signals end the process through sigwait below, whatever thread they hit.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    SteadyClock clock;
    const int64_t started = clock.NowMs();
    SimMachine machine(clock, options);
    if (ip != std::array<uint8_t, 4>{})
        machine.SetAddress(ip);
    for (const SimFault& f : faults)
        machine.AddFault(f);
    static std::mutex outMutex;
    if (log) {
        machine.SetLog([&](const std::string& line) {
            const std::lock_guard lock(outMutex);
            std::printf("[%9.3f] %s\n", static_cast<double>(clock.NowMs() - started) / 1000.0, line.c_str());
            std::fflush(stdout);
        });
    }
    SimTcpServer server(machine, ip, static_cast<uint16_t>(port));
    std::string error;
    if (!server.Start(error)) {
        std::fprintf(stderr, "quorvane-sim: %s\n", error.c_str());
        return 1;
    }
    {
        const std::lock_guard lock(outMutex);
        std::printf("listening on %s:%u\n", address.c_str(), server.Port());
        std::fflush(stdout);
    }

    std::thread panel([&machine] {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (line == "confirm") {
                machine.Confirm();
            } else if (line == "status") {
                const SimStatus s = machine.Status();
                const SimPoint head = machine.HeadPosition();
                const std::lock_guard lock(outMutex);
                std::printf("status %u/%u head %d,%d progress %u\n", s.type, s.value, head.x, head.y,
                            machine.Progress());
                std::fflush(stdout);
            } else if (line == "quit") {
                ::kill(::getpid(), SIGTERM);
                return;
            }
        }
    });
    panel.detach();

    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
    return 0;
}
