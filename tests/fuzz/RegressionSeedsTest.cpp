#include "FuzzEntries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qv::fuzz {
namespace {

// Every seed and every input a fuzzer once found (crashing, slow or too hungry) goes through the entry
// function of its target in the normal build; the sanitized build runs them under the sanitizers too.
void FeedFolder(const std::string& target, void (*entry)(std::span<const uint8_t>))
{
    std::size_t fed = 0;
    for (const char* kind : {"corpus", "regressions"}) {
        const std::filesystem::path folder = std::filesystem::path(QV_FUZZ_DIR) / kind / target;
        if (!std::filesystem::is_directory(folder))
            continue;
        std::vector<std::filesystem::path> files;
        for (const auto& entryOf : std::filesystem::directory_iterator(folder))
            files.push_back(entryOf.path());
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            SCOPED_TRACE(file.string());
            entry(bytes);
            ++fed;
        }
    }
    EXPECT_GT(fed, 0u) << "no seeds for " << target;
}

TEST(FuzzSeeds, Hpgl)
{
    FeedFolder("hpgl", Hpgl);
}

TEST(FuzzSeeds, TaskFile)
{
    FeedFolder("task_file", TaskFile);
}

TEST(FuzzSeeds, StrokeFont)
{
    FeedFolder("stroke_font", StrokeFont);
}

TEST(FuzzSeeds, Settings)
{
    FeedFolder("settings", Settings);
}

TEST(FuzzSeeds, MachineReplies)
{
    FeedFolder("machine_replies", MachineReplies);
}

} // namespace
} // namespace qv::fuzz
