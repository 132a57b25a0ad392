#pragma once

#include "app/InvalidArgument.h"
#include "model/COnePage.h"

#include <memory>
#include <string>
#include <vector>

namespace qv {

// Refuses, before anything changes, a page on which a curve the operation reads the ends of has no points.
template <class Reads>
void RequirePoints(const COnePage& page, const char* operation, Reads reads)
{
    for (const auto& curve : page.curves) {
        if (curve->points.empty() && reads(*curve))
            throw InvalidArgument(std::string(operation) + " on a curve without points");
    }
}

inline void RequirePoints(const COnePage& page, const char* operation)
{
    RequirePoints(page, operation, [](const CCurve&) { return true; });
}

// While a join walks a list, curves it absorbs are destroyed in place (left null) so that positions stay
// valid; the holes close when the walk ends, however it ends.
class CloseHolesOnExit {
public:
    explicit CloseHolesOnExit(std::vector<std::unique_ptr<CCurve>>& list) : list_(list) {}
    CloseHolesOnExit(const CloseHolesOnExit&) = delete;
    CloseHolesOnExit& operator=(const CloseHolesOnExit&) = delete;
    ~CloseHolesOnExit() { std::erase(list_, nullptr); }

private:
    std::vector<std::unique_ptr<CCurve>>& list_;
};

} // namespace qv
