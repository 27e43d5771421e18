// Removed once the engine sources exist.
