#include "Args.h"
#include "Commands.h"
#include "MachineLink.h"
#include "Usage.h"

#include "app/CSetDisp.h"
#include "app/CSettings.h"
#include "app/MachineParams.h"
#include "link/CMyCommu.h"
#include "link/CommandCodes.h"
#include "link/LinkProtocol.h"
#include "link/StatusLine.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iterator>
#include <optional>
#include <thread>

namespace qv::cli {

namespace {

void PrintStatus(const LinkState& state, const MachineParams& params, int32_t language)
{
    const MachineStatus status = state.status;
    const auto line = StatusLineText(state, params, language);
    std::printf("status            %s (type %u, value %u)\n", line ? line->c_str() : "-", status.type, status.value);
}

void PrintRecords(const MachineParams& p, uint32_t firmware)
{
    const AdvancedParams& a = p.advanced;
    const MachineSettings& s = p.settings;
    std::printf("firmware          0x%08X\n", firmware);
    std::printf("AdvancedParams\n");
    std::printf("  pulses per mm           X %.4f  Y %.4f\n", a.xPulsesPerMm, a.yPulsesPerMm);
    std::printf("  protection length mm    X %u  Y print %u  full cut %u  half cut %u\n", a.xProtectLength,
                a.yProtectLengthPrint, a.yProtectLengthFullCut, a.yProtectLengthHalfCut);
    std::printf("  inkjet acceleration mm  %u\n", a.inkjetAccelDistance);
    std::printf("  cut / idle speed        %u / %u\n", a.cutSpeed, a.idleSpeed);
    std::printf("  carriage board version  %u\n", a.boardVersion);
    std::printf("  inkjet interval pulses  %u\n", a.inkjetIntervalPulses);
    std::printf("  cut segment length      %u\n", a.cutSegmentLength);
    std::printf("  curve speed             %u\n", a.curveSpeed);
    std::printf("  nozzle column distance  %u\n", a.nozzleColumnDistance);
    std::printf("  cartridge holder type   %u\n", a.holderType);
    std::printf("MachineSettings\n");
    std::printf("  address                 %u.%u.%u.%u\n", s.machineIp[0], s.machineIp[1], s.machineIp[2],
                s.machineIp[3]);
    std::printf("  one metre (0.1 mm)      X %u  Y %u\n", s.oneMetreX, s.oneMetreY);
    std::printf("  paper cut Y mm          start %u  end %u\n", s.paperCutStartY, s.paperCutEndY);
    std::printf("  head stop mm            X %u  Y %u  mode %u\n", s.headStopX, s.headStopY, s.stopMode);
    std::printf("  full-cut offset 0.1 mm  X %d  Y %d\n", s.fullCutOffsetX, s.fullCutOffsetY);
    std::printf("  half-cut offset 0.1 mm  X %d  Y %d\n", s.halfCutOffsetX, s.halfCutOffsetY);
    std::printf("  full-cut pressure       start %u  work %u\n", s.fullCutStartPressure, s.fullCutWorkPressure);
    std::printf("  half-cut pressure       start %u  work %u\n", s.halfCutStartPressure, s.halfCutWorkPressure);
    std::printf("  head 2 position         %u\n", s.head2Position);
    std::printf("  bidirectional           printing %u  correction %u\n", s.bidirPrinting, s.bidirCorrection);
    std::printf("  head overlap            %u\n", s.headOverlap);
    std::printf("  heads in use            %u\n", s.headsInUse);
    std::printf("  perpendicularity        %u\n", s.perpendicularity);
    std::printf("  cartridge               %s\n", s.cartridgeType == Cartridge::IUT308 ? "IUT308" : "HP45");
    std::printf("  panel language          %u\n", s.panelLanguage);
    std::printf("  Y margin mm             %u\n", s.yMargin);
    std::printf("  plot line width         %u\n", s.plotLineWidth);
    std::printf("  same knife              %u\n", s.sameKnife);
}

constexpr int kMaxJogMs = 10'000;

volatile std::sig_atomic_t jogInterrupted = 0;

extern "C" void OnJogInterrupt(int)
{
    jogInterrupted = 1;
}

// SIGINT and SIGTERM only end the wait while the head moves: the stop is sent whatever ended it, or the head
// would go on to the end of its travel.
class JogInterruptions {
public:
    JogInterruptions()
    {
        jogInterrupted = 0;
        struct sigaction action {};
        action.sa_handler = OnJogInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &oldInt_);
        sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~JogInterruptions()
    {
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
    }
    JogInterruptions(const JogInterruptions&) = delete;
    JogInterruptions& operator=(const JogInterruptions&) = delete;

    // Waits `ms` or until a signal came; true when one came.
    bool Wait(int ms) const
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (jogInterrupted == 0 && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return jogInterrupted != 0;
    }

private:
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

} // namespace

// quorvane-cli machine (--net ADDR[:PORT] | --usb) [--settings DIR] [--lang 0|1] status | jog DIR [--ms N] |
//                      params [--save]
// Handshakes with the machine (or the virtual machine), then shows its status, jogs its head for a moment,
// or shows its parameter records and with --save writes them back.
int RunMachine(const std::vector<std::string>& words)
{
    const Args args(words, {"net", "settings|dir", "lang", "ms"}, {"usb", "save"});
    const auto& pos = args.positional();
    if (!args.error().empty() || pos.empty() || args.Value("net").has_value() == args.Flag("usb"))
        return WrongWords("machine", args.error());

    CSettings settings;
    CSetDisp disp;
    MachineParams params;
    settings.Load(args.Value("settings").value_or(ExecutableDirectory()), disp, params.settings);
    if (const auto lang = args.Value("lang")) {
        const auto n = ParseInt(*lang);
        if (!n)
            return WrongWords("machine", args.error());
        AppOptions options = settings.Options();
        options.Language = *n;
        settings.SetOptions(options);
    }
    MachineLink link(settings, params);
    if (!link.Choose(args))
        return 2;
    LinkState& state = link.state;
    CMyCommu& commu = link.commu;
    LinkProtocol& protocol = link.protocol;

    if (protocol.Handshake() != 0) {
        PrintStatus(state, link.params.Get(), settings.Language);
        return 1;
    }
    state.Connected = true;

    const std::string& what = pos[0];
    if (what == "status" && pos.size() == 1) {
        std::printf("firmware          0x%08X\n", state.firmwareVersion.load());
        protocol.StatusPoll();
        PrintStatus(state, link.params.Get(), settings.Language);
        return state.Connected ? 0 : 1;
    }
    if (what == "jog" && pos.size() == 2) {
        static constexpr std::pair<const char*, uint8_t> kDirections[] = {
            {"up", cmd::kJogUp}, {"down", cmd::kJogDown}, {"left", cmd::kJogLeft}, {"right", cmd::kJogRight}};
        const auto* dir = std::find_if(std::begin(kDirections), std::end(kDirections),
                                       [&](const auto& d) { return pos[1] == d.first; });
        const auto ms = ParseInt(args.Value("ms").value_or("500"));
        if (dir == std::end(kDirections))
            return WrongWords("machine", "a jog goes up, down, left or right, not " + pos[1]);
        if (!ms || *ms < 0 || *ms > kMaxJogMs)
            return WrongWords("machine", "--ms takes 0 to " + std::to_string(kMaxJogMs));
        bool interrupted = false;
        int pressed = 0;
        int released = 0;
        {
            const JogInterruptions interruptions;
            pressed = commu.SendCmd(dir->second);
            std::printf("jogging %s for %d ms\n", dir->first, *ms);
            std::fflush(stdout);
            interrupted = interruptions.Wait(*ms);
            released = commu.SendCmd(cmd::kStopJog);
        }
        if (interrupted)
            std::fprintf(stderr, "jog interrupted; the stop was sent\n");
        protocol.StatusPoll();
        PrintStatus(state, link.params.Get(), settings.Language);
        return pressed == 0 && released == 0 && !interrupted ? 0 : 1;
    }
    if (what == "params" && pos.size() == 1) {
        PrintRecords(link.params.Get(), state.firmwareVersion);
        if (!args.Flag("save"))
            return 0;
        const int advanced = protocol.SaveRecord(cmd::kSaveAdvanced);
        const int machine = protocol.SaveRecord(cmd::kSaveSettings);
        std::printf("saved             %s\n", advanced == 0 && machine == 0 ? "yes" : "no");
        return advanced == 0 && machine == 0 ? 0 : 1;
    }
    return WrongWords("machine", args.error());
}

} // namespace qv::cli
