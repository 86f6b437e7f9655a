#pragma once

class EquationCommands;
class ShellHost;

// Equations in the main window: Insertion ▸ "Équation…" (`equation`, Ctrl+Shift+E), a
// double-click or Enter on an equation, and "Modifier l'équation" in its context menu. Lives
// as long as exo.
EquationCommands &installEquations(ShellHost &host);
