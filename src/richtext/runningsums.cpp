#include "runningsums.h"

#include <algorithm>

void RunningSums::assign(const std::vector<std::int64_t> &values)
{
    m_tree = values;
    const std::size_t n = m_tree.size();
    for (std::size_t i = 1; i <= n; ++i) {
        const std::size_t parent = i + (i & (~i + 1));
        if (parent <= n)
            m_tree[parent - 1] += m_tree[i - 1];
    }
}

void RunningSums::add(std::size_t index, std::int64_t delta)
{
    for (std::size_t i = index + 1; i <= m_tree.size(); i += i & (~i + 1))
        m_tree[i - 1] += delta;
}

std::int64_t RunningSums::before(std::size_t count) const
{
    std::int64_t sum = 0;
    for (std::size_t i = std::min(count, m_tree.size()); i > 0; i -= i & (~i + 1))
        sum += m_tree[i - 1];
    return sum;
}

std::size_t RunningSums::countUpTo(std::int64_t sum) const
{
    std::size_t count = 0;
    std::size_t step = 1;
    while (step * 2 <= m_tree.size())
        step *= 2;
    for (; step > 0; step /= 2) {
        if (count + step <= m_tree.size() && m_tree[count + step - 1] <= sum) {
            count += step;
            sum -= m_tree[count - 1];
        }
    }
    return count;
}
