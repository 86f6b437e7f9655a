#pragma once

#include <QList>

// The menus and the tool bar of the main window as data: the window builds them from these
// tables and a test checks them row by row. Captions and tool tips are translated through the
// "MainWindow" context; an item caption "-" is a separator.
struct MenuItemDefinition
{
    const char *name;
    const char *caption;            // empty for the File menu's exercise entries (set at run time)
    const char *shortcut = nullptr; // portable key sequence, e.g. "Ctrl+N"
    bool checkable = false;
    bool checkedAtStart = false;
    bool hiddenAtStart = false;
    bool disabledAtStart = false; // stays disabled when bound: its module enables it
};

struct MenuDefinition
{
    const char *name;
    const char *caption;
    QList<MenuItemDefinition> items; // no items: a command straight on the menu bar
};

struct ToolButtonDefinition
{
    const char *name;
    const char *toolTip;
    const char *icon; // resource path
    bool checkable = false;
    bool separatorBefore = false;
};

const QList<MenuDefinition> &menuTable();
const QList<ToolButtonDefinition> &toolBarTable();
