#include "world/weather/weather.h"

#include <cmath>
#include <string>

#include "framework/colours.h"
#include "framework/helpers.h"
#include "framework/random.h"
#include "world/save_database.h"
#include "world/world.h"

namespace
{
// Both weather parameters are percentages.
float clamp_percent(float v)
{
    if (v < 0)
        v = 0;
    if (v > 100)
        v = 100;
    return v;
}
}

WEATHER::WEATHER() : ENTITY()
{
    init();
    daily_record();
}

WEATHER::WEATHER(float a, float b, float base, CELL* cell) : ENTITY()
{
    init();
    // Stored as given; only the setters clamp.
    fParam_a = a;
    fParam_b = b;
    fBase = base;
    fTemperature = base;
    // Still id -1 here: moves high and low off 0 without writing a row.
    daily_record();
    pCell = cell;
}

WEATHER::~WEATHER()
{
}

void WEATHER::init()
{
    iNode_id = -1;
    fParam_a = 0;
    fParam_b = 0;
    fTemperature = 0;
    iSpare_a = 0;
    iSpare_b = 0;
    sText.clear();
    tsChange.reset();
    tsDay.reset();
    fHigh = 0;
    fLow = 0;
    fBase = 0;
    pCell = nullptr;
}

void WEATHER::update()
{
    CALENDAR* pCalendar = CALENDAR::instance();
    if (tsDay && pCalendar->is_running() && pCalendar->days_since(tsDay.get()) >= 1)
    {
        // One row however many days went by since the last.
        daily_record();
        tsDay.reset(pCalendar->now());
    }
    if (!tsDay)
    {
        first_roll();
        tsDay.reset(pCalendar->now());
    }
    if (!tsChange)
    {
        sText = WORLD::choose_weather(this, pCell);
        tsChange.reset(pCalendar->now());
    }
    else if (pCalendar->hours_since(tsChange.get()) > 4)
    {
        seasonal_reroll();
        sText = WORLD::choose_weather(this, pCell);
        tsChange.reset(pCalendar->now());
    }
}

void WEATHER::first_roll()
{
    fHigh = fBase + (random_next() % 15 + 5);
    fLow = fBase - (random_next() % 15 + 5);
}

void WEATHER::daily_record()
{
    // Separate statements: the first draw of each pair is the one added.
    int iUp = random_next() % 3;
    int iDown = random_next() % 3;
    fHigh += iUp - iDown;
    iUp = random_next() % 3;
    iDown = random_next() % 3;
    fLow += iUp - iDown;

    if (fHigh > fBase + 20)
        fHigh -= random_next() % 5;
    if (fHigh < fBase + 5)
        fHigh += random_next() % 5;
    if (fLow > fBase - 5)
        fLow -= random_next() % 5;
    if (fLow < fBase - 20)
        fLow += random_next() % 5;

    if (iNode_id == -1)
        return;
    CALENDAR* pCalendar = CALENDAR::instance();
    std::string strSql = "INSERT INTO node_weather VALUES(" + std::to_string(iNode_id) + "," +
                         std::to_string(pCalendar->total_days()) + "," +
                         sql_quote(pCalendar->date_string()) + "," +
                         std::to_string(season_adjusted(fLow)) + "," +
                         std::to_string(season_adjusted(fHigh)) + ")";
    exec_repeated_sql(save_db, strSql.c_str());
}

void WEATHER::update_temperature()
{
    CALENDAR* pCalendar = CALENDAR::instance();
    if (!pCalendar->is_running())
        return;
    // 7.5 degrees of arc an hour: low at midnight, high at noon.
    long double ldAngle = (long double)pCalendar->get_hour() / 12 * 90 * 0.0174532927;
    float fSine = (float)std::sin(ldAngle);
    set_seasonal_temperature(fLow + (fHigh - fLow) * fSine);
}

void WEATHER::seasonal_reroll()
{
    float t = (float)(random_next() % 10) + fParam_b;
    set_param_b(t - random_next() % 10);

    std::string strSeason = CALENDAR::instance()->season_name();
    int p = 10;
    int q = 10;
    if (strSeason == "Winter")
    {
        p = 12;
        q = 10;
    }
    else if (strSeason == "Spring")
    {
        p = 15;
        q = 10;
    }
    else if (strSeason == "Summer")
    {
        p = 10;
        q = 12;
    }
    t = (float)(random_next() % p) + fParam_a;
    set_param_a(t - random_next() % q);

    if (random_next() % 1000 > 950)
    {
        if (random_next() % 100 <= 50)
            set_param_a(fParam_a * 1.5f);
        else
            set_param_a(fParam_a / 2);
    }
}

void WEATHER::draw(BITMAP* target, int y)
{
    textprintf_right_ex(target, font, 581, y + 441, BLACK, -1, "%s", sText.c_str());
    textprintf_right_ex(target, font, 580, y + 440, LIME_GREEN, -1, "%s", sText.c_str());
    textprintf_right_ex(target, font, 621, y + 441, BLACK, -1, "%2.0fF", fTemperature);
    textprintf_right_ex(target, font, 620, y + 440, YELLOW, -1, "%2.0fF", fTemperature);
}

void WEATHER::set_param_a(float a)
{
    fParam_a = clamp_percent(a);
}

void WEATHER::set_param_b(float b)
{
    fParam_b = clamp_percent(b);
}

void WEATHER::set_temperature(float t)
{
    fTemperature = t;
}

void WEATHER::set_cell(CELL* cell)
{
    pCell = cell;
}

void WEATHER::set_node_id(int id)
{
    iNode_id = id;
}

void WEATHER::set_seasonal_temperature(float t)
{
    fTemperature = t + season_offset();
}

int WEATHER::season_adjusted(float t)
{
    return (int)(t + season_offset());
}

int WEATHER::season_offset()
{
    std::string strSeason = CALENDAR::instance()->season_name();
    if (strSeason == "Winter")
        return -20;
    if (strSeason == "Spring")
        return 10;
    if (strSeason == "Summer")
        return 20;
    return -10;
}
