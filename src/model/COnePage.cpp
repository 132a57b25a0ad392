#include "model/COnePage.h"

#include "app/InvalidArgument.h"
#include "model/Archive.h"
#include "model/ObjectList.h"

#include <ctime>

namespace qv {

namespace {

// A page that was being output is stored and restored as waiting for the operator.
int32_t StorableState(int32_t state)
{
    return state < PageState::Manual || state >= PageState::Printing ? PageState::Manual : state;
}

} // namespace

COnePage::COnePage() : fileTime(static_cast<int64_t>(std::time(nullptr))) {}

void COnePage::CopyFrom(const COnePage& other)
{
    fileName = other.fileName;
    maxX = other.maxX;
    minX = other.minX;
    maxY = other.maxY;
    minY = other.minY;
    optimized = other.optimized;
    curves.reserve(curves.size() + other.curves.size());
    for (const auto& curve : other.curves)
        AddCurve().CopyFrom(*curve);
}

void COnePage::ClearCurves()
{
    // First to last, as the list order promises.
    for (auto& curve : curves)
        curve.reset();
    curves.clear();
}

CCurve& COnePage::AddCurve(std::unique_ptr<CCurve> curve)
{
    curves.push_back(std::move(curve));
    return *curves.back();
}

void COnePage::InsertCurve(std::size_t index, std::unique_ptr<CCurve> curve)
{
    if (index > curves.size())
        throw InvalidArgument("curve insert position " + std::to_string(index) + " past a page of " +
                              std::to_string(curves.size()) + " curves");
    curves.insert(curves.begin() + static_cast<std::ptrdiff_t>(index), std::move(curve));
}

std::unique_ptr<CCurve> COnePage::TakeCurve(std::size_t index)
{
    GetCurve(index);
    auto curve = std::move(curves[index]);
    curves.erase(curves.begin() + static_cast<std::ptrdiff_t>(index));
    return curve;
}

CCurve& COnePage::GetCurve(std::size_t index)
{
    if (index >= curves.size())
        throw InvalidArgument("curve index " + std::to_string(index) + " outside a page of " +
                              std::to_string(curves.size()) + " curves");
    return *curves[index];
}

const CCurve& COnePage::GetCurve(std::size_t index) const
{
    return const_cast<COnePage*>(this)->GetCurve(index);
}

void COnePage::Serialize(ArchiveWriter& ar)
{
    state = StorableState(state);
    ar.WriteInt32(state);
    ar.WriteInt32(maxX);
    ar.WriteInt32(minX);
    ar.WriteInt32(maxY);
    ar.WriteInt32(minY);
    ar.WriteString(fileName);
    ar.WriteInt32(pageNumber);
    WriteObjectList(ar, curves);
}

void COnePage::Serialize(ArchiveReader& ar)
{
    state = ar.ReadInt32();
    maxX = ar.ReadInt32();
    minX = ar.ReadInt32();
    maxY = ar.ReadInt32();
    minY = ar.ReadInt32();
    fileName = ar.ReadString();
    pageNumber = ar.ReadInt32();
    state = StorableState(state);
    auto read = ReadObjectList<CCurve>(ar);
    ClearCurves();
    curves = std::move(read);
}

} // namespace qv
