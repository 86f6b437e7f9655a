#include "richtextfactory.h"

#include "qtrichtextcontrol.h"

std::unique_ptr<RichTextControl> createRichTextControl()
{
    return std::make_unique<QtRichTextControl>();
}
