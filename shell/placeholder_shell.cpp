// Placeholder until this library has sources.
