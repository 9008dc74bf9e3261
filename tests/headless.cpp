#include "tests/headless.h"

#include <gtest/gtest.h>

#include "framework/headless.h"

namespace
{
class HEADLESS_ENVIRONMENT : public ::testing::Environment
{
public:
    void SetUp() override
    {
        start_headless_allegro();
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
