#include "world/calendar/calendar.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "framework/colours.h"
#include "framework/entity.h"
#include "framework/helpers.h"
#include "framework/random.h"
#include "framework/word_file_reader.h"

namespace
{
constexpr int SECTION_BUFFER = 100;
// Longest calendar or month name a message shows.
constexpr size_t SHOWN_NAME = 100;

template <typename T>
T* nth(std::list<T*>& l_List, int n)
{
    auto it = l_List.begin();
    std::advance(it, n);
    return *it;
}
}

CALENDAR_DEF::~CALENDAR_DEF()
{
    delete_all(l_Months);
    delete_all(l_Seasons);
    delete_all(l_Weekdays);
    delete_all(l_Weekends);
}

CALENDAR* CALENDAR::instance()
{
    static CALENDAR* calInstance = new CALENDAR();
    return calInstance;
}

CALENDAR::CALENDAR()
{
    clear();
}

CALENDAR::~CALENDAR()
{
    delete_all(l_Calendars);
}

void CALENDAR::clear()
{
    delete_all(l_Calendars);
    calCurrent = nullptr;
    it_month = {};
    it_weekday = {};
    it_season = {};
    bWeekdays = true;
    iDay = 1;
    iWeek = 1;
    iYear = 0;
    iMinute = 0;
    iHour = 0;
    iTotal_days = 0;
    iLast_tick = 0;
    bRunning = false;
}

const char* CALENDAR::read_section(const char* sText, char* sSection)
{
    // sText stands on the section's "["; a missing "]" takes the rest of the line.
    if (*sText != '\0')
        ++sText;
    const char* sEnd = std::strchr(sText, ']');
    size_t iLength = sEnd ? static_cast<size_t>(sEnd - sText) : std::strlen(sText);
    if (iLength > SECTION_BUFFER - 1)
        iLength = SECTION_BUFFER - 1;
    std::memcpy(sSection, sText, iLength);
    sSection[iLength] = '\0';
    return sEnd ? sEnd + 1 : sText + std::strlen(sText);
}

void CALENDAR::load(const char* sPath)
{
    std::string sProblem = read_file(sPath);
    if (sProblem.empty())
        sProblem = check_definitions(sPath);
    if (!sProblem.empty())
        fatal_exit(FAILURE_EXIT_CODE, false, {sProblem});
    pick_calendar();
    randomise_date(1000);
}

std::string CALENDAR::read_file(const char* sPath)
{
    clear();
    WORD_FILE_READER reader(sPath);
    CALENDAR_DEF* calDef = nullptr;
    char sSection[SECTION_BUFFER] = "";
    // One name/number switch for the whole file: a month's name and days may stand under
    // different headers.
    bool bNumber = false;
    MONTH* mPending = nullptr;

    std::string sLine;
    while (reader.next_line(sLine))
    {
        if (sLine[0] == '[')
        {
            size_t iClose = sLine.find(']');
            std::string sName = sLine.substr(1, iClose == std::string::npos ? std::string::npos
                                                                             : iClose - 1);
            const char* sRest = iClose == std::string::npos ? "" : sLine.c_str() + iClose + 1;
            read_section(sRest, sSection);

            calDef = nullptr;
            for (CALENDAR_DEF* calFind : l_Calendars)
                if (calFind->sName == sName)
                {
                    calDef = calFind;
                    break;
                }
            if (!calDef)
            {
                calDef = new CALENDAR_DEF();
                calDef->sName = sName;
                l_Calendars.push_back(calDef);
            }
            continue;
        }

        const std::string sCurrent = calDef ? sSection : "";
        const bool bMonths = calDef && sCurrent == "months";
        const bool bSeasons = calDef && sCurrent == "seasons";
        WORD_FILE_READER::split_words(sLine, [&](const std::string& sWord) {
            if (bMonths || bSeasons)
            {
                if (!bNumber)
                {
                    delete mPending; // a name that never got its number
                    mPending = new MONTH();
                    mPending->sName = sWord;
                }
                else
                {
                    mPending->iDays = WORD_FILE_READER::read_int(sWord);
                    if (bMonths)
                    {
                        mPending->iIndex = static_cast<int>(calDef->l_Months.size());
                        calDef->l_Months.push_back(mPending);
                    }
                    else
                    {
                        calDef->l_Seasons.push_back(mPending);
                    }
                    mPending = nullptr;
                }
                bNumber = !bNumber;
            }
            else if (calDef && sCurrent == "weekdays")
                calDef->l_Weekdays.push_back(new std::string(sWord));
            else if (calDef && sCurrent == "weekends")
                calDef->l_Weekends.push_back(new std::string(sWord));
            else
                reader.report_unknown_section(sCurrent);
        });
    }
    delete mPending;
    return reader.finish();
}

std::string CALENDAR::check_definitions(const char* sPath) const
{
    // Every draw and day step below needs months with days and both kinds of day names.
    std::string sProblem;
    if (l_Calendars.empty())
        sProblem = "no calendar is defined";
    for (CALENDAR_DEF* calDef : l_Calendars)
    {
        if (!sProblem.empty())
            break;
        const std::string sWhich = "calendar \"" + cut_text(calDef->sName, SHOWN_NAME) + "\" ";
        if (calDef->l_Months.empty())
            sProblem = sWhich + "has no months";
        else if (calDef->l_Weekdays.empty())
            sProblem = sWhich + "has no weekdays";
        else if (calDef->l_Weekends.empty())
            sProblem = sWhich + "has no weekends";
        int iYear_days = 0;
        for (MONTH* mMonth : calDef->l_Months)
        {
            if (!sProblem.empty())
                break;
            const std::string sMonth = "has month \"" + cut_text(mMonth->sName, SHOWN_NAME) + "\"";
            if (mMonth->iDays < 1)
                sProblem = sWhich + sMonth + " with no days";
            else if (mMonth->iDays > MAX_MONTH_DAYS)
                sProblem = sWhich + sMonth + " of " + std::to_string(mMonth->iDays) + " days";
            else if ((iYear_days += mMonth->iDays) > MAX_YEAR_DAYS)
                sProblem = sWhich + "has more than " + std::to_string(MAX_YEAR_DAYS) +
                           " days in a year";
        }
    }
    if (sProblem.empty())
        return "";
    return std::string("ERROR:  ") + sPath + ":  " + sProblem + ".  A calendar needs months of 1 to " +
           std::to_string(MAX_MONTH_DAYS) + " days, at most " + std::to_string(MAX_YEAR_DAYS) +
           " days a year, weekdays and weekends.\n";
}

void CALENDAR::pick_calendar()
{
    int k = random_next() % static_cast<int>(l_Calendars.size());
    calCurrent = nth(l_Calendars, k);
    it_month = calCurrent->l_Months.begin();
    it_weekday = calCurrent->l_Weekdays.begin();
    it_season = calCurrent->l_Seasons.begin();
    iDay = 1;
    iWeek = 1;
    iYear = 1;
    iHour = 0;
    iMinute = 0;
}

void CALENDAR::randomise_date(int iYear_limit)
{
    int iTarget_year = random_next() % iYear_limit;
    int k = random_next() % static_cast<int>(calCurrent->l_Months.size());
    MONTH* mTarget = nth(calCurrent->l_Months, k);
    const std::string sTarget_month = mTarget->sName;
    int iTarget_day = random_next() % mTarget->iDays;

    // Up to a thousand years day by day: the season changes are looked up, not searched.
    const SEASON_STEPS a_Steps = season_steps();
    while (!(iYear > iTarget_year && (*it_month)->sName == sTarget_month && iDay >= iTarget_day))
        advance_day(&a_Steps);
}

CALENDAR::SEASON_STEPS CALENDAR::season_steps() const
{
    SEASON_STEPS a_Steps;
    for (MONTH* mMonth : calCurrent->l_Months)
    {
        std::vector<int>& a_Days = a_Steps[mMonth];
        a_Days.assign(static_cast<size_t>(mMonth->iDays) + 1, 0);
        // A change on a day its month never reaches never fires.
        for (MONTH* mSeason : calCurrent->l_Seasons)
            if (mSeason->sName == mMonth->sName && mSeason->iDays >= 1 &&
                mSeason->iDays <= mMonth->iDays)
                ++a_Days[mSeason->iDays];
    }
    return a_Steps;
}

void CALENDAR::next_day()
{
    advance_day(nullptr);
}

void CALENDAR::advance_day(const SEASON_STEPS* pSteps)
{
    if (!calCurrent)
        return;

    ++it_weekday;
    if (bWeekdays && it_weekday == calCurrent->l_Weekdays.end())
    {
        it_weekday = calCurrent->l_Weekends.begin();
        bWeekdays = false;
    }
    else if (!bWeekdays && it_weekday == calCurrent->l_Weekends.end())
    {
        it_weekday = calCurrent->l_Weekdays.begin();
        bWeekdays = true;
        ++iWeek;
    }

    ++iDay;
    ++iTotal_days;
    if (iDay > (*it_month)->iDays)
    {
        iDay = 1;
        iWeek = 1;
        ++it_month;
        if (it_month == calCurrent->l_Months.end())
        {
            it_month = calCurrent->l_Months.begin();
            ++iYear;
        }
    }

    int iChanges = 0;
    if (pSteps)
        iChanges = pSteps->find(*it_month)->second[iDay];
    else
        for (MONTH* mSeason : calCurrent->l_Seasons)
            if (mSeason->sName == (*it_month)->sName && mSeason->iDays == iDay)
                ++iChanges;
    for (int i = 0; i < iChanges; ++i)
    {
        ++it_season;
        if (it_season == calCurrent->l_Seasons.end())
            it_season = calCurrent->l_Seasons.begin();
    }
}

void CALENDAR::update()
{
    if (!bRunning)
        return;
    if (std::abs(game_time - iLast_tick) >= 2)
    {
        add_minutes(22);
        iLast_tick = game_time;
    }
}

void CALENDAR::add_minutes(int n)
{
    iMinute += n;
    add_hours(iMinute / 60);
    iMinute = iMinute % 60;
}

void CALENDAR::add_hours(int n)
{
    iHour += n;
    add_days(iHour / 24);
    iHour = iHour % 24;
}

void CALENDAR::add_days(int n)
{
    for (int i = 0; i < n; ++i)
        next_day();
}

TIME_STAMP* CALENDAR::now() const
{
    TIME_STAMP* tsNow = new TIME_STAMP();
    fill_stamp(tsNow);
    return tsNow;
}

void CALENDAR::fill_stamp(TIME_STAMP* stamp) const
{
    stamp->iDays = iTotal_days;
    stamp->iHour = iHour;
    stamp->iMinute = iMinute;
}

int CALENDAR::hours_since(const TIME_STAMP* stamp) const
{
    TIME_STAMP* tsNow = now();
    if (tsNow->iMinute < stamp->iMinute)
        tsNow->iHour -= 1;
    int h = tsNow->iHour - stamp->iHour;
    if (h < 0)
    {
        h += 24;
        tsNow->iDays -= 1;
    }
    int iResult = (tsNow->iDays - stamp->iDays) * 24 + h;
    delete tsNow;
    return iResult;
}

int CALENDAR::days_since(const TIME_STAMP* stamp) const
{
    return iTotal_days - stamp->iDays;
}

std::string CALENDAR::season_name() const
{
    if (!calCurrent || calCurrent->l_Seasons.empty())
        return "Winter";
    auto it = std::list<MONTH*>::const_iterator(it_season);
    switch (std::distance(calCurrent->l_Seasons.cbegin(), it))
    {
    case 1:
        return "Spring";
    case 2:
        return "Summer";
    case 3:
        return "Fall";
    default:
        return "Winter";
    }
}

std::string CALENDAR::date_string() const
{
    char sText[64];
    snprintf(sText, sizeof(sText), "%d/%d/%d", calCurrent ? (*it_month)->iIndex : 0, iDay, iYear);
    return sText;
}

std::string CALENDAR::day_text() const
{
    if (!calCurrent)
        return "";
    // "%s, %s %d, %d": built as a string, since the names may be of any length.
    return **it_weekday + ", " + (*it_month)->sName + " " + std::to_string(iDay) + ", " +
           std::to_string(iYear);
}

std::string CALENDAR::time_text() const
{
    char sText[32];
    if (iHour < 12)
        snprintf(sText, sizeof(sText), "%d:%2.2dAM", iHour == 0 ? 12 : iHour, iMinute);
    else
        snprintf(sText, sizeof(sText), "%d:%2.2dPM", iHour - 12 == 0 ? 12 : iHour - 12, iMinute);
    return sText;
}

void CALENDAR::draw(BITMAP* target)
{
    if (!calCurrent)
        return;
    const std::string sDate = day_text();
    textprintf_right_ex(target, font, 621, 461, BLACK, -1, "%s", sDate.c_str());
    textprintf_right_ex(target, font, 620, 460, LIGHT_BLUE, -1, "%s", sDate.c_str());

    textprintf_right_ex(target, font, 620, 470, LIGHT_BLUE, -1, "%s", time_text().c_str());

    const std::string sSeason = season_name();
    int iColour = ROSY_BROWN;
    if (sSeason == "Winter")
        iColour = WHITE;
    else if (sSeason == "Spring")
        iColour = SPRING_GREEN;
    else if (sSeason == "Summer")
        iColour = LIGHT_YELLOW;
    textprintf_right_ex(target, font, 551, 471, BLACK, -1, "%s", sSeason.c_str());
    textprintf_right_ex(target, font, 550, 470, iColour, -1, "%s", sSeason.c_str());
}
