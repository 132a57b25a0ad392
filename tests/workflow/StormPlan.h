#pragma once

#include "gen/MarkerGenerator.h"

#include <string>

namespace qv::test {

// The hot-folder storm: file `index` of the storm, how it is written and what it holds. Shared by the writer
// processes and the test that judges the result.
enum class StormWriting {
    Whole,     // written at once and closed
    Slow,      // eight pieces 40 ms apart
    Paused,    // half, then 1.2 s with the file open (longer than two polls), then the rest
    Empty,     // created and closed empty
    Invalid,   // content the reader rejects
    Locked,    // written and closed, then held with an exclusive flock for 1.5 s
    RenamedIn, // written beside the data directory, then renamed into it
};
constexpr int kStormWritings = 7;

inline StormWriting WritingOf(int index)
{
    return static_cast<StormWriting>(index % kStormWritings);
}

inline bool IsValid(StormWriting writing)
{
    return writing != StormWriting::Empty && writing != StormWriting::Invalid;
}

inline std::string StormName(int index)
{
    return "storm-" + std::to_string(index) + ".plt";
}

// Three sizes of square, so a drawing cut short shows as the wrong curves.
inline std::string StormBytes(int index)
{
    switch (WritingOf(index)) {
    case StormWriting::Empty:
        return {};
    case StormWriting::Invalid:
        return index % 2 == 0 ? "IN;DF5;PD100,100;PU0,0;" : "IN;PU";
    default:
        return gen::GenerateTestSquarePlt(10 + 10 * (index / kStormWritings % 3), index % 2 == 0);
    }
}

} // namespace qv::test
