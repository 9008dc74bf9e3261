// Linked into every program of the sanitizer build: the options its sanitizers start with, so
// that a program run by hand reports what it reports under ctest. Variables such as
// LSAN_OPTIONS still override them.
#include "sanitizer_suppressions.h"

extern "C" {

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
