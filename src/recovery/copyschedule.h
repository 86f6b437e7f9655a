#pragma once

#include <QtGlobal>

#include <optional>

// When the next recovery copy is due: `quiet` after the last change, and no later than
// `longest` after the first change not yet copied, so that a teacher who never pauses still
// has a copy at most that old. Times are milliseconds on any steady clock.
class CopySchedule
{
public:
    static constexpr qint64 defaultQuietMs = 5000;
    static constexpr qint64 defaultLongestMs = 30000;

    explicit CopySchedule(qint64 quietMs = defaultQuietMs, qint64 longestMs = defaultLongestMs);

    void changed(qint64 now);
    // Every change before the copy that just completed is in it.
    void copied();
    bool pending() const { return m_firstChange.has_value(); }
    // Empty while nothing waits to be copied.
    std::optional<qint64> due() const;

    qint64 quietMs() const { return m_quietMs; }
    qint64 longestMs() const { return m_longestMs; }

private:
    qint64 m_quietMs;
    qint64 m_longestMs;
    std::optional<qint64> m_firstChange;
    qint64 m_lastChange = 0;
};
