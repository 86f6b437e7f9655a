#include "copyschedule.h"

#include <algorithm>

CopySchedule::CopySchedule(qint64 quietMs, qint64 longestMs)
    : m_quietMs(qMax<qint64>(0, quietMs)), m_longestMs(qMax(m_quietMs, longestMs))
{}

void CopySchedule::changed(qint64 now)
{
    if (!m_firstChange)
        m_firstChange = now;
    m_lastChange = qMax(m_lastChange, now);
}

void CopySchedule::copied()
{
    m_firstChange.reset();
}

std::optional<qint64> CopySchedule::due() const
{
    if (!m_firstChange)
        return std::nullopt;
    return std::min(m_lastChange + m_quietMs, *m_firstChange + m_longestMs);
}
