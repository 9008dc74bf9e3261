#pragma once

#include <allegro.h>

#include <list>
#include <string>
#include <unordered_map>
#include <vector>

#include "world/calendar/time_stamp.h"

// One month of a calendar, or one season change (then sName is the month it falls in and
// iDays the day of that month).
struct MONTH
{
    std::string sName;
    int iIndex = 0; // 0-based position in l_Months; months only
    int iDays = 0;
};

// One calendar of calendars.dat; owns its months, season changes and day names.
struct CALENDAR_DEF
{
    CALENDAR_DEF() = default;
    CALENDAR_DEF(const CALENDAR_DEF&) = delete;
    CALENDAR_DEF& operator=(const CALENDAR_DEF&) = delete;
    ~CALENDAR_DEF();

    std::string sName;
    std::list<MONTH*> l_Months;
    std::list<std::string*> l_Weekdays;
    std::list<std::string*> l_Weekends;
    std::list<MONTH*> l_Seasons;
};

// The game clock. It runs only between start and stop (while the traveller travels):
// 22 game minutes for every 2 logic ticks.
class CALENDAR
{
public:
    static CALENDAR* instance();

    CALENDAR();
    CALENDAR(const CALENDAR&) = delete;
    CALENDAR& operator=(const CALENDAR&) = delete;
    ~CALENDAR();

    // Reads every definition, picks one and walks to a random start date (four draws).
    // Data that gives no runnable calendar is shown and ends the process with code 1.
    // Loading starts from a fresh calendar, whatever an earlier load left.
    void load(const char* sPath);
    // The two halves of load that say what is wrong instead of ending the process: the
    // message for a line that is not UTF-8 text (reading stops there), and the message for
    // definitions that cannot run; each empty when all is well.
    std::string read_file(const char* sPath);
    std::string check_definitions(const char* sPath) const;
    void update();
    void draw(BITMAP* target);

    void start() { bRunning = true; }
    void stop() { bRunning = false; }
    bool is_running() const { return bRunning; }
    int get_hour() const { return iHour; }
    int total_days() const { return iTotal_days; }

    TIME_STAMP* now() const;
    void fill_stamp(TIME_STAMP* stamp) const;
    int hours_since(const TIME_STAMP* stamp) const;
    int days_since(const TIME_STAMP* stamp) const;
    std::string season_name() const;
    std::string date_string() const;

    void add_minutes(int n);
    void add_hours(int n);
    void add_days(int n);
    void next_day();
    void pick_calendar();
    void randomise_date(int iYear_limit);
    // Copies the section name of "[name]..." into sSection (100 characters) and returns
    // the text after its "]".
    static const char* read_section(const char* sText, char* sSection);

    // Texts shown by draw, kept apart so they can be checked.
    std::string day_text() const;
    std::string time_text() const;

    std::list<CALENDAR_DEF*> l_Calendars;
    CALENDAR_DEF* calCurrent;
    std::list<MONTH*>::iterator it_month;
    std::list<std::string*>::iterator it_weekday;
    std::list<MONTH*>::iterator it_season;
    bool bWeekdays;
    int iDay;
    int iWeek;
    int iYear;
    int iMinute;
    int iHour;
    int iTotal_days;
    int iLast_tick;
    bool bRunning;

    // Bounds no real calendar reaches; they keep the start-up walk short and every day
    // counter within int.
    static constexpr int MAX_MONTH_DAYS = 10000;
    static constexpr int MAX_YEAR_DAYS = 10000;

private:
    // Season changes falling on each day of a month: day -> number of changes.
    using SEASON_STEPS = std::unordered_map<const MONTH*, std::vector<int>>;

    void clear();
    SEASON_STEPS season_steps() const;
    // next_day, with the season changes looked up instead of searched when steps is given.
    void advance_day(const SEASON_STEPS* pSteps);
};
