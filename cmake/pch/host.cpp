// Only carries the precompiled headers the other targets reuse.
