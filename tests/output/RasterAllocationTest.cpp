// Building a band allocates nothing: every buffer belongs to the engine from its construction on. The test
// counts the allocations of the whole test program around the calls.
#include "output/RasterEngine.h"

#include "RasterTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<int64_t> allocations{0};
}

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
// The nothrow forms too (std::stable_sort's temporary buffer uses them): every form must pair with the deletes
// below, or the sanitizer sees memory from its own allocator freed by ours.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
    return operator new(size, tag);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace qv {
namespace {

TEST(RasterAllocation, BuildingBandsAllocatesNothing)
{
    COnePage page;
    test::AddCurve(page, {{0, 0}, {test::PageX(900), test::PageY(300)}, {test::PageX(20), test::PageY(290)}}, 1);
    test::AddCurve(page, {{test::PageX(5), test::PageY(7)}, {test::PageX(880), test::PageY(9)}});
    test::MeasurePlotExtent(page);
    for (const uint8_t cartridge : {0, 1}) {
        MachineParams params;
        params.settings.cartridgeType = CartridgeFromByte(cartridge);
        params.settings.plotLineWidth = 3;
        CRasterEngine engine;
        const RasterPlan plan = CRasterEngine::Prepare(page, params);
        ASSERT_GT(plan.bands, 1);
        const int64_t before = allocations;
        std::size_t bytes = 0;
        for (int32_t b = 0; b < plan.bands; ++b)
            bytes += engine.BuildBand(page, params, plan, b).size();
        const int64_t made = allocations - before;
        EXPECT_EQ(made, 0) << "cartridge " << int{cartridge};
        EXPECT_GT(bytes, 0u);
    }
}

} // namespace
} // namespace qv
