#include "startup/main.h"

void Main() {}
