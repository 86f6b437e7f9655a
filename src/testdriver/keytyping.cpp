#include "keytyping.h"

#include "platform/keystrokenotation.h"

bool typeKeys(QWidget *target, const QString &keys)
{
    const auto strokes = parseKeystrokes(keys);
    if (!strokes)
        return false;
    deliverKeystrokes(target, *strokes);
    return true;
}
