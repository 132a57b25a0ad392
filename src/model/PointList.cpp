#include "model/PointList.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace qv {

PointList& PointList::operator=(const PointList& other)
{
    if (this != &other)
        assign(other.begin(), other.end());
    return *this;
}

PointList& PointList::operator=(PointList&& other) noexcept
{
    if (this != &other) {
        Release();
        TakeFrom(other);
    }
    return *this;
}

PointList& PointList::operator=(std::initializer_list<CPoint> points)
{
    assign(points.begin(), points.end());
    return *this;
}

PointList& PointList::operator=(std::span<const CPoint> points)
{
    assign(points.begin(), points.end());
    return *this;
}

void PointList::push_back(CPoint p)
{
    // `p` is a copy, so a point of this very list survives the move to a larger block.
    *OpenGap(size_, 1) = p;
}

PointList::iterator PointList::insert(const_iterator at, CPoint p)
{
    CPoint* gap = OpenGap(IndexOf(at), 1);
    *gap = p;
    return gap;
}

PointList::iterator PointList::erase(const_iterator first, const_iterator last)
{
    const std::size_t from = IndexOf(first);
    const std::size_t to = IndexOf(last);
    CPoint* points = data();
    std::memmove(points + from, points + to, (size_ - to) * sizeof(CPoint));
    size_ -= static_cast<uint32_t>(to - from);
    return points + from;
}

void PointList::reserve(std::size_t n)
{
    if (n <= capacity())
        return;
    Reallocate(Checked(n));
}

void PointList::resize(std::size_t n)
{
    if (n > size_) {
        const std::size_t added = n - size_;
        std::uninitialized_value_construct_n(OpenGap(size_, added), added);
    }
    size_ = static_cast<uint32_t>(n);
}

bool PointList::Equal(std::span<const CPoint> a, std::span<const CPoint> b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

std::size_t PointList::Checked(std::size_t count)
{
    if (count > kMaxSize)
        throw std::length_error("a curve of more than 2^31 - 1 points");
    return count;
}

void PointList::Reallocate(std::size_t capacity, std::size_t at, std::size_t gap)
{
    CPoint* block = std::allocator<CPoint>().allocate(capacity);
    const CPoint* old = data();
    std::memcpy(block, old, at * sizeof(CPoint));
    std::memcpy(block + at + gap, old + at, (size_ - at) * sizeof(CPoint));
    Release();
    Heap heap{};
    std::memcpy(heap.address, &block, sizeof block);
    heap.capacity = static_cast<uint32_t>(capacity);
    std::construct_at(&heap_, heap);
    onHeap_ = 1;
}

void PointList::Release()
{
    if (onHeap_)
        std::allocator<CPoint>().deallocate(HeapPoints(), heap_.capacity);
}

void PointList::TakeFrom(PointList& other)
{
    if (other.onHeap_) {
        std::construct_at(&heap_, other.heap_);
        onHeap_ = 1;
        std::construct_at(&other.inline_);
        other.onHeap_ = 0;
    } else {
        std::construct_at(&inline_, other.inline_);
        onHeap_ = 0;
    }
    size_ = other.size_;
    other.size_ = 0;
}

CPoint* PointList::OpenGap(std::size_t at, std::size_t n)
{
    const std::size_t needed = size_ + n;
    if (needed > capacity()) {
        Reallocate(std::max(Checked(needed), std::min(2 * capacity(), kMaxSize)), at, n);
    } else {
        CPoint* points = data();
        std::memmove(points + at + n, points + at, (size_ - at) * sizeof(CPoint));
    }
    size_ = static_cast<uint32_t>(needed);
    return data() + at;
}

} // namespace qv
