#pragma once

#include "model/CPoint.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <span>
#include <type_traits>

namespace qv {

// The vertices of one curve: the vector operations the curves use, with up to two points held in place and
// more in a heap block. Two-point curves are the commonest (many a glyph stroke of a label, every piece paging
// cuts off), and they cost no block of their own. Sizes are 31-bit and the block address is kept as bytes, so
// the list keeps the 4-byte alignment of its points and packs with the other members of a curve.
class PointList {
public:
    using value_type = CPoint;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;
    using iterator = CPoint*;
    using const_iterator = const CPoint*;
    using reverse_iterator = std::reverse_iterator<iterator>;
    using const_reverse_iterator = std::reverse_iterator<const_iterator>;

    static constexpr std::size_t kInlineCapacity = 2;

    PointList() = default;
    PointList(std::initializer_list<CPoint> points) { assign(points.begin(), points.end()); }
    template <std::forward_iterator It>
    PointList(It first, It last)
    {
        assign(first, last);
    }
    PointList(const PointList& other) { assign(other.begin(), other.end()); }
    PointList(PointList&& other) noexcept { TakeFrom(other); }
    PointList& operator=(const PointList& other);
    PointList& operator=(PointList&& other) noexcept;
    PointList& operator=(std::initializer_list<CPoint> points);
    PointList& operator=(std::span<const CPoint> points);
    ~PointList() { Release(); }

    iterator begin() { return data(); }
    iterator end() { return data() + size_; }
    const_iterator begin() const { return data(); }
    const_iterator end() const { return data() + size_; }
    reverse_iterator rbegin() { return reverse_iterator(end()); }
    reverse_iterator rend() { return reverse_iterator(begin()); }
    const_reverse_iterator rbegin() const { return const_reverse_iterator(end()); }
    const_reverse_iterator rend() const { return const_reverse_iterator(begin()); }

    CPoint* data() { return onHeap_ ? HeapPoints() : inline_.points; }
    const CPoint* data() const { return onHeap_ ? HeapPoints() : inline_.points; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::size_t capacity() const { return onHeap_ ? heap_.capacity : kInlineCapacity; }

    CPoint& operator[](std::size_t i) { return data()[i]; }
    const CPoint& operator[](std::size_t i) const { return data()[i]; }
    CPoint& front() { return data()[0]; }
    const CPoint& front() const { return data()[0]; }
    CPoint& back() { return data()[size_ - 1]; }
    const CPoint& back() const { return data()[size_ - 1]; }

    void push_back(CPoint p);
    void pop_back() { --size_; }
    iterator insert(const_iterator at, CPoint p);
    template <std::forward_iterator It>
    iterator insert(const_iterator at, It first, It last);
    iterator erase(const_iterator at) { return erase(at, at + 1); }
    iterator erase(const_iterator first, const_iterator last);
    void clear() { size_ = 0; }
    // Capacity exactly `n` when it grows, as the reader reserves what a long stroke needs in one go.
    void reserve(std::size_t n);
    // New points are (0, 0).
    void resize(std::size_t n);
    template <std::forward_iterator It>
    void assign(It first, It last);

    friend bool operator==(const PointList& a, const PointList& b) { return Equal(a, b); }
    friend bool operator==(const PointList& a, std::span<const CPoint> b) { return Equal(a, b); }

private:
    static_assert(std::is_trivially_copyable_v<CPoint>, "points are moved as bytes");
    static constexpr std::size_t kMaxSize = (std::size_t{1} << 31) - 1;

    struct Inline {
        CPoint points[kInlineCapacity];
    };
    struct Heap {
        unsigned char address[sizeof(CPoint*)];
        uint32_t capacity;
    };

    static bool Equal(std::span<const CPoint> a, std::span<const CPoint> b);
    // Inline: every element access goes through it.
    CPoint* HeapPoints() const
    {
        CPoint* points = nullptr;
        std::memcpy(&points, heap_.address, sizeof points);
        return points;
    }
    // `count` itself; throws std::length_error past kMaxSize.
    static std::size_t Checked(std::size_t count);
    // Moves the points into a new block of `capacity` with a gap of `gap` points at `at`.
    void Reallocate(std::size_t capacity, std::size_t at = 0, std::size_t gap = 0);
    void Release();
    void TakeFrom(PointList& other);
    std::size_t IndexOf(const_iterator at) const { return static_cast<std::size_t>(at - data()); }
    // Opens a gap of `n` points at `at`, growing as a vector does when needed, and returns where it begins.
    CPoint* OpenGap(std::size_t at, std::size_t n);

    union {
        Inline inline_{};
        Heap heap_;
    };
    uint32_t size_ : 31 = 0;
    uint32_t onHeap_ : 1 = 0;
};

template <std::forward_iterator It>
PointList::iterator PointList::insert(const_iterator at, It first, It last)
{
    const auto n = static_cast<std::size_t>(std::distance(first, last));
    CPoint* gap = OpenGap(IndexOf(at), n);
    std::uninitialized_copy(first, last, gap);
    return gap;
}

template <std::forward_iterator It>
void PointList::assign(It first, It last)
{
    const auto n = static_cast<std::size_t>(std::distance(first, last));
    clear();
    if (n > capacity())
        reserve(n);
    std::uninitialized_copy(first, last, data());
    size_ = static_cast<uint32_t>(n);
}

} // namespace qv
