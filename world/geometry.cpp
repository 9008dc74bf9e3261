#include "world/geometry.h"

#include <cmath>

#include "framework/helpers.h"

float seam_distance(float x1, float y1, float x2, float y2)
{
    return vector_length(WORLD_WIDTH - std::fabs(x2 - x1), y2 - y1);
}
