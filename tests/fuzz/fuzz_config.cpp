// Reading config.ini, as the game does at start-up.
#include "framework/config.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_start();
    fuzz_write_input("config.ini", data, size);
    CONFIG cfg;
    cfg.load();
    return 0;
}
