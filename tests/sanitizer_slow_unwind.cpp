// Linked into the game alone in the sanitizer build. Its leak suppressions name frames of
// system libraries built without frame pointers, and of Allegro's sound module, which is
// unloaded before the leak check: only the slow unwinder records the stack through them at
// the allocation. It makes every allocation many times slower, so the tests go without it.
extern "C" const char* __asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}
