# tests: registry
