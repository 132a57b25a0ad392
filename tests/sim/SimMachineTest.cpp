#include "SimMachine.h"
#include "SimJob.h"

#include "support/Bytes.h"
#include "support/TempDir.h"

#include "app/AtomicFile.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qv::sim {
namespace {

using test::Bytes;

std::vector<uint8_t> Send(SimMachine& m, int code)
{
    return m.HandleFrame(Bytes{2, code}.vec()).bytes;
}

std::vector<uint8_t> Write(SimMachine& m, int code, const std::vector<uint8_t>& payload)
{
    return m.HandleFrame(Bytes{static_cast<int>(payload.size() + 2), code}.Append(payload).vec()).bytes;
}

std::vector<uint8_t> Read(SimMachine& m, int code)
{
    return m.HandleFrame(Bytes{3, code, 0}.vec()).bytes;
}

SimOptions Quick()
{
    SimOptions o;
    o.initMs = 0;
    o.seekMs = 0;
    o.segmentMs = 100;
    return o;
}

// An "HP45" band of R = 0 rows, one head, with only pixel 21 of row 0 inked (bit 1 of byte 7).
const Bytes kBand = Bytes{0, 0, 3, 0, 0x00, 0x02, 0, 0, 18, 0, 0, 0}.U16(29 * 22);
// Knife data: move to (1000, 2000), full cut to (1042, 2000).
const Bytes kKnife = Bytes{}.I32(1000).I32(2000).Add({0, 0, 'M', 0}).I32(1042).I32(2000).Add({160, 0, 'F', 0});

// Brings a machine with one head in use to the point where the job's data has been sent over USB.
void SendJob(SimMachine& m, int startCode, const Bytes& bulk, const std::vector<Bytes>& segments, const Bytes& header)
{
    MachineSettings one;
    one.headsInUse = 1;
    const auto wire = one.Encode();
    ASSERT_EQ(Write(m, 51, {wire.begin(), wire.end()}), (Bytes{3, 4, 0}).vec());
    ASSERT_EQ(Write(m, startCode, Bytes{}.I32(5000).I32(0).U16(static_cast<uint16_t>(segments.size()))),
              (Bytes{3, 12, 0}).vec());
    m.HandleBulk(bulk.vec());
    for (const Bytes& s : segments)
        ASSERT_EQ(Write(m, 54, s), (Bytes{3, 12, 0}).vec());
    Write(m, 55, header);
}

Bytes FullBulk()
{
    return Bytes{}.Append(kBand).Append(kKnife);
}

std::vector<Bytes> FullTable()
{
    return {Bytes{0, 0}.Add({14, 0, 0, 0, 'P'}), Bytes{1, 0}.Add({24, 0, 0, 0, 'C'})};
}

TEST(SimMachine, PowerOnSeeksTheOriginThenIsReady)
{
    ManualClock clock;
    SimOptions o;
    o.initMs = 100;
    o.seekMs = 200;
    SimMachine m(clock, o);
    EXPECT_EQ(Send(m, 58), (Bytes{3, 0, 0}).vec());
    clock.Advance(100);
    EXPECT_EQ(Send(m, 58), (Bytes{3, 1, 0}).vec());
    clock.Advance(199);
    EXPECT_EQ(Send(m, 58), (Bytes{3, 1, 0}).vec());
    clock.Advance(1);
    EXPECT_EQ(Send(m, 58), (Bytes{3, 4, 0}).vec());
    EXPECT_EQ(Read(m, 32), (Bytes{0x00, 0x19, 0xAA, 0x00}).vec());
}

TEST(SimMachine, HeadJogsWhileHeldAndGoesHomeOnOrigin)
{
    ManualClock clock;
    SimOptions o = Quick();
    o.seekMs = 50;
    SimMachine m(clock, o);
    clock.Advance(50);
    Send(m, 4); // right, 20 mm/s
    clock.Advance(500);
    Send(m, 1); // up
    clock.Advance(250);
    Send(m, 0);
    clock.Advance(1000);
    EXPECT_EQ(m.HeadPosition(), (SimPoint{1042, 521}));
    EXPECT_EQ(Read(m, 35), Bytes{}.I32(1042).I32(521).vec());
    Send(m, 11);
    EXPECT_EQ(Read(m, 36), Bytes{}.I32(1042).I32(521).vec());

    Send(m, 3); // left, past the origin
    clock.Advance(100000);
    Send(m, 0);
    EXPECT_EQ(m.HeadPosition().x, 0);

    EXPECT_EQ(Send(m, 12), (Bytes{3, 1, 0}).vec());
    EXPECT_EQ(Send(m, 13), (Bytes{3, 1, 0}).vec()) << "not ready: cleaning refused";
    clock.Advance(50);
    m.Tick();
    EXPECT_EQ(m.Status(), (SimStatus{4, 0}));
    EXPECT_EQ(m.HeadPosition(), (SimPoint{0, 0}));
    EXPECT_EQ(m.StartPoint(), (SimPoint{1042, 521}));
}

TEST(SimMachine, CleaningAndSwitches)
{
    ManualClock clock;
    SimOptions o = Quick();
    o.cleanMs = 1500;
    SimMachine m(clock, o);
    EXPECT_EQ(Send(m, 13), (Bytes{3, 10, 0}).vec());
    clock.Advance(1500);
    EXPECT_EQ(Send(m, 58), (Bytes{3, 4, 0}).vec());
    Send(m, 5);
    Send(m, 7);
    Send(m, 9);
    EXPECT_EQ(m.Switches(), (std::array<bool, 3>{true, true, true}));
    Send(m, 6);
    Send(m, 10);
    EXPECT_EQ(m.Switches(), (std::array<bool, 3>{false, true, false}));
}

TEST(SimMachine, RunsAJobSegmentBySegmentWithPause)
{
    ManualClock clock;
    SimMachine m(clock, Quick());
    SendJob(m, 53, FullBulk(), FullTable(), Bytes{0, 0, 2, 0, 2, 0});
    EXPECT_EQ(Read(m, 40), (Bytes{0, 0, 12, 18}).vec());
    clock.Advance(100);
    EXPECT_EQ(Read(m, 40), (Bytes{1, 0, 12, 18}).vec());
    EXPECT_EQ(Send(m, 18), (Bytes{3, 13, 0}).vec());
    clock.Advance(5000);
    EXPECT_EQ(Read(m, 40), (Bytes{1, 0, 13, 0}).vec());
    EXPECT_EQ(Send(m, 16), (Bytes{3, 12, 18}).vec());
    clock.Advance(100);
    EXPECT_EQ(Read(m, 40), (Bytes{2, 0, 4, 0}).vec());

    const auto jobs = m.Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    const JobReport& job = *jobs[0];
    EXPECT_TRUE(job.Ok()) << job.errors[0];
    EXPECT_FALSE(job.cancelled);
    EXPECT_EQ(job.xReference, 5000);
    EXPECT_EQ(job.bands.size(), 1u);
    EXPECT_EQ(job.bands[0].rows, 30);
    EXPECT_TRUE(job.image.Get(21, 0));
    EXPECT_EQ(job.image.InkPixels(), 1);
    ASSERT_EQ(job.knife.size(), 2u);
    EXPECT_EQ(job.knife[1].code, 'F');
}

TEST(SimMachine, JobStartedWith52WaitsForTheConfirmKey)
{
    ManualClock clock;
    SimMachine m(clock, Quick());
    SendJob(m, 52, FullBulk(), FullTable(), Bytes{0, 0, 2, 0, 2, 0});
    clock.Advance(10000);
    EXPECT_EQ(Read(m, 40), (Bytes{0, 0, 12, 1}).vec());
    m.Confirm();
    clock.Advance(200);
    EXPECT_EQ(Read(m, 40), (Bytes{2, 0, 4, 0}).vec());
}

TEST(SimMachine, ConfirmAfterADelay)
{
    ManualClock clock;
    SimOptions o = Quick();
    o.confirmAfterMs = 1000;
    SimMachine m(clock, o);
    SendJob(m, 52, FullBulk(), FullTable(), Bytes{0, 0, 2, 0, 2, 0});
    clock.Advance(999);
    EXPECT_EQ(Read(m, 40), (Bytes{0, 0, 12, 1}).vec());
    clock.Advance(101);
    EXPECT_EQ(Read(m, 40), (Bytes{1, 0, 12, 18}).vec());
}

TEST(SimMachine, CancelEndsTheJob)
{
    ManualClock clock;
    SimMachine m(clock, Quick());
    SendJob(m, 53, FullBulk(), FullTable(), Bytes{0, 0, 2, 0, 2, 0});
    EXPECT_EQ(Send(m, 17), (Bytes{3, 4, 0}).vec());
    ASSERT_EQ(m.Jobs().size(), 1u);
    EXPECT_TRUE(m.Jobs()[0]->cancelled);
}

TEST(SimMachine, EmptyJobIsDoneAtOnce)
{
    ManualClock clock;
    SimMachine m(clock, Quick());
    SendJob(m, 53, Bytes{}, {}, Bytes{0, 0, 0, 0, 0, 0});
    EXPECT_EQ(Read(m, 40), (Bytes{0, 0, 4, 0}).vec());
    ASSERT_EQ(m.Jobs().size(), 1u);
    EXPECT_TRUE(m.Jobs()[0]->Ok());
}

TEST(SimMachine, JobChecks)
{
    struct Row {
        const char* name;
        Bytes bulk;
        std::vector<Bytes> table;
        Bytes header;
        const char* error;
    };
    const Row rows[] = {
        {"lengths do not add up", Bytes{}.Append(kBand).Append(kKnife).Add({0}), FullTable(), Bytes{0, 0, 2, 0, 2, 0},
         "bulk data has 39"},
        {"knife count differs", FullBulk(), FullTable(), Bytes{0, 0, 2, 0, 3, 0}, "header announces 3 records"},
        {"segment count differs", FullBulk(), FullTable(), Bytes{0, 0, 3, 0, 2, 0}, "header counts 3 segments"},
        {"segment missing", FullBulk(), {FullTable()[1]}, Bytes{0, 0, 2, 0, 2, 0}, "segment 0 missing"},
        {"band with a row short", Bytes{0, 0, 3, 0, 0x00, 0x02, 0, 0, 18, 0, 0, 0}.U16(28 * 22).Append(kKnife),
         FullTable(), Bytes{0, 0, 2, 0, 2, 0}, "expected 30 rows"},
    };
    for (const Row& row : rows) {
        ManualClock clock;
        SimMachine m(clock, Quick());
        SendJob(m, 53, row.bulk, row.table, row.header);
        clock.Advance(1000);
        Send(m, 58);
        ASSERT_EQ(m.Jobs().size(), 1u) << row.name;
        const JobReport& job = *m.Jobs()[0];
        const bool found = std::any_of(job.errors.begin(), job.errors.end(),
                                       [&](const std::string& e) { return e.find(row.error) != std::string::npos; });
        EXPECT_TRUE(found) << row.name << ": " << (job.errors.empty() ? "no errors" : job.errors[0]);
    }
}

TEST(SimMachine, WritesWhatItProduced)
{
    test::TempDir dir;
    ManualClock clock;
    SimOptions o = Quick();
    o.outputDir = dir.Path();
    SimMachine m(clock, o);
    SendJob(m, 53, FullBulk(), FullTable(), Bytes{0, 0, 2, 0, 2, 0});
    clock.Advance(200);
    Send(m, 58);
    std::string summary, png, svg;
    ASSERT_TRUE(ReadWholeFile(dir.File("job-0001/summary.json"), summary));
    ASSERT_TRUE(ReadWholeFile(dir.File("job-0001/print.png"), png));
    ASSERT_TRUE(ReadWholeFile(dir.File("job-0001/cut.svg"), svg));
    EXPECT_NE(summary.find("\"ok\": true"), std::string::npos) << summary;
    EXPECT_NE(summary.find("\"segments\": [{\"index\": 0, \"length\": 14, \"kind\": \"P\"}, "
                           "{\"index\": 1, \"length\": 24, \"kind\": \"C\"}]"),
              std::string::npos)
        << summary;
    EXPECT_NE(summary.find("\"knife\": {\"records\": 2, \"moves\": 1, \"fullCuts\": 1, \"halfCuts\": 0}"),
              std::string::npos)
        << summary;
    EXPECT_EQ(png.substr(1, 3), "PNG");
    // 1000 and 1042 pulses at 104.25 pulses per mm.
    EXPECT_NE(svg.find("<path class=\"F\" fill=\"none\" stroke=\"#d00000\" stroke-width=\"0.3\" "
                       "d=\"M9.592 19.185 L9.995 19.185\"/>"),
              std::string::npos)
        << svg;
}

TEST(SimMachine, ParameterRecordsPersistInItsFile)
{
    test::TempDir dir;
    ManualClock clock;
    SimOptions o = Quick();
    o.paramFile = dir.File("params.bin");
    {
        SimMachine m(clock, o);
        AdvancedParams a;
        a.curveSpeed = 33;
        auto wire = a.Encode();
        wire[39] = 0x77;
        Write(m, 50, {wire.begin(), wire.end()});
        EXPECT_EQ(m.Params().advanced.curveSpeed, 33);
    }
    SimMachine again(clock, o);
    const auto record = Read(again, 33);
    ASSERT_EQ(record.size(), 40u);
    EXPECT_EQ(record[30], 33);
    EXPECT_EQ(record[39], 0x77);
    EXPECT_EQ(Read(again, 34).size(), 60u);
}

TEST(SimMachine, ReportsItsAddressInTheSettings)
{
    ManualClock clock;
    SimMachine m(clock, Quick());
    m.SetAddress({127, 0, 3, 4});
    const auto record = Read(m, 34);
    EXPECT_EQ(std::vector<uint8_t>(record.begin(), record.begin() + 4), (Bytes{127, 0, 3, 4}).vec());
}

TEST(SimJob, KnifeCountBeyondSixteenBitsTravelsAsItsLowBits)
{
    // 65537 records: the segment length carries the whole count, the header's 16-bit field its low bits.
    constexpr uint32_t records = 65537;
    Bytes knife = Bytes{}.I32(0).I32(0).Add({0, 0, 'M', 0});
    for (uint32_t i = 1; i < records; ++i)
        knife.I32(static_cast<int32_t>(i)).I32(0).Add({160, 0, 'F', 0});
    for (const auto& [headerCount, ok] : {std::pair{1, true}, {3, false}}) {
        SimJob job(1, 53, Bytes{}.I32(0).I32(0).U16(1).vec());
        job.AddBulk(knife.vec(), false);
        job.AddSegment(Bytes{}.U16(0).I32(static_cast<int32_t>(12 * records)).Add({'C'}).vec());
        job.Finish(Bytes{0, 0, 1, 0}.U16(static_cast<uint16_t>(headerCount)).vec(), MachineParams{});
        EXPECT_EQ(job.Report().Ok(), ok) << headerCount;
        if (ok) {
            EXPECT_EQ(job.Report().knife.size(), records);
        }
    }
}

} // namespace
} // namespace qv::sim
