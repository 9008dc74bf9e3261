#include "world/calendar/calendar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/colours.h"
#include "framework/entity.h"
#include "framework/random.h"
#include "tests/headless.h"

namespace
{
const std::string SAMPLE_FILE = std::string(ORV_TEST_DATA) + "/calendar/sample.dat";

// Loads a file, then goes back to day 1 of year 1 as a fresh calendar stands there.
void load_at_first_day(CALENDAR& cal, const std::string& sPath)
{
    cal.load(sPath.c_str());
    cal.pick_calendar();
    cal.bWeekdays = true;
    cal.iTotal_days = 0;
}

std::string month_name(const CALENDAR& cal)
{
    return (*cal.it_month)->sName;
}
std::string day_name(const CALENDAR& cal)
{
    return **cal.it_weekday;
}

std::vector<std::string> months(const std::list<MONTH*>& l_List)
{
    std::vector<std::string> v;
    for (MONTH* m : l_List)
        v.push_back(m->sName + " " + std::to_string(m->iIndex) + " " + std::to_string(m->iDays));
    return v;
}

class CalendarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        random_seed(42);
        game_time = 0;
    }
    void TearDown() override { game_time = 0; }
};
} // namespace

TEST_F(CalendarTest, ReadsTheSampleDefinition)
{
    CALENDAR cal;
    cal.load(SAMPLE_FILE.c_str());
    ASSERT_EQ(cal.l_Calendars.size(), 1u);
    CALENDAR_DEF* def = cal.l_Calendars.front();
    EXPECT_EQ(def->sName, "Sample");
    EXPECT_EQ(months(def->l_Months), std::vector<std::string>({"Frost 0 30", "Thaw 1 30"}));
    EXPECT_EQ(texts(def->l_Weekdays),
              std::vector<std::string>({"Oneday", "Twoday", "Threeday", "Fourday", "Fiveday"}));
    EXPECT_EQ(texts(def->l_Weekends), std::vector<std::string>({"Restday", "Lastday"}));
    std::vector<std::string> vSeasons;
    for (MONTH* m : def->l_Seasons)
        vSeasons.push_back(m->sName + " " + std::to_string(m->iDays));
    EXPECT_EQ(vSeasons, std::vector<std::string>({"Frost 10", "Frost 25", "Thaw 10", "Thaw 25"}));
}

TEST_F(CalendarTest, HeadersAndTheFileWideAlternation)
{
    const std::string sLong(2500, 'w');
    const std::string sText = "stray\n"
                              "[A][months]junk after\n"
                              "One, 10, Two\n"
                              "[B][seasons]\n"
                              "12\n"
                              "[B][months]\n"
                              "Solo, 5\n"
                              "[A][weekdays]\n"
                              "Work, Toil,\n"
                              "[A][weekends]\n"
                              "Rest\r\n"
                              "[B][weekdays]\n"
                              "Go, LONG\n"
                              "[B][weekends]\n"
                              "Stop, \n"
                              "[A][Months]\n"
                              "lost\n"
                              "\n"
                              "[A][months]\n"
                              "Three\n"
                              " 30\n";
    const std::string sPath =
        write_file("alt.dat", std::string(sText).replace(sText.find("LONG"), 4, sLong));
    random_seed(3);
    const int iPick = random_next() % 2;
    random_seed(3);
    CALENDAR cal;
    std::string sOut = capture_messages([&] { cal.load(sPath.c_str()); });
    EXPECT_EQ(sOut, "ERROR:  " + sPath + " line 1:  words before the first section header are "
                    "dropped.\n"
                    "ERROR:  " + sPath + " line 16:  section \"Months\" not found; its words are "
                    "dropped.\n");
    EXPECT_EQ(random_draw_count(), 4);

    ASSERT_EQ(cal.l_Calendars.size(), 2u);
    CALENDAR_DEF* defA = cal.l_Calendars.front();
    CALENDAR_DEF* defB = cal.l_Calendars.back();
    EXPECT_EQ(cal.calCurrent, iPick == 0 ? defA : defB);
    EXPECT_EQ(defA->sName, "A");
    EXPECT_EQ(months(defA->l_Months), std::vector<std::string>({"One 0 10", "Three 1 30"}));
    EXPECT_EQ(texts(defA->l_Weekdays), std::vector<std::string>({"Work", "Toil"}));
    EXPECT_EQ(texts(defA->l_Weekends), std::vector<std::string>({"Rest"}));
    EXPECT_TRUE(defA->l_Seasons.empty());
    // "Two" was named under A's months and got its number under B's seasons.
    ASSERT_EQ(defB->l_Seasons.size(), 1u);
    EXPECT_EQ(defB->l_Seasons.front()->sName, "Two");
    EXPECT_EQ(defB->l_Seasons.front()->iDays, 12);
    EXPECT_EQ(months(defB->l_Months), std::vector<std::string>({"Solo 0 5"}));
    EXPECT_EQ(texts(defB->l_Weekdays), std::vector<std::string>({"Go", sLong}));
    EXPECT_EQ(texts(defB->l_Weekends), std::vector<std::string>({"Stop", ""}));
}

TEST_F(CalendarTest, StrayWordsAreReportedNamingTheFileAndFurtherSectionsAreCounted)
{
    const std::string sPath = (scratch_dir() / "stray.dat").string();
    const std::string sRunnable = "[S][months]\nA, 3\n[S][weekdays]\nW\n[S][weekends]\nE\n";
    auto unknown = [&](int iLine, const std::string& sName) {
        return "ERROR:  " + sPath + " line " + std::to_string(iLine) + ":  section \"" + sName +
               "\" not found; its words are dropped.\n";
    };
    std::string sMany = sRunnable;
    for (int i = 0; i < 40; ++i)
        sMany += "[S][x" + std::to_string(i) + "]\nw\n";
    struct CASE
    {
        std::string sText;
        std::string sMessages;
    } cases[] = {
        {"one, two, three\nfour\n" + sRunnable,
         "ERROR:  " + sPath + " line 1:  words before the first section header are dropped.\n"},
        {sRunnable + "[S][days]\na, b, c\n[S][]\nd, e\n",
         unknown(7, "days") + "ERROR:  " + sPath + ":  1 more section not found; its words are dropped.\n"},
        // A garbled file: the first unknown section, then one line for the rest.
        {sMany, unknown(7, "x0") + "ERROR:  " + sPath + ":  39 more sections not found; their words are dropped.\n"},
        {sRunnable, ""},
    };
    for (const CASE& c : cases)
    {
        write_file("stray.dat", c.sText);
        CALENDAR cal;
        EXPECT_EQ(capture_messages([&] { cal.load(sPath.c_str()); }), c.sMessages) << c.sText;
        EXPECT_EQ(months(cal.l_Calendars.front()->l_Months), std::vector<std::string>({"A 0 3"}));
    }

    // A file that is not read whole ends the game: no count before its reason.
    write_file("stray.dat", sMany + "\xff\n");
    CALENDAR cal;
    std::string sProblem;
    EXPECT_EQ(capture_messages([&] { sProblem = cal.read_file(sPath.c_str()); }), unknown(7, "x0"));
    EXPECT_EQ(sProblem, "ERROR:  " + sPath + " line 87 is not UTF-8 text.\n");
}

TEST_F(CalendarTest, LoadingAgainStartsFromAFreshCalendar)
{
    CALENDAR cal;
    cal.load(SAMPLE_FILE.c_str());
    cal.start();
    cal.iHour = 7;
    while (cal.bWeekdays)
        cal.next_day();

    random_seed(77);
    cal.load(SAMPLE_FILE.c_str());
    CALENDAR calFresh;
    random_seed(77);
    calFresh.load(SAMPLE_FILE.c_str());

    ASSERT_EQ(cal.l_Calendars.size(), 1u);
    EXPECT_EQ(months(cal.l_Calendars.front()->l_Months),
              std::vector<std::string>({"Frost 0 30", "Thaw 1 30"}));
    EXPECT_EQ(cal.l_Calendars.front()->l_Weekdays.size(), 5u);
    EXPECT_EQ(cal.bWeekdays, calFresh.bWeekdays);
    EXPECT_EQ(cal.total_days(), calFresh.total_days());
    EXPECT_EQ(cal.iWeek, calFresh.iWeek);
    EXPECT_EQ(cal.get_hour(), 0);
    EXPECT_FALSE(cal.is_running());
    EXPECT_EQ(cal.day_text(), calFresh.day_text());
    EXPECT_EQ(cal.season_name(), calFresh.season_name());
    for (int i = 0; i < 20; ++i)
    {
        cal.next_day();
        calFresh.next_day();
        EXPECT_EQ(cal.day_text(), calFresh.day_text());
    }
}

TEST_F(CalendarTest, StartWalkLeavesWhatTheDayByDayWalkLeaves)
{
    // Season changes twice on one date, on a day the month never reaches, on day 1, and in
    // a month name that two months share.
    const std::string sText = "[C][months]\nA, 7, B, 5, A, 3\n[C][weekdays]\nW1, W2, W3\n"
                              "[C][weekends]\nE1\n[C][seasons]\nA, 2, A, 2, B, 9, B, 1, A, 3\n"
                              "[D][months]\nOnly, 10000\n[D][weekdays]\nW\n[D][weekends]\nE\n";
    const std::string sPath = write_file("walk.dat", sText);
    for (unsigned int iSeed : {3u, 42u, 999u, 2024u, 31337u})
    {
        random_seed(iSeed);
        CALENDAR cal;
        cal.load(sPath.c_str());

        random_seed(iSeed);
        CALENDAR calSlow;
        ASSERT_EQ(calSlow.read_file(sPath.c_str()), "");
        calSlow.pick_calendar();
        const int Y = random_next() % 1000;
        const int k = random_next() % static_cast<int>(calSlow.calCurrent->l_Months.size());
        const MONTH* mTarget = *std::next(calSlow.calCurrent->l_Months.begin(), k);
        const int D = random_next() % mTarget->iDays;
        while (!(calSlow.iYear > Y && month_name(calSlow) == mTarget->sName && calSlow.iDay >= D))
            calSlow.next_day();

        EXPECT_EQ(cal.total_days(), calSlow.total_days()) << iSeed;
        EXPECT_EQ(cal.day_text(), calSlow.day_text()) << iSeed;
        EXPECT_EQ(cal.iWeek, calSlow.iWeek) << iSeed;
        EXPECT_EQ(cal.bWeekdays, calSlow.bWeekdays) << iSeed;
        EXPECT_EQ(cal.date_string(), calSlow.date_string()) << iSeed;
        EXPECT_EQ(std::distance(cal.calCurrent->l_Seasons.begin(), cal.it_season),
                  std::distance(calSlow.calCurrent->l_Seasons.begin(), calSlow.it_season))
            << iSeed;
    }
}

TEST_F(CalendarTest, LoadDrawsFourNumbersAndWalksToTheStartDate)
{
    for (unsigned int iSeed : {1u, 42u, 777u, 31337u, 65000u})
    {
        random_seed(iSeed);
        random_next(); // the calendar
        const int Y = random_next() % 1000;
        const int k = random_next() % 2;
        const int D = random_next() % 30;
        random_seed(iSeed);

        CALENDAR cal;
        cal.load(SAMPLE_FILE.c_str());
        EXPECT_EQ(random_draw_count(), 4);
        const int iDay = D == 0 ? 1 : D;
        EXPECT_EQ(cal.iYear, Y + 1) << iSeed;
        EXPECT_EQ(month_name(cal), k == 0 ? "Frost" : "Thaw") << iSeed;
        EXPECT_EQ(cal.iDay, iDay) << iSeed;
        EXPECT_EQ(cal.total_days(), Y * 60 + k * 30 + iDay - 1) << iSeed;
        const char* sDays[] = {"Oneday",  "Twoday",  "Threeday", "Fourday",
                               "Fiveday", "Restday", "Lastday"};
        EXPECT_EQ(day_name(cal), sDays[cal.total_days() % 7]) << iSeed;
        EXPECT_EQ(cal.get_hour(), 0);
        EXPECT_EQ(cal.iMinute, 0);
        EXPECT_FALSE(cal.is_running());
    }
}

TEST_F(CalendarTest, DayWalkAcrossMonthYearAndSeasonBorders)
{
    CALENDAR cal;
    load_at_first_day(cal, SAMPLE_FILE);
    random_seed(1);
    struct CASE
    {
        int iOffset;
        const char* sMonth;
        int iDay, iYear;
        const char* sSeason;
        const char* sDay_name;
        int iWeek;
        const char* sDate;
    } cases[] = {
        {0, "Frost", 1, 1, "Winter", "Oneday", 1, "0/1/1"},
        {6, "Frost", 7, 1, "Winter", "Lastday", 1, "0/7/1"},
        {7, "Frost", 8, 1, "Winter", "Oneday", 2, "0/8/1"},
        {8, "Frost", 9, 1, "Winter", "Twoday", 2, "0/9/1"},
        {9, "Frost", 10, 1, "Spring", "Threeday", 2, "0/10/1"},
        {24, "Frost", 25, 1, "Summer", "Fourday", 4, "0/25/1"},
        {29, "Frost", 30, 1, "Summer", "Twoday", 5, "0/30/1"},
        {30, "Thaw", 1, 1, "Summer", "Threeday", 1, "1/1/1"},
        {35, "Thaw", 6, 1, "Summer", "Oneday", 2, "1/6/1"},
        {39, "Thaw", 10, 1, "Fall", "Fiveday", 2, "1/10/1"},
        {54, "Thaw", 25, 1, "Winter", "Restday", 4, "1/25/1"},
        {59, "Thaw", 30, 1, "Winter", "Fourday", 5, "1/30/1"},
        {60, "Frost", 1, 2, "Winter", "Fiveday", 1, "0/1/2"},
        {69, "Frost", 10, 2, "Spring", "Lastday", 2, "0/10/2"},
    };
    for (const CASE& c : cases)
    {
        while (cal.total_days() < c.iOffset)
            cal.next_day();
        EXPECT_EQ(month_name(cal), c.sMonth) << c.iOffset;
        EXPECT_EQ(cal.iDay, c.iDay) << c.iOffset;
        EXPECT_EQ(cal.iYear, c.iYear) << c.iOffset;
        EXPECT_EQ(cal.season_name(), c.sSeason) << c.iOffset;
        EXPECT_EQ(day_name(cal), c.sDay_name) << c.iOffset;
        EXPECT_EQ(cal.iWeek, c.iWeek) << c.iOffset;
        EXPECT_EQ(cal.date_string(), c.sDate) << c.iOffset;
    }
    EXPECT_EQ(cal.day_text(), "Lastday, Frost 10, 2");
    EXPECT_EQ(random_draw_count(), 0);
}

TEST_F(CalendarTest, SeasonsCountChangesPassed)
{
    const std::string sDays = "[C][weekdays]\nW\n[C][weekends]\nE\n[C][months]\nA, 3, B, 3\n";
    struct CASE
    {
        const char* sSeasons;
        std::vector<const char*> vBy_offset; // season after 0, 1, 2, ... days
    } cases[] = {
        // B 1 twice: two steps on one date; A 9 is never reached; A 1 fires on the new year.
        {"[C][seasons]\nA, 1, B, 1, B, 1, A, 9\n",
         {"Winter", "Winter", "Winter", "Summer", "Summer", "Summer", "Fall", "Fall", "Fall",
          "Spring"}},
        // The fifth position and beyond read Winter.
        {"[C][seasons]\nA, 2, A, 3, B, 1, B, 2, B, 3\n",
         {"Winter", "Spring", "Summer", "Fall", "Winter", "Winter", "Winter", "Spring"}},
        {"", {"Winter", "Winter", "Winter", "Winter", "Winter", "Winter", "Winter"}},
    };
    for (const CASE& c : cases)
    {
        CALENDAR cal;
        load_at_first_day(cal, write_file("seasons.dat", sDays + c.sSeasons));
        for (size_t i = 0; i < c.vBy_offset.size(); ++i)
        {
            EXPECT_EQ(cal.season_name(), c.vBy_offset[i]) << c.sSeasons << " day " << i;
            cal.next_day();
        }
    }
}

TEST_F(CalendarTest, ClockRunsOnlyWhileStarted)
{
    CALENDAR cal;
    load_at_first_day(cal, SAMPLE_FILE);
    auto clock = [&] { return std::to_string(cal.get_hour()) + ":" + std::to_string(cal.iMinute); };

    game_time = 10;
    cal.update();
    EXPECT_EQ(clock(), "0:0"); // stopped

    cal.start();
    cal.iLast_tick = 0;
    game_time = 0;
    std::vector<std::string> vSeen;
    for (int iTick = 1; iTick <= 8; ++iTick)
    {
        game_time = iTick;
        cal.update();
        vSeen.push_back(clock());
    }
    EXPECT_EQ(vSeen, std::vector<std::string>(
                         {"0:0", "0:22", "0:22", "0:44", "0:44", "1:6", "1:6", "1:28"}));
    for (int iTick = 9; iTick <= 130; ++iTick)
    {
        game_time = iTick;
        cal.update();
    }
    EXPECT_EQ(clock(), "23:50"); // 65 advances
    EXPECT_EQ(cal.total_days(), 0);
    game_time = 132;
    cal.update();
    EXPECT_EQ(clock(), "0:12");
    EXPECT_EQ(cal.total_days(), 1);

    cal.stop();
    EXPECT_FALSE(cal.is_running());
    game_time = 500;
    cal.update();
    EXPECT_EQ(clock(), "0:12");
    EXPECT_EQ(cal.iLast_tick, 132);
    cal.start();
    cal.update(); // long since the last advance: at once
    EXPECT_EQ(clock(), "0:34");
    game_time = 501;
    cal.update();
    EXPECT_EQ(clock(), "0:34");

    cal.add_minutes(1440);
    EXPECT_EQ(clock(), "0:34");
    EXPECT_EQ(cal.total_days(), 2);
    cal.add_hours(49);
    EXPECT_EQ(clock(), "1:34");
    EXPECT_EQ(cal.total_days(), 4);
}

TEST_F(CalendarTest, HoursAndDaysSinceAStamp)
{
    CALENDAR cal;
    load_at_first_day(cal, SAMPLE_FILE);
    struct CASE
    {
        TIME_STAMP tsThen;
        int iDays, iHour, iMinute;
        int iHours, iDays_since;
    } cases[] = {
        {{10, 23, 50}, 11, 0, 10, 0, 1},   {{10, 23, 50}, 11, 23, 50, 24, 1},
        {{10, 23, 50}, 11, 23, 49, 23, 1}, {{10, 5, 30}, 12, 7, 29, 49, 2},
        {{10, 5, 30}, 10, 5, 30, 0, 0},
    };
    for (const CASE& c : cases)
    {
        cal.iTotal_days = c.iDays;
        cal.iHour = c.iHour;
        cal.iMinute = c.iMinute;
        EXPECT_EQ(cal.hours_since(&c.tsThen), c.iHours)
            << c.iDays << " " << c.iHour << ":" << c.iMinute;
        EXPECT_EQ(cal.days_since(&c.tsThen), c.iDays_since);
    }
    TIME_STAMP* tsNow = cal.now();
    EXPECT_EQ(tsNow->iDays, 10);
    EXPECT_EQ(tsNow->iHour, 5);
    EXPECT_EQ(tsNow->iMinute, 30);
    delete tsNow;
}

TEST_F(CalendarTest, TimeOfDayText)
{
    CALENDAR cal;
    const std::pair<std::pair<int, int>, const char*> cases[] = {
        {{0, 5}, "12:05AM"}, {{9, 40}, "9:40AM"},   {{12, 30}, "12:30PM"},
        {{13, 7}, "1:07PM"}, {{23, 59}, "11:59PM"}, {{11, 0}, "11:00AM"},
    };
    for (const auto& c : cases)
    {
        cal.iHour = c.first.first;
        cal.iMinute = c.first.second;
        EXPECT_EQ(cal.time_text(), c.second);
    }
}

namespace
{
struct BOX
{
    int iCount = 0, x0 = 9999, x1 = -1, y0 = 9999, y1 = -1;
};

BOX find_colour(BITMAP* bmp, int iColour, int x0, int y0, int x1, int y1)
{
    BOX box;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (getpixel(bmp, x, y) == iColour)
            {
                ++box.iCount;
                box.x0 = std::min(box.x0, x);
                box.x1 = std::max(box.x1, x);
                box.y0 = std::min(box.y0, y);
                box.y1 = std::max(box.y1, y);
            }
    return box;
}
} // namespace

TEST_F(CalendarTest, DrawsDateTimeAndSeasonAtTheBottomRight)
{
    CALENDAR cal;
    load_at_first_day(cal, SAMPLE_FILE);
    const std::pair<int, std::pair<const char*, int>> cases[] = {
        {0, {"Winter", WHITE}},
        {9, {"Spring", SPRING_GREEN}},
        {24, {"Summer", LIGHT_YELLOW}},
        {39, {"Fall", ROSY_BROWN}},
    };
    cal.iHour = 13;
    cal.iMinute = 7;
    for (const auto& c : cases)
    {
        while (cal.total_days() < c.first)
            cal.next_day();
        ASSERT_EQ(cal.season_name(), c.second.first);
        BITMAP* bmp = make_test_bitmap(640, 480, MAGENTA);
        cal.draw(bmp);

        // The date, right-aligned at 620 with its shadow one pixel down and right.
        const int iDate_width = text_length(font, cal.day_text().c_str());
        BOX bDate = find_colour(bmp, LIGHT_BLUE, 0, 455, 640, 469);
        EXPECT_GT(bDate.iCount, 0);
        EXPECT_GE(bDate.x0, 620 - iDate_width);
        EXPECT_LT(bDate.x1, 620);
        EXPECT_GE(bDate.y0, 460);
        EXPECT_LT(bDate.y1, 468);
        BOX bShadow = find_colour(bmp, BLACK, 0, 455, 640, 470);
        EXPECT_EQ(bShadow.x1, bDate.x1 + 1);
        EXPECT_EQ(bShadow.y0, bDate.y0 + 1);

        // The time, right-aligned at 620 on the next line, no shadow.
        BOX bTime = find_colour(bmp, LIGHT_BLUE, 0, 469, 640, 480);
        EXPECT_GE(bTime.x0, 620 - text_length(font, "1:07PM"));
        EXPECT_LT(bTime.x1, 620);
        EXPECT_GE(bTime.y0, 470);

        // The season in its colour, right-aligned at 550, over a black shadow.
        const int iSeason_width = text_length(font, c.second.first);
        BOX bSeason = find_colour(bmp, c.second.second, 0, 469, 560, 480);
        EXPECT_GT(bSeason.iCount, 0) << c.second.first;
        EXPECT_GE(bSeason.x0, 550 - iSeason_width) << c.second.first;
        EXPECT_LT(bSeason.x1, 550) << c.second.first;
        BOX bSeason_shadow = find_colour(bmp, BLACK, 0, 469, 560, 480);
        EXPECT_EQ(bSeason_shadow.x1, bSeason.x1 + 1) << c.second.first;

        // Nothing else is touched.
        BOX bRest = find_colour(bmp, MAGENTA, 0, 0, 640, 455);
        EXPECT_EQ(bRest.iCount, 640 * 455);
        destroy_bitmap(bmp);
    }
}

TEST_F(CalendarTest, MonthsAndYearsAtTheBoundsRun)
{
    const std::string sWeek = "[S][weekdays]\nW\n[S][weekends]\nE\n";
    for (const char* sMonths : {"A, 10000\n", "A, 4000, B, 6000\n"})
    {
        random_seed(9);
        random_next();
        const int Y = random_next() % 1000;
        random_seed(9);
        CALENDAR cal;
        const std::string sPath = write_file("bound.dat", sWeek + "[S][months]\n" + sMonths);
        EXPECT_EQ(capture_messages([&] { cal.load(sPath.c_str()); }), "");
        EXPECT_EQ(cal.iYear, Y + 1) << sMonths;
        EXPECT_GE(cal.total_days(), Y * 10000) << sMonths;
        EXPECT_LT(cal.total_days(), (Y + 1) * 10000) << sMonths;
    }
}

using CalendarDeathTest = CalendarTest;

TEST_F(CalendarDeathTest, DataWithoutARunnableCalendarEndsWithCodeOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string sWeek = "[S][weekdays]\nW\n[S][weekends]\nE\n";
    struct CASE
    {
        std::string sText;
        const char* sPattern;
    } cases[] = {
        {"", "no calendar is defined"},
        {sWeek, "calendar \"S\" has no months"},
        {"[S][months]\nA, 3\n[S][weekends]\nE\n", "calendar \"S\" has no weekdays"},
        {"[S][months]\nA, 3\n[S][weekdays]\nW\n", "calendar \"S\" has no weekends"},
        {sWeek + "[S][months]\nA, 3, B, x\n", "calendar \"S\" has month \"B\" with no days"},
        // A header without "]" is read safely; its calendar has nothing to run on.
        {sWeek + "[S][months]\nA, 3\n[T\nx\n", "calendar \"T\" has no months"},
        // Beyond the bounds: the start-up walk would take ages and overflow its counters.
        {sWeek + "[S][months]\nA, 3, B, 10001\n", "calendar \"S\" has month \"B\" of 10001 days"},
        {sWeek + "[S][months]\nA, 10000000\n", "calendar \"S\" has month \"A\" of 10000000 days"},
        {sWeek + "[S][months]\nA, 2147483647\n",
         "calendar \"S\" has month \"A\" of 2147483647 days"},
        {sWeek + "[S][months]\nA, 99999999999\n",
         "calendar \"S\" has month \"A\" of 2147483647 days"},
        {sWeek + "[S][months]\nA, 6000, B, 4000, C, 1\n",
         "calendar \"S\" has more than 10000 days in a year"},
        // Text Allegro's message routines cannot take.
        {"[A][\xff\xa9\xa9\xa9\xa9\xa9\xb8\xb8]\nx\n", "line 1 is not UTF-8 text"},
        {sWeek + "[S][months]\n\xfd\xa9\xa9\xa9\xa9\xa9\xb8\xb8, 3\n", "line 6 is not UTF-8 text"},
        {sWeek + "\n[\xfe\xa9\xa9\xa9\xa9\xa9\xb8\xb8][months]\nA, 3\n", "line 6 is not UTF-8 text"},
    };
    for (const CASE& c : cases)
    {
        const std::string sPath = write_file("bad.dat", c.sText);
        EXPECT_EXIT_SAYING(
            {
                CALENDAR cal;
                cal.load(sPath.c_str());
            },
            1, std::string("ERROR:  .*bad.dat:? +") + c.sPattern);
    }
    EXPECT_EXIT_SAYING(
        {
            CALENDAR cal;
            cal.load("/nonexistent/calendars.dat");
        },
        1, "unable to open /nonexistent/calendars\\.dat for input\\.$");
}
