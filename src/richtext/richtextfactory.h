#pragma once

#include "richtextcontrol.h"

#include <memory>

// The control on Qt's text engine. A hidden buffer never shows its widget(); the visible one
// puts widget() in a layout (the control deletes its widget if nobody else has by then).
std::unique_ptr<RichTextControl> createRichTextControl();
