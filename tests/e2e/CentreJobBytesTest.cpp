// What quorvane-cli job writes is what the machine receives when the output centre outputs the same page:
// one job pipeline for both.
#include "CliRun.h"

#include "support/MachineRig.h"
#include "workflow/WorkflowFixtures.h"

#include "app/AtomicFile.h"
#include "app/MachineParamsFile.h"
#include "gen/MarkerGenerator.h"
#include "link/CommandCodes.h"
#include "workflow/TestDrawings.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::CentreFixture;
using test::Eventually;
using test::MachineRig;

std::vector<uint8_t> Read(const std::string& path)
{
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
    return {bytes.begin(), bytes.end()};
}

// A machine roomy enough for a whole marker, as its parameter file; the virtual machine and the CLI read it.
std::string RoomyMachineFile()
{
    MachineParams p;
    p.advanced.xProtectLength = 3000;
    p.advanced.yProtectLengthPrint = 3000;
    p.advanced.yProtectLengthFullCut = 3000;
    p.advanced.yProtectLengthHalfCut = 3000;
    return MachineParamsFile{p.advanced.Encode(), p.settings.Encode()}.Serialize();
}

struct Drawing {
    std::string name;
    std::function<void(CentreFixture&)> add; // on the owner thread: the drawing alone in the list
};

TEST(CentreJobBytes, TheCliWritesWhatTheMachineReceived)
{
    test::TempDir files;
    const std::string machineFile = files.File("machine.bin");
    ASSERT_TRUE(WriteFileAtomically(machineFile, RoomyMachineFile()));
    gen::MarkerOptions dense;
    dense.pieces = 16;
    dense.pointsPerPiece = 1500;
    const std::string marker = files.File("marker.plt");
    ASSERT_TRUE(WriteFileAtomically(marker, gen::GenerateMarkerPlt(dense)));

    std::vector<Drawing> drawings;
    for (const TestDrawing& d : TestDrawings())
        drawings.push_back({std::string(d.name), [&d](CentreFixture& f) { f.centre->AddTestDrawing(d.command); }});
    drawings.push_back({"dense marker", [&](CentreFixture& f) {
                            const std::ptrdiff_t first = 0;
                            f.centre->DeleteRows(std::span(&first, 1));
                            f.centre->AddThroughDialog(marker);
                        }});

    sim::SimOptions options = MachineRig::Defaults();
    options.paramFile = machineFile;
    options.segmentMs = 0;
    MachineRig rig(false, options, true);
    CentreFixture f({"AutoStartWork=1", "AutoDelFinish=0"}, &rig.backend);
    f.Start();
    for (std::size_t i = 0; i < drawings.size(); ++i) {
        SCOPED_TRACE(drawings[i].name);
        rig.machine.ClearTranscript();
        f.OnOwner([&] { drawings[i].add(f); });
        ASSERT_TRUE(Eventually([&] { return f.States() == std::vector<int32_t>{PageState::Done}; }))
            << ::testing::PrintToString(f.notifier.Texts());
        const std::string list = files.File("list" + std::to_string(i) + ".ctask");
        f.OnOwner([&] { ASSERT_EQ(f.centre->SaveTaskList(list), TaskFileResult::Ok); });

        const std::string out = files.File("job" + std::to_string(i));
        const test::CliRun run = test::Cli(
            {"job", list, "--page", "1", "--settings", f.exe.Path(), "--machine-params", machineFile, "-o", out});
        ASSERT_EQ(run.status, 0) << run.out;

        std::vector<uint8_t> start, segments, header, data;
        for (const sim::SimExchange& e : rig.machine.Transcript()) {
            const auto append = [&](std::vector<uint8_t>& to) { to.insert(to.end(), e.host.begin(), e.host.end()); };
            if (e.kind == sim::SimExchange::Kind::Bulk)
                append(data);
            else if (e.host.size() >= 2 && (e.host[1] == cmd::kStartJobNow || e.host[1] == cmd::kStartJobConfirm))
                append(start);
            else if (e.host.size() >= 2 && e.host[1] == cmd::kSegment)
                append(segments);
            else if (e.host.size() >= 2 && e.host[1] == cmd::kJobHeader)
                append(header);
        }
        ASSERT_FALSE(data.empty());
        EXPECT_EQ(Read(out + "/start.bin"), start);
        EXPECT_EQ(Read(out + "/segments.bin"), segments);
        EXPECT_EQ(Read(out + "/header.bin"), header);
        EXPECT_TRUE(Read(out + "/data.bin") == data) << "the bulk data, " << data.size() << " bytes";
    }
    f.Close();
    EXPECT_TRUE(f.notifier.Texts().empty());
}

} // namespace
} // namespace qv
