#pragma once

#include <allegro.h>

#include <memory>
#include <string>

#include "framework/entity.h"
#include "world/calendar/calendar.h"

struct CELL;

// The weather of one node or of the traveller: a day's high and low drifting around the
// cell's base temperature, a current temperature following the hour and season, and two
// parameters A and B that pick the condition shown.
class WEATHER : public ENTITY
{
public:
    WEATHER();
    WEATHER(float a, float b, float base, CELL* cell);
    ~WEATHER();
    WEATHER(const WEATHER&) = delete;
    WEATHER& operator=(const WEATHER&) = delete;

    void update() override;
    using ENTITY::draw;
    void update_temperature();
    // The status-bar text; not the entity's draw.
    void draw(BITMAP* target, int y);

    float get_param_a() const { return fParam_a; }
    float get_param_b() const { return fParam_b; }
    float get_temperature() const { return fTemperature; }
    const std::string& get_text() const { return sText; }
    int get_spare() const { return iSpare_a; }

    void set_param_a(float a);
    void set_param_b(float b);
    void set_temperature(float t);
    void set_cell(CELL* cell);
    void set_node_id(int id);
    void set_seasonal_temperature(float t);
    int season_adjusted(float t);

    void daily_record();
    void first_roll();
    void seasonal_reroll();
    void init();

protected:
    float fParam_a;
    float fParam_b;
    float fTemperature;
    float fBase;
    float fHigh;
    float fLow;
    int iNode_id; // -1: writes no rows
    CELL* pCell;  // not owned
    std::string sText;
    std::unique_ptr<TIME_STAMP> tsChange; // last choice of the condition
    std::unique_ptr<TIME_STAMP> tsDay;    // last daily record
    int iSpare_a;
    int iSpare_b;

private:
    int season_offset();
};
