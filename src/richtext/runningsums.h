#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Running sums over a sequence of non-negative values (a Fenwick tree): the sum before an index
// and the index at a given sum in O(log n).
class RunningSums
{
public:
    void assign(const std::vector<std::int64_t> &values);
    void add(std::size_t index, std::int64_t delta);
    // The sum of the first `count` values.
    std::int64_t before(std::size_t count) const;
    // The largest count whose sum is at most `sum` (0 when even the first value is larger).
    std::size_t countUpTo(std::int64_t sum) const;
    std::size_t size() const { return m_tree.size(); }

private:
    std::vector<std::int64_t> m_tree;
};
