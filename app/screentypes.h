#pragma once
// The QML modules of the screens ("appc", "chmodel", "pseWave") and their
// compiled-in documents and pictures. Called once before the screens load
// (by the program and by the tests that load them).
void registerScreenTypes();
