#include "framework/random.h"

#include <cstdint>

namespace
{
std::uint32_t g_uiSeed = 1;
long long g_llDraws = 0;
}

void random_seed(unsigned int seed)
{
    g_uiSeed = seed;
    g_llDraws = 0;
}

int random_next()
{
    g_uiSeed = g_uiSeed * 214013u + 2531011u;
    ++g_llDraws;
    return (int)((g_uiSeed >> 16) & 0x7FFF);
}

long long random_draw_count()
{
    return g_llDraws;
}
