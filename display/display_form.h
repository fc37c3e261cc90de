// The saver's full-screen window. Loading it runs the whole session: it returns only if the
// window is destroyed from outside; input ends the process inside the window's handlers.
#pragma once

#include "common/common_module.h"

void LoadDisplayForm(CommonModule& common);
// The same with the animation paced to another number of passes a second: benchmarks compare the
// paced loop with one left to run as fast as it can.
void LoadDisplayForm(CommonModule& common, int passesPerSecond);
