#pragma once

// The one process-wide random source. Every random choice of the program draws from it,
// so a seed fixes a whole run. Results are 15-bit, 0 to RANDOM_MAX.

constexpr int RANDOM_MAX = 32767;

void random_seed(unsigned int seed);
int random_next();

// Draws taken since the last seeding; lets tests pin how many draws a step takes.
long long random_draw_count();
