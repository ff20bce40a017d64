# tests: model
