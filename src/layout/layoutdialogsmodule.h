#pragma once

#include <functional>

class MessageBoxes;
class QWidget;
class RichTextControl;
class ShellHost;
struct Platform;

// Binds the format menu's "Ta&bulations" (`tabulo`, the `Tabof` dialog) and "&Marges" (`margo`,
// the `marges` dialog). Both dialogs are created when shown and destroyed when closed;
// `majregle` puts the ruler's markers back in step after the tabs dialog.
void installLayoutDialogs(ShellHost &host, const Platform &platform, std::function<void()> majregle);

// The two commands, for the menu and for tests.
void showTabsDialog(RichTextControl &exo, MessageBoxes &messages, const std::function<void()> &majregle,
                    QWidget *parent);
void showMarginsDialog(RichTextControl &exo, QWidget *parent);
