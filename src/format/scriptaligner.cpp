#include "scriptaligner.h"

#include "richtext/richtextcontrol.h"

#include <cmath>

int ScriptAligner::alignScripts(RichTextControl &buffer, int kind, int size, int step)
{
    const EditBlock block(buffer);
    const int length = buffer.textLength();
    const int sign = kind == Exponents ? 1 : -1;
    int changed = 0;
    for (int position = 0; position < length; ++position) {
        buffer.setSelection({position, 1});
        const Mixed<int> offset = buffer.selCharOffset();
        const bool isScript = kind == Exponents ? offset > 0 : (kind == Indices && offset < 0);
        if (!isScript)
            continue;
        buffer.setSelFontSize(size);
        // The offset follows the size just set, as read back (sizes are kept in half-points).
        const Mixed<double> newSize = buffer.selFontSize();
        if (newSize.hasValue())
            buffer.setSelCharOffset(sign * int(std::lround(step * newSize.value())));
        ++changed;
    }
    return changed;
}

int ScriptAligner::raiseBaseline(RichTextControl &exo)
{
    const EditBlock block(exo);
    const TextRange selection = exo.selection();
    int changed = 0;
    for (int position = selection.start; position < selection.end(); ++position) {
        exo.setSelection({position, 1});
        if (exo.selCharOffset() != 0)
            continue;
        const Mixed<double> size = exo.selFontSize();
        if (size.hasValue()) {
            exo.setSelCharOffset(int(std::lround(5 * size.value())));
            ++changed;
        }
    }
    return changed;
}
