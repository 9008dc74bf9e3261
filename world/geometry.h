#pragma once

// The shape of the world. It is the planet's grid, one cell a world unit, and wraps east-west:
// x = 0 and x = WORLD_WIDTH are the two sides of one seam.
constexpr int WORLD_WIDTH = 640;
constexpr int WORLD_HEIGHT = 480;

// Terrain heights are plain integers with the sea's surface at this one.
constexpr int SEA_LEVEL = 5000;

// Anything that wraps is drawn, hovered and clicked at these offsets, in this order.
inline constexpr float COPY_OFFSETS[] = {-WORLD_WIDTH, 0.0f, WORLD_WIDTH};

// The length of the way from (x1, y1) to (x2, y2) across the seam: the horizontal gap is
// taken as absolute, so the points may lie on either side and outside 0..WORLD_WIDTH.
float seam_distance(float x1, float y1, float x2, float y2);
