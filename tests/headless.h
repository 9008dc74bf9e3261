#pragma once

#include <allegro.h>

#include <string>

// Every test program starts Allegro without a system driver and with 32-bit pixels laid out
// as 0xRRGGBB, so colour constants are the pixels they draw.

// Runs f with stdout captured and returns what Allegro's message boxes printed.
template <typename F>
std::string capture_messages(F f);

std::string begin_capture();
std::string end_capture();

template <typename F>
std::string capture_messages(F f)
{
    begin_capture();
    f();
    return end_capture();
}

// A 32-bit memory bitmap cleared to the given colour.
BITMAP* make_test_bitmap(int w, int h, int colour);
