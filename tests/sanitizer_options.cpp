// Linked into every program of the sanitizer build: the options its sanitizers start with, so
// that a program run by hand reports what it reports under ctest. Variables such as
// ASAN_OPTIONS still override them.
#include "sanitizer_suppressions.h"

extern "C" {

// The suppressions name frames of system libraries built without frame pointers, and of
// Allegro's sound module, which is unloaded before the leak check: only the slow unwinder
// records the stack through them at the allocation.
const char* __asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}

const char* __lsan_default_options()
{
    return "print_suppressions=0";
}

const char* __lsan_default_suppressions()
{
    return ORV_SANITIZER_SUPPRESSIONS;
}

const char* __ubsan_default_options()
{
    return "print_stacktrace=1";
}
}
