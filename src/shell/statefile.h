#pragma once

#include <QString>

// "TEMPO.SPC" in the application's directory: its record 5 says whether the main window is open
// ("OUI") or not ("NON"), for the simulators that read it. Only record 5 is ever written; the
// file is created when missing. A failure (read-only folder) is not the user's concern: callers
// ignore the result, which tests read.
class StateFile
{
public:
    static constexpr int openRecord = 5;

    explicit StateFile(const QString &applicationDirectory);

    QString path() const { return m_path; }
    bool markOpen() const;
    bool markClosed() const;

private:
    QString m_path;
};
