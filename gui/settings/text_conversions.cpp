// Filled in by the settings work.
