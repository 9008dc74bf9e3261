#pragma once

// The temperature model of a planet: one world temperature draw fixes how cold the world is,
// and with a star and an orbit a base temperature, a drop towards the poles, a random spread
// and an offset. Temperatures are degrees Fahrenheit.
class CLIMATE
{
public:
    CLIMATE();
    // Makes the world temperature draw (its only draw) and shows the world's temperature class
    // at (10, 0) on the screen. Albedo and fraction above 1.0 are used as 1.0.
    CLIMATE(int warming, float star_temperature, float star_radius, float albedo, float fraction,
            float orbit);
    ~CLIMATE();

    // Temperature of one cell; one draw for the random spread. The hot distance is not used.
    int pixel_temperature(int hot_distance, int latitude, int noise_pixel, float height);

    static float kelvin_to_fahrenheit(float k);
    static float kelvin_to_celsius(float k);
    static float celsius_to_kelvin(float c);
    static float fahrenheit_to_kelvin(float f);
    static float fahrenheit_to_celsius(float f);
    static float celsius_to_fahrenheit(float c);

    float fBase;        // at the equator, before spread, noise factor, height lapse and offset
    float fReserved;
    float fSpread;      // a cell loses a random share of it: 0 to WORLD_WIDTH - 1 in WORLD_WIDTH
    float fPole_drop;   // from the equator to the pole, half the world's height away
    int iOffset;        // added last: 0, 30 or 50
};
