#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdlib>
#include <iterator>
#include <list>
#include <string>
#include <vector>

#include "framework/colours.h"
#include "framework/helpers.h"
#include "framework/random.h"
#include "tests/headless.h"
#include "tests/save_fixture.h"
#include "world/calendar/calendar.h"
#include "world/save_database.h"
#include "world/weather/weather.h"
#include "world/world.h"

namespace
{
// One condition that fits every weather, so each choice takes exactly one draw.
const char* WC_SQL = "CREATE TABLE wc(name text, amin int, amax int, bmin int, bmax int, "
                     "tmin int, tmax int, rule int, extra int);"
                     "INSERT INTO wc VALUES('Calm', 0, 100, 0, 100, 0, 100, 0, 0);";

// The calendar at day 345, 3/14/812 (the fourth month), 0:00, running; season by position.
class TEST_CALENDAR
{
public:
    TEST_CALENDAR()
    {
        pCalendar = CALENDAR::instance();
        for (int i = 0; i < 4; ++i)
        {
            MONTH* mMonth = new MONTH();
            mMonth->sName = "Month" + std::to_string(i);
            mMonth->iIndex = i;
            mMonth->iDays = 30;
            cdDef.l_Months.push_back(mMonth);
            MONTH* mSeason = new MONTH();
            mSeason->sName = "Month0";
            mSeason->iDays = i + 1;
            cdDef.l_Seasons.push_back(mSeason);
        }
        cdDef.l_Weekdays.push_back(new std::string("Workday"));
        cdDef.l_Weekends.push_back(new std::string("Restday"));
        pCalendar->calCurrent = &cdDef;
        pCalendar->it_month = std::next(cdDef.l_Months.begin(), 3);
        pCalendar->it_weekday = cdDef.l_Weekdays.begin();
        pCalendar->bWeekdays = true;
        set_season(0);
        pCalendar->iDay = 14;
        pCalendar->iYear = 812;
        pCalendar->iTotal_days = 345;
        pCalendar->iHour = 0;
        pCalendar->iMinute = 0;
        pCalendar->bRunning = true;
    }
    ~TEST_CALENDAR()
    {
        pCalendar->calCurrent = nullptr;
        pCalendar->bRunning = false;
    }
    // 0 Winter, 1 Spring, 2 Summer, 3 Fall.
    void set_season(int iSeason) { pCalendar->it_season = std::next(cdDef.l_Seasons.begin(), iSeason); }

    CALENDAR* pCalendar;
    CALENDAR_DEF cdDef;
};

class WEATHER_PROBE : public WEATHER
{
public:
    using WEATHER::WEATHER;
    void set_day(float fBase_, float fHigh_, float fLow_)
    {
        fBase = fBase_;
        fHigh = fHigh_;
        fLow = fLow_;
    }
    float high() const { return fHigh; }
    float low() const { return fLow; }
    void set_text(const std::string& strText) { sText = strText; }
};

std::vector<std::string> g_Statements;

int trace_statement(unsigned int, void*, void*, void* pText)
{
    g_Statements.push_back(static_cast<const char*>(pText));
    return 0;
}
}

TEST(WeatherDailyRecord, WritesTheRowOfTheDayWithTheSeasonOffset)
{
    RUN_DIRECTORY rdRun(WC_SQL);
    start_world();
    TEST_CALENDAR tcCalendar;
    tcCalendar.set_season(1); // Spring, +10
    WEATHER_PROBE wWeather(0, 0, 50, nullptr);
    wWeather.set_node_id(12);
    wWeather.set_day(50, 61.2f, 40.7f);

    random_seed(seed_where(4, [](const std::vector<int>& d) { return d[0] % 3 == d[1] % 3 && d[2] % 3 == d[3] % 3; }));
    g_Statements.clear();
    sqlite3_trace_v2(save_db, SQLITE_TRACE_STMT, trace_statement, nullptr);
    wWeather.daily_record();
    sqlite3_trace_v2(save_db, 0, nullptr, nullptr);

    EXPECT_EQ(random_draw_count(), 4);
    EXPECT_EQ(g_Statements, std::vector<std::string>{"INSERT INTO node_weather VALUES(12,345,'3/14/812',50,71)"});
    EXPECT_EQ(rows(save_db, "SELECT * FROM node_weather"), std::vector<std::string>{"12|345|3/14/812|50|71"});
}

TEST(WeatherDailyRecord, ASaveDatabaseThatKeepsFailingShowsEachErrorOnce)
{
    RUN_DIRECTORY rdRun(WC_SQL);
    start_world();
    TEST_CALENDAR tcCalendar;
    std::list<WEATHER_PROBE> l_Weathers;
    for (int i = 0; i < 40; ++i)
        l_Weathers.emplace_back(0, 0, 50, nullptr).set_node_id(i);
    auto record_days = [&](int iDays) {
        return capture_messages([&] {
            for (int d = 0; d < iDays; ++d)
                for (WEATHER_PROBE& wWeather : l_Weathers)
                    wWeather.daily_record();
        });
    };

    // A full disk: the file may not grow past the pages it has.
    const std::string sPages = rows(save_db, "PRAGMA page_count").at(0);
    exec_sql(save_db, ("PRAGMA max_page_count = " + sPages).c_str());
    EXPECT_EQ(record_days(10), "ERROR: SQL error: database or disk is full\n");
    const int iKept = std::atoi(rows(save_db, "SELECT count(*) FROM node_weather").at(0).c_str());
    EXPECT_GT(iKept, 0);
    EXPECT_LT(iKept, 400);

    // Another error shows once too.
    exec_sql(save_db, "DROP TABLE node_weather");
    EXPECT_EQ(record_days(3), "ERROR: SQL error: no such table: node_weather\n");
    EXPECT_EQ(record_days(1), "");

    // A new start shows them afresh.
    start_world();
    exec_sql(save_db, "DROP TABLE node_weather");
    EXPECT_EQ(record_days(2), "ERROR: SQL error: no such table: node_weather\n");
}

namespace
{
struct BAND_CASE
{
    float fHigh; // offsets from the base
    float fLow;
    int iDrift_high;
    int iDrift_low;
    int iPulls; // draws after the drift, each giving a pull of 3
    float fHigh_after;
    float fLow_after;
};

const BAND_CASE BAND_CASES[] = {
    {12, -12, 0, 0, 0, 12, -12},   // inside both bands
    {20, -20, 0, 0, 0, 20, -20},   // on the outer edges: no pull
    {5, -5, 0, 0, 0, 5, -5},       // on the inner edges: no pull
    {20, -20, 2, -2, 2, 19, -19},  // drifted out, pulled back
    {5, -5, -1, 1, 2, 7, -7},      // drifted in past the inner edges, pushed out
    {21, -21, -2, 2, 0, 19, -19},  // the drift comes first and brings them in
    {30, -40, 0, 0, 2, 27, -37},   // far out: at most 4 a day
    {0, 0, 0, 0, 2, 3, -3},
};
}

TEST(WeatherDailyRecord, HighAndLowDriftAndArePulledIntoTheirBands)
{
    const float fBase = 50;
    for (const BAND_CASE& bcCase : BAND_CASES)
    {
        WEATHER_PROBE wWeather(0, 0, fBase, nullptr);
        wWeather.set_day(fBase, fBase + bcCase.fHigh, fBase + bcCase.fLow);
        unsigned int uiSeed = seed_where(4 + bcCase.iPulls, [&](const std::vector<int>& d) {
            bool bFits = d[0] % 3 - d[1] % 3 == bcCase.iDrift_high && d[2] % 3 - d[3] % 3 == bcCase.iDrift_low;
            for (int i = 0; i < bcCase.iPulls; ++i)
                bFits = bFits && d[4 + i] % 5 == 3;
            return bFits;
        });
        random_seed(uiSeed);
        wWeather.daily_record();
        EXPECT_EQ(wWeather.high() - fBase, bcCase.fHigh_after) << bcCase.fHigh << " " << bcCase.fLow;
        EXPECT_EQ(wWeather.low() - fBase, bcCase.fLow_after) << bcCase.fHigh << " " << bcCase.fLow;
        EXPECT_EQ(random_draw_count(), 4 + bcCase.iPulls) << bcCase.fHigh << " " << bcCase.fLow;
    }
}

TEST(WeatherDailyRecord, StaysInItsBandsOnNearlyEveryDay)
{
    const float fBase = -12;
    random_seed(99);
    WEATHER_PROBE wWeather(0, 0, fBase, nullptr);
    wWeather.first_roll();
    int iOutside = 0;
    for (int iDay = 0; iDay < 5000; ++iDay)
    {
        wWeather.daily_record();
        float fHigh = wWeather.high() - fBase;
        float fLow = wWeather.low() - fBase;
        if (fHigh < 5 || fHigh > 20 || fLow < -20 || fLow > -5)
            ++iOutside;
        // A pull may draw 0, so a value can stray a little further for a few days.
        ASSERT_GE(fHigh, 5 - 8) << iDay;
        ASSERT_LE(fHigh, 20 + 8) << iDay;
        ASSERT_GE(fLow, -20 - 8) << iDay;
        ASSERT_LE(fLow, -5 + 8) << iDay;
    }
    EXPECT_LT(iOutside, 5000 / 20);
}

TEST(WeatherFirstRoll, HighIsDrawnBeforeLow)
{
    WEATHER_PROBE wWeather(0, 0, 50, nullptr);
    // Two draws that give different distances, so swapped draws show.
    unsigned int uiSeed = seed_where(2, [](const std::vector<int>& d) { return d[0] % 15 != d[1] % 15; });
    std::vector<int> d = draws_of(uiSeed, 2);
    random_seed(uiSeed);
    wWeather.first_roll();
    EXPECT_EQ(random_draw_count(), 2);
    EXPECT_EQ(wWeather.high(), 50 + d[0] % 15 + 5);
    EXPECT_EQ(wWeather.low(), 50 - (d[1] % 15 + 5));
}

TEST(WeatherDraw, ConditionAndTemperatureRightAlignedOverTheirShadows)
{
    struct CASE
    {
        int y;
        float fTemperature;
        const char* sTemperature;
    };
    const CASE cases[] = {{0, 71.6f, "72F"}, {-30, -3.4f, "-3F"}};
    for (const CASE& k : cases)
    {
        WEATHER_PROBE wWeather(0, 0, 50, nullptr);
        wWeather.set_text("Light Rain");
        wWeather.set_temperature(k.fTemperature);
        BITMAP* bmpDrawn = make_test_bitmap(640, 480, MAGENTA);
        wWeather.draw(bmpDrawn, k.y);

        // The shadow one pixel down and right, the text over it; both end at their right edges.
        BITMAP* bmpExpected = make_test_bitmap(640, 480, MAGENTA);
        int iWidth = text_length(font, "Light Rain");
        textout_ex(bmpExpected, font, "Light Rain", 581 - iWidth, k.y + 441, BLACK, -1);
        textout_ex(bmpExpected, font, "Light Rain", 580 - iWidth, k.y + 440, LIME_GREEN, -1);
        iWidth = text_length(font, k.sTemperature);
        textout_ex(bmpExpected, font, k.sTemperature, 621 - iWidth, k.y + 441, BLACK, -1);
        textout_ex(bmpExpected, font, k.sTemperature, 620 - iWidth, k.y + 440, YELLOW, -1);
        EXPECT_TRUE(same_pixels(bmpExpected, bmpDrawn)) << k.sTemperature;
        destroy_bitmap(bmpExpected);
        destroy_bitmap(bmpDrawn);
    }
}

TEST(WeatherDailyRecord, ConstructionDriftsButWritesNoRow)
{
    RUN_DIRECTORY rdRun(WC_SQL);
    start_world();
    random_seed(3);
    // High and low start at 0, far below a base of 50: both are pulled.
    WEATHER_PROBE wWeather(130, -7, 50, nullptr);
    EXPECT_EQ(random_draw_count(), 6);
    EXPECT_GT(wWeather.high(), 0 - 2);
    EXPECT_EQ(wWeather.get_temperature(), 50);
    // Stored as given; the setters clamp.
    EXPECT_EQ(wWeather.get_param_a(), 130);
    EXPECT_EQ(wWeather.get_param_b(), -7);
    wWeather.set_param_a(-3);
    wWeather.set_param_b(130);
    EXPECT_EQ(wWeather.get_param_a(), 0);
    EXPECT_EQ(wWeather.get_param_b(), 100);
    EXPECT_EQ(rows(save_db, "SELECT count(*) FROM node_weather"), std::vector<std::string>{"0"});
}

TEST(WeatherUpdate, RecordsOneRowPerDayChangeWhileTheCalendarRuns)
{
    RUN_DIRECTORY rdRun(WC_SQL);
    start_world();
    TEST_CALENDAR tcCalendar;
    WEATHER_PROBE wNode(50, 50, 50, nullptr);
    wNode.set_node_id(7);
    WEATHER_PROBE wTraveller(0, 0, 0, nullptr);

    random_seed(1);
    wNode.update();
    // First roll and first choice, no seasonal step.
    EXPECT_EQ(random_draw_count(), 2 + 1);
    EXPECT_EQ(wNode.get_text(), "Calm");
    EXPECT_GE(wNode.high(), 50 + 5);
    EXPECT_LE(wNode.low(), 50 - 5);
    wTraveller.update();
    EXPECT_EQ(rows(save_db, "SELECT count(*) FROM node_weather"), std::vector<std::string>{"0"});

    tcCalendar.pCalendar->iTotal_days += 2;
    wNode.update();
    wTraveller.update();
    wNode.update();
    EXPECT_EQ(rows(save_db, "SELECT Node_ID, Day, Date FROM node_weather"), std::vector<std::string>{"7|347|3/14/812"});

    // Stopped, the days pass unrecorded; the next update while running catches up with one row.
    tcCalendar.pCalendar->stop();
    tcCalendar.pCalendar->iTotal_days += 1;
    wNode.update();
    EXPECT_EQ(rows(save_db, "SELECT count(*) FROM node_weather"), std::vector<std::string>{"1"});
    tcCalendar.pCalendar->start();
    wNode.update();
    EXPECT_EQ(rows(save_db, "SELECT Node_ID, Day FROM node_weather"), (std::vector<std::string>{"7|347", "7|348"}));

    // The text is the weather's own: a second start frees the old conditions.
    start_world();
    EXPECT_EQ(wNode.get_text(), "Calm");
}

TEST(WeatherUpdate, ChoosesAgainFiveWholeHoursAfterTheLastChoice)
{
    RUN_DIRECTORY rdRun(WC_SQL);
    start_world();
    TEST_CALENDAR tcCalendar;
    WEATHER_PROBE wWeather(50, 50, 50, nullptr);
    wWeather.update();

    random_seed(seed_where(5, [](const std::vector<int>& d) { return d[4] % 1000 <= 950; }));
    tcCalendar.pCalendar->iHour = 4;
    tcCalendar.pCalendar->iMinute = 59;
    wWeather.update();
    EXPECT_EQ(random_draw_count(), 0);
    tcCalendar.pCalendar->iHour = 5;
    tcCalendar.pCalendar->iMinute = 0;
    wWeather.update();
    // Seasonal step, then one choice.
    EXPECT_EQ(random_draw_count(), 5 + 1);
    wWeather.update();
    EXPECT_EQ(random_draw_count(), 5 + 1);
}

namespace
{
struct SEASON_STEP
{
    int iSeason;
    int p; // added
    int q; // subtracted
};

const SEASON_STEP SEASON_STEPS[] = {{0, 12, 10}, {1, 15, 10}, {2, 10, 12}, {3, 10, 10}};
}

TEST(WeatherSeasonalStep, StepsBAndAWithTheSeasonsBias)
{
    TEST_CALENDAR tcCalendar;
    for (const SEASON_STEP& ssStep : SEASON_STEPS)
    {
        tcCalendar.set_season(ssStep.iSeason);
        WEATHER_PROBE wWeather(50, 50, 50, nullptr);
        // Largest step up.
        random_seed(seed_where(5, [&](const std::vector<int>& d) {
            return d[0] % 10 == 9 && d[1] % 10 == 0 && d[2] % ssStep.p == ssStep.p - 1 && d[3] % ssStep.q == 0 &&
                   d[4] % 1000 <= 950;
        }));
        wWeather.seasonal_reroll();
        EXPECT_EQ(random_draw_count(), 5);
        EXPECT_EQ(wWeather.get_param_b(), 59);
        EXPECT_EQ(wWeather.get_param_a(), 50 + ssStep.p - 1) << ssStep.iSeason;
        // Largest step down.
        random_seed(seed_where(5, [&](const std::vector<int>& d) {
            return d[0] % 10 == 0 && d[1] % 10 == 9 && d[2] % ssStep.p == 0 && d[3] % ssStep.q == ssStep.q - 1 &&
                   d[4] % 1000 <= 950;
        }));
        wWeather.seasonal_reroll();
        EXPECT_EQ(wWeather.get_param_b(), 50);
        EXPECT_EQ(wWeather.get_param_a(), 50 + ssStep.p - 1 - (ssStep.q - 1)) << ssStep.iSeason;
    }
}

TEST(WeatherSeasonalStep, RareSixthDrawScalesA)
{
    TEST_CALENDAR tcCalendar;
    tcCalendar.set_season(3); // Fall: A steps by p - q with p = q = 10
    struct RARE_CASE
    {
        int iRoll;  // draw 5 % 1000
        int iCoin;  // draw 6 % 100, -1: no sixth draw
        float fA_after;
    };
    const RARE_CASE RARE_CASES[] = {{950, -1, 90}, {951, 50, 100}, {999, 51, 45}};
    for (const RARE_CASE& rcCase : RARE_CASES)
    {
        WEATHER_PROBE wWeather(90, 0, 50, nullptr);
        int iDraws = rcCase.iCoin == -1 ? 5 : 6;
        random_seed(seed_where(iDraws, [&](const std::vector<int>& d) {
            return d[2] % 10 == d[3] % 10 && d[4] % 1000 == rcCase.iRoll && (iDraws == 5 || d[5] % 100 == rcCase.iCoin);
        }));
        wWeather.seasonal_reroll();
        EXPECT_EQ(random_draw_count(), iDraws) << rcCase.iRoll;
        // 90 x 1.5 is clamped to 100.
        EXPECT_EQ(wWeather.get_param_a(), rcCase.fA_after) << rcCase.iRoll;
    }
}

TEST(WeatherTemperature, FollowsTheHourWithTheSeasonOffset)
{
    TEST_CALENDAR tcCalendar;
    WEATHER_PROBE wWeather(0, 0, 55, nullptr);
    wWeather.set_day(55, 70, 40);
    tcCalendar.pCalendar->stop();
    tcCalendar.pCalendar->iHour = 12;
    wWeather.update_temperature();
    EXPECT_EQ(wWeather.get_temperature(), 55); // still the base before any journey
    tcCalendar.pCalendar->start();

    const int OFFSETS[] = {-20, 10, 20, -10};
    for (int iSeason = 0; iSeason < 4; ++iSeason)
    {
        tcCalendar.set_season(iSeason);
        tcCalendar.pCalendar->iHour = 0;
        wWeather.update_temperature();
        EXPECT_EQ(wWeather.get_temperature(), 40 + OFFSETS[iSeason]) << iSeason;
        tcCalendar.pCalendar->iHour = 12;
        wWeather.update_temperature();
        EXPECT_EQ(wWeather.get_temperature(), 70 + OFFSETS[iSeason]) << iSeason;
        tcCalendar.pCalendar->iHour = 23;
        wWeather.update_temperature();
        EXPECT_NEAR(wWeather.get_temperature(), 40 + 0.1305262f * 30 + OFFSETS[iSeason], 1e-4) << iSeason;
    }
}

TEST(WeatherTemperature, SeasonAdjustedTruncatesTowardZero)
{
    TEST_CALENDAR tcCalendar;
    WEATHER wWeather(0, 0, 0, nullptr);
    struct ADJUST_CASE
    {
        int iSeason;
        float fValue;
        int iExpected;
    };
    const ADJUST_CASE ADJUST_CASES[] = {
        {3, 40.7f, 30}, {0, -3.5f, -23}, {1, 40.7f, 50}, {2, -0.5f, 19}, {0, 10.9f, -9}, {1, -15.2f, -5},
    };
    for (const ADJUST_CASE& acCase : ADJUST_CASES)
    {
        tcCalendar.set_season(acCase.iSeason);
        EXPECT_EQ(wWeather.season_adjusted(acCase.fValue), acCase.iExpected) << acCase.fValue;
    }
}
