#include "world/planet/climate.h"

#include <allegro.h>

#include <cmath>

#include "framework/colours.h"
#include "framework/random.h"
#include "world/geometry.h"
#include "world/planet/planet_detail.h"

namespace
{
const char* temperature_class(int g)
{
    if (g > 200)
        return "World Temperature:  Ice Age";
    if (g > 125)
        return "World Temperature:  Cold";
    // 76..95 lies between the tropical and the temperate worlds in offset and pole drop;
    // it is shown with the temperate ones rather than as the hottest class.
    if (g > 75)
        return "World Temperature:  Temperate";
    if (g > 50)
        return "World Temperature:  Tropical";
    return "World Temperature:  Scorching hot!";
}
}

CLIMATE::CLIMATE()
    : fBase(0.0f), fReserved(0.0f), fSpread(0.0f), fPole_drop(0.0f), iOffset(0)
{
}

CLIMATE::CLIMATE(int warming, float star_temperature, float star_radius, float albedo,
                 float fraction, float orbit)
    : fReserved(0.0f)
{
    int g = 30 + random_next() % 200;   // larger is colder

    if (albedo > 1.0f)
        albedo = 1.0f;
    if (fraction > 1.0f)
        fraction = 1.0f;

    if (g > 200)
        iOffset = 0;
    else if (g < 50)
        iOffset = 50;
    else
        iOffset = 30;

    planet_detail::show_progress(0, temperature_class(g));

    const double dEarth_orbit = 1.496 * std::pow(10.0, 11.0);
    fSpread = (float)(20.0 / dEarth_orbit * orbit);
    fPole_drop = (float)(g / dEarth_orbit * orbit);

    // Equilibrium temperature of a body lit by the star, plus the warming.
    float fS = (1 - albedo) - fraction / 2;
    // Once albedo and fraction are both near 1 no light is left to keep; the square root
    // below is only defined from 0 up.
    if (fS < 0.0f)
        fS = 0.0f;
    float fQ = (float)(std::sqrt((double)fS) / (2 * orbit) * star_radius);
    float fKelvin = (float)(star_temperature * std::sqrt((double)fQ) + warming);

    fBase = kelvin_to_fahrenheit(fKelvin);
    fBase = (float)(fBase + 70.0);
}

CLIMATE::~CLIMATE()
{
}

int CLIMATE::pixel_temperature(int hot_distance, int latitude, int noise_pixel, float height)
{
    (void)hot_distance;
    float fGreen = (float)colour_green(noise_pixel);
    float fPer_row = fPole_drop / (WORLD_HEIGHT / 2);
    float fLatitude = latitude * fPer_row;
    float fPer_step = fSpread / (WORLD_WIDTH / 2);
    float fRandom = (random_next() % WORLD_WIDTH) * fPer_step / 2;
    // More green on the noise map is cooler.
    float fFactor = 1.0f;
    if (fGreen != 0.0f)
        fFactor = (float)(fGreen * -0.00075 + 1.04125);
    // Counted from height 0, not from sea level.
    float fLapse = (float)(height / 1000 * 3.6);
    float fResult = ((fBase - fLatitude - fRandom) * fFactor - fLapse) + iOffset;
    return (int)fResult;
}

float CLIMATE::kelvin_to_fahrenheit(float k)
{
    return (float)(k * 1.8 - 459.67);
}

float CLIMATE::kelvin_to_celsius(float k)
{
    return (float)(k - 273.15);
}

float CLIMATE::celsius_to_kelvin(float c)
{
    return (float)(c + 273.15);
}

float CLIMATE::fahrenheit_to_kelvin(float f)
{
    return (float)((f + 459.67) * 5.0 / 9.0);
}

float CLIMATE::fahrenheit_to_celsius(float f)
{
    return (float)((f - 32.0) * 5.0 / 9.0);
}

float CLIMATE::celsius_to_fahrenheit(float c)
{
    return (float)(c * 9.0 / 5.0 + 32.0);
}
