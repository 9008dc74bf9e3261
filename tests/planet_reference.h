#pragma once

// A second planet generator, written on its own and as plainly as the rules read: plain
// recursion for the spread, the library's own circlefill, getpixel and putpixel, its own
// copy of the random formula. It shares no code with
// world/planet/ beyond the CELL record and the colour packing, so that the digests it gives
// are an independent account of what a seed must produce.

#include <vector>

#include "tests/planet_digest.h"

// Runs the whole planet of one seed, as the world builds it (500 mountains, 300 holes),
// and returns the digests of every stage.
std::vector<PLANET_DIGEST> reference_planet_digests(unsigned int uiSeed);
