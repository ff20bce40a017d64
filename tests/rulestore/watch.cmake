# tests: watch
