#include "JobOutput.h"

#include <gtest/gtest.h>

namespace qv::sim {
namespace {

TEST(JobOutput, PreviewIsUprightWithSquarePixels)
{
    // Two raster rows of 16 pulses at 104.25 pulses per mm are 1.81 pixels of 1/300 inch each.
    PrintedImage printed;
    printed.Reserve(4, 2);
    printed.Set(0, 0); // the first row printed, nearest the Y origin
    MachineParams machine;
    const PrintedImage preview = UprightPreview(printed, machine);
    ASSERT_EQ(preview.Width(), 4);
    ASSERT_EQ(preview.Height(), 4);
    EXPECT_FALSE(preview.Get(0, 0));
    EXPECT_FALSE(preview.Get(0, 1));
    EXPECT_TRUE(preview.Get(0, 2)) << "the Y origin is at the bottom";
    EXPECT_TRUE(preview.Get(0, 3));
    EXPECT_EQ(preview.InkPixels(), 2);
}

TEST(JobOutput, KnifePathsAreMirroredIntoTheSameBox)
{
    JobReport job;
    job.knife = {{.x = 0, .y = 0, .code = 'M'}, {.x = 1043, .y = 2085, .code = 'F'}}; // (0,0) to (10,20) mm
    MachineParams machine;
    machine.advanced.xPulsesPerMm = 104.3;
    machine.advanced.yPulsesPerMm = 104.25;
    const std::string svg = KnifeSvg(job, machine);
    EXPECT_NE(svg.find("viewBox=\"-5.000 -5.000 20.000 30.000\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("<g transform=\"matrix(1 0 0 -1 0 20.000)\">"), std::string::npos) << svg;
    EXPECT_NE(svg.find("d=\"M0.000 0.000 L10.000 20.000\""), std::string::npos) << svg;
}

} // namespace
} // namespace qv::sim
