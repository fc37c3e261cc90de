// The order in which the display shows the images of the list.
#pragma once

#include <cstdint>
#include <vector>

#include "forms/random_source.h"

// Fills positions 1 .. imageCount of showOrder (sized 0 .. imageCount by the caller) with the
// sequence 1 .. imageCount, or with a random permutation when changeOrder is not 0. Without the
// memory to draw a random permutation, showOrder stays as it was.
void BuildShowOrder(std::vector<std::int16_t>& showOrder, std::int16_t imageCount, std::int16_t changeOrder,
                    RandomSource& random);
