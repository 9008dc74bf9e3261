// Prints the stage digests of the independent planet reference for the seeds given, as the
// rows of the table in test_planet_stages.cpp.

#include <cstdio>
#include <cstdlib>

#include "framework/headless.h"
#include "tests/planet_reference.h"

int main(int argc, char** argv)
{
    start_headless_allegro();
    for (int i = 1; i < argc; i++)
    {
        unsigned int uiSeed = (unsigned int)std::strtoul(argv[i], nullptr, 10);
        for (const PLANET_DIGEST& d : reference_planet_digests(uiSeed))
            std::printf("    {%uu, \"%s\", \"%s\", 0x%016llxull},\n", d.uiSeed, d.sStage.c_str(),
                        d.sItem.c_str(), d.ullValue);
    }
    return 0;
}
