#pragma once

#include "hpgl/HpglInstruction.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace qv {

// The instructions of one drawing, every value in one shared array: a drawing's strokes are tens of
// thousands of short runs, and a block of their own each made allocation the larger part of reading. Only the
// last instruction grows.
class HpglInstructionList {
public:
    // Hands out the instructions in order, each as a value.
    class const_iterator {
    public:
        const_iterator(const HpglInstructionList* list, std::size_t k) : list_(list), k_(k) {}
        HpglInstruction operator*() const { return (*list_)[k_]; }
        const_iterator& operator++()
        {
            ++k_;
            return *this;
        }
        bool operator==(const const_iterator&) const = default;

    private:
        const HpglInstructionList* list_;
        std::size_t k_;
    };

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    HpglInstruction operator[](std::size_t k) const
    {
        const Entry& e = entries_[k];
        return {e.op, std::span<const int32_t>(values_.data() + e.begin, e.size)};
    }
    HpglInstruction back() const { return (*this)[entries_.size() - 1]; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, entries_.size()}; }

    void Add(int32_t op, std::initializer_list<int32_t> values = {})
    {
        entries_.push_back({op, values_.size(), values.size()});
        values_.insert(values_.end(), values.begin(), values.end());
    }
    // Adds a point to the last instruction, an OP_POINTS.
    void AddPointToLast(int32_t x, int32_t y)
    {
        values_.push_back(x);
        values_.push_back(y);
        entries_.back().size += 2;
    }
    // Room for `values` values, so that a large drawing's array grows seldom; untouched room costs no memory.
    void ReserveValues(std::size_t values) { values_.reserve(values); }
    void clear()
    {
        entries_.clear();
        values_.clear();
    }
    // Gives the memory back, once the pages hold the drawing.
    void Release()
    {
        std::vector<Entry>().swap(entries_);
        std::vector<int32_t>().swap(values_);
    }

private:
    struct Entry {
        int32_t op;
        std::size_t begin;
        std::size_t size;
    };
    std::vector<Entry> entries_;
    std::vector<int32_t> values_;
};

} // namespace qv
