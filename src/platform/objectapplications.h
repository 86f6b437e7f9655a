#pragma once

#include <QString>

#include <functional>

// The applications that edit objects: a file opens in the application the desktop associates
// with it, and the editor hears when the file changes and when that application has ended.
// This is what stands for object embedding on a desktop that has none.
class ObjectApplications
{
public:
    virtual ~ObjectApplications() = default;
    // Starts the desktop's application for `path`. While it runs, `changed` follows each change
    // of the file; `closed` runs once, after it has ended. False when it could not start: then
    // neither ever runs.
    virtual bool open(const QString &path, std::function<void()> changed, std::function<void()> closed) = 0;
    // The running flag: the application started for `path` has not ended yet.
    virtual bool isRunning(const QString &path) const = 0;
};
