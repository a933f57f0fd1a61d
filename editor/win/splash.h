// The start-up splash: a plain box with the program's name, shown for a
// while before the message loop runs.
#pragma once

void ShowSplash(unsigned milliseconds);
