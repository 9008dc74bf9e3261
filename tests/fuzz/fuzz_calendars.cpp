// The calendars.dat reader, then the start-up walk, the clock and the drawing.
#include <allegro.h>

#include "framework/random.h"
#include "tests/fuzz/fuzz_support.h"
#include "world/calendar/calendar.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_start();
    static BITMAP* bmp = create_bitmap_ex(32, 640, 480);
    const std::string sPath = fuzz_write_input("calendars.dat", data, size);

    CALENDAR cal;
    if (!cal.read_file(sPath.c_str()).empty() || !cal.check_definitions(sPath.c_str()).empty())
        return 0;
    random_seed(static_cast<unsigned int>(size));
    cal.pick_calendar();
    cal.randomise_date(1000);
    cal.date_string();
    cal.add_minutes(40 * 24 * 60 + 7);
    cal.draw(bmp);
    TIME_STAMP* tsNow = cal.now();
    cal.add_days(3);
    cal.hours_since(tsNow);
    cal.days_since(tsNow);
    delete tsNow;
    return 0;
}
