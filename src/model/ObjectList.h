#pragma once

#include "model/Archive.h"

#include <memory>
#include <vector>

namespace qv {

// An object list of the archive: the count, then for each element its object reference and its own record.
// T names its class (T::kArchiveClass), the fewest bytes an element with its reference takes
// (T::kMinArchiveBytes) and reads and writes its record with Serialize.

template <typename T>
void WriteObjectList(ArchiveWriter& ar, const std::vector<std::unique_ptr<T>>& items)
{
    ar.WriteCount(static_cast<uint32_t>(items.size()));
    for (const auto& item : items) {
        ar.WriteObjectReference(T::kArchiveClass);
        item->Serialize(ar);
    }
}

// Reads a whole list or throws; nothing is handed out half-read.
template <typename T>
std::vector<std::unique_ptr<T>> ReadObjectList(ArchiveReader& ar)
{
    const uint32_t n = ar.ReadCount(T::kMinArchiveBytes);
    std::vector<std::unique_ptr<T>> items;
    items.reserve(n);
    for (uint32_t i = 0; i < n; ++i) {
        ar.ReadObjectReference(T::kArchiveClass);
        auto item = std::make_unique<T>();
        item->Serialize(ar);
        items.push_back(std::move(item));
    }
    return items;
}

} // namespace qv
