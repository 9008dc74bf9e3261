#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Shared by the fuzz harnesses. libFuzzer calls LLVMFuzzerTestOneInput once per input; the
// replay program (replay_main.cpp) calls it for every file of the kept corpus, so the same
// harness runs in CI without clang.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// First call: starts Allegro without a system driver, sends stdout (where its message boxes
// go) to /dev/null and makes the scratch directory. Later calls do nothing.
void fuzz_start();

// The scratch directory, also the working directory after fuzz_start.
const std::string& fuzz_dir();

// Writes the input to the named file of the scratch directory; returns its path.
std::string fuzz_write_input(const char* sName, const uint8_t* data, size_t size);

// A words database built once from the test fixture's places.
const char* fuzz_words_db();
