#pragma once

class Ruler;
class ShellHost;
struct Platform;

// Puts the ruler `regle` above exo and registers its start-up step (the ten markers out of
// sight). The window owns the ruler; the mirror, the tabs and margins dialogs call majregle.
Ruler *installRuler(ShellHost &host, const Platform &platform);
