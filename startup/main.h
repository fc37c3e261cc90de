// The start-up procedure: reads the switch and runs the one mode this process serves.
#pragma once

void Main();
