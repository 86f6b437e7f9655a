#pragma once

#include <optional>
#include <utility>

// The value of an attribute read over a selection. When the characters or paragraphs of the
// selection differ the value is mixed: it holds nothing, and every comparison with it is false,
// "!=" included, so "if (bold != true)" does not run for a mixed selection. Callers that must
// tell the cases apart ask isMixed() first.
template <typename T> class Mixed
{
public:
    Mixed() = default;
    Mixed(T value) : m_value(std::move(value)) {}
    static Mixed mixed() { return {}; }

    bool isMixed() const { return !m_value.has_value(); }
    bool hasValue() const { return m_value.has_value(); }
    const T &value() const { return *m_value; }
    T valueOr(T fallback) const { return m_value.value_or(std::move(fallback)); }
    const std::optional<T> &optional() const { return m_value; }

    friend bool operator==(const Mixed &a, const T &b) { return a.m_value && *a.m_value == b; }
    friend bool operator!=(const Mixed &a, const T &b) { return a.m_value && !(*a.m_value == b); }
    friend bool operator<(const Mixed &a, const T &b) { return a.m_value && *a.m_value < b; }
    friend bool operator>(const Mixed &a, const T &b) { return a.m_value && b < *a.m_value; }
    friend bool operator<=(const Mixed &a, const T &b) { return a.m_value && !(b < *a.m_value); }
    friend bool operator>=(const Mixed &a, const T &b) { return a.m_value && !(*a.m_value < b); }
    // Two mixed values are not equal either: a mixed value equals nothing.
    friend bool operator==(const Mixed &a, const Mixed &b)
    {
        return a.m_value && b.m_value && *a.m_value == *b.m_value;
    }
    friend bool operator!=(const Mixed &a, const Mixed &b)
    {
        return a.m_value && b.m_value && !(*a.m_value == *b.m_value);
    }

private:
    std::optional<T> m_value;
};
