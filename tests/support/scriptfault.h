#pragma once

#include <QString>

// Reports a fault in a test's script (a question nobody queued an answer for, answers left
// over, an answer that does not fit the question). Inside a test function it fails that
// function, and QEXPECT_FAIL applies; outside one it is logged as critical.
void reportScriptFault(const QString &message);
