#pragma once

#include "insertioncommands.h"

class ObjectInsertion;
class PrintCommands;
class QObject;
class ShellHost;

struct InsertionModule
{
    InsertionCommands *insertion = nullptr;
    ObjectInsertion *objects = nullptr;
    PrintCommands *printing = nullptr;
};

// Binds the insertion menu's `ima` (and the tool-bar button `Command11`), `insertext` and
// `objet`, the edit menu's `supercolle`, the options `lierobj` and `liercolle` (ticked at
// start), and the file menu's `configimp`, `imprimons` (and `Command18`) and `exportpdf`. The
// commands live as long as exo.
InsertionModule installInsertionAndPrinting(ShellHost &host, EditorState &state, const Platform &platform,
                                            InsertionHooks hooks);
