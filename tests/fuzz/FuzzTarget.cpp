// One libFuzzer target: QV_FUZZ_ENTRY names the entry function of FuzzEntries.h it feeds.
#include "FuzzEntries.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    qv::fuzz::QV_FUZZ_ENTRY({data, size});
    return 0;
}
