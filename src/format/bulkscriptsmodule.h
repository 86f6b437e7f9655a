#pragma once

#include "bulkscripts.h"

class ShellHost;

// Binds `toutexpo`, `toutindi`, `decaexp`, `decaind` and `decabiz`. Hooks left empty are filled
// with what the menu itself offers: `check2`'s check mark for the small mode, and until the
// script controls are wired, steps kept here (8 and 5 at start).
BulkScripts *installBulkScripts(ShellHost &host, EditorState &state, const Platform &platform,
                                BulkScripts::ControlFactory createBuffer, BulkScriptHooks hooks = {});
