// Which family of Windows the program runs on.
#pragma once

// True on the NT family; the older platform (and a failed query) gives false.
bool IsNTPlatform();
