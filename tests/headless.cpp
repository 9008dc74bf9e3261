#include "tests/headless.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

namespace
{
class HEADLESS_ENVIRONMENT : public ::testing::Environment
{
public:
    void SetUp() override
    {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        _rgb_r_shift_32 = 16;
        _rgb_g_shift_32 = 8;
        _rgb_b_shift_32 = 0;
        _rgb_a_shift_32 = 24;
        set_color_depth(32);
    }
};

const auto* g_pEnvironment = ::testing::AddGlobalTestEnvironment(new HEADLESS_ENVIRONMENT);
}

std::string begin_capture()
{
    fflush(stdout);
    ::testing::internal::CaptureStdout();
    return std::string();
}

std::string end_capture()
{
    fflush(stdout);
    return ::testing::internal::GetCapturedStdout();
}

BITMAP* make_test_bitmap(int w, int h, int colour)
{
    BITMAP* bmp = create_bitmap_ex(32, w, h);
    clear_to_color(bmp, colour);
    return bmp;
}
