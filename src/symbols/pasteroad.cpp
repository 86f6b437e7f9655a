#include "pasteroad.h"

#include "platform/keystrokes.h"
#include "richtext/richtextcontrol.h"

std::function<void()> shiftInsertPaste(RichTextControl &exo, Keystrokes &keys)
{
    return [&exo, &keys] {
        exo.setFocus();
        keys.send(exo.widget(), QStringLiteral("+{INSERT}"));
        exo.refresh();
        exo.setFocus();
    };
}
