#pragma once

class ExerciseController;
class ShellHost;
struct EditorState;
struct Platform;

// Puts the exercise page and panel into the main window, binds the Exercise menu (`az51` to
// `az55`) and registers the start-up steps of the exercise workflow (module list, instructions,
// difficulty list, page). The window owns everything created; the controller lives as long as
// the panel.
ExerciseController *installExercise(ShellHost &host, EditorState &state, const Platform &platform);
