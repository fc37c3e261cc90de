// The saver's full-screen window. Loading it runs the whole session: it returns only if the
// window is destroyed from outside; input ends the process inside the window's handlers.
#pragma once

#include "startup/common_module.h"

void LoadDisplayForm(CommonModule& common);
