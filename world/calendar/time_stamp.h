#pragma once

// A moment of the game clock: the day count and the time of day. CALENDAR::now hands one
// out; the caller deletes it.
struct TIME_STAMP
{
    int iDays = 0;
    int iHour = 0;
    int iMinute = 0;
};
