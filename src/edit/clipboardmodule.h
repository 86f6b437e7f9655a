#pragma once

class ClipboardCommands;
class ShellHost;
struct Platform;

// Binds the edit menu's `coupe`, `copie`, `colle`, `supprime`, `toutsel` and the tool-bar
// buttons `Command7` (cut), `Command6` (copy) and `Command8` (paste). The commands live as
// long as exo.
ClipboardCommands *installClipboardCommands(ShellHost &host, const Platform &platform);
