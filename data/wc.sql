-- Table wc of wc.db: the weather conditions a weather can show.
--   condition          the text shown in the status bar
--   a_min, a_max       range of parameter A (0 to 100; cloud and wet: low is clear, high is stormy)
--   b_min, b_max       range of parameter B (0 to 100; wind: low is calm, high is a gale)
--   t_min, t_max       range of the temperature in degrees F; all bounds are inclusive.
--                      A t_min of 0 means no lower bound; a t_max of 100 means no upper bound
--                      (and -100 would mean -1000), so only open-ended bands use those values.
--   terrain            0 any cell, 1 desert cells only, 2 anywhere but a desert (also no cell)
--   extra              kept, not read
-- The first sixteen rows tile every A and temperature for any B and terrain, so a condition is
-- always found; the rows after them add the flavour of particular winds, terrain and extremes.
CREATE TABLE wc(condition TEXT, a_min INTEGER, a_max INTEGER, b_min INTEGER, b_max INTEGER,
                t_min INTEGER, t_max INTEGER, terrain INTEGER, extra INTEGER);

-- Clear skies.
INSERT INTO wc VALUES('Clear and Frosty',      0,  30,   0, 100,   0,  32, 0, 0);
INSERT INTO wc VALUES('Crisp and Clear',       0,  30,   0, 100,  32,  50, 0, 0);
INSERT INTO wc VALUES('Sunny',                 0,  30,   0, 100,  50,  85, 0, 0);
INSERT INTO wc VALUES('Hot and Sunny',         0,  30,   0, 100,  85, 100, 0, 0);
-- Clouds.
INSERT INTO wc VALUES('Snow Clouds',          30,  60,   0, 100,   0,  32, 0, 0);
INSERT INTO wc VALUES('Cloudy',               30,  60,   0, 100,  32,  50, 0, 0);
INSERT INTO wc VALUES('Partly Cloudy',        30,  60,   0, 100,  50,  85, 0, 0);
INSERT INTO wc VALUES('Sultry',               30,  60,   0, 100,  85, 100, 0, 0);
-- Rain and snow.
INSERT INTO wc VALUES('Snow',                 60,  85,   0, 100,   0,  32, 0, 0);
INSERT INTO wc VALUES('Sleet',                60,  85,   0, 100,  32,  50, 0, 0);
INSERT INTO wc VALUES('Rain',                 60,  85,   0, 100,  50,  85, 0, 0);
INSERT INTO wc VALUES('Warm Rain',            60,  85,   0, 100,  85, 100, 0, 0);
-- Storms.
INSERT INTO wc VALUES('Heavy Snow',           85, 100,   0, 100,   0,  32, 0, 0);
INSERT INTO wc VALUES('Cold Downpour',        85, 100,   0, 100,  32,  50, 0, 0);
INSERT INTO wc VALUES('Thunderstorm',         85, 100,   0, 100,  50,  85, 0, 0);
INSERT INTO wc VALUES('Tropical Storm',       85, 100,   0, 100,  85, 100, 0, 0);

-- Cold.
INSERT INTO wc VALUES('Blizzard',             70, 100,  60, 100,   0,  25, 0, 0);
INSERT INTO wc VALUES('Snow Flurries',        40,  70,   0,  60,   0,  34, 0, 0);
INSERT INTO wc VALUES('Diamond Dust',          0,  20,   0,  30,   0, -10, 0, 0);
INSERT INTO wc VALUES('Deadly Cold',           0, 100,   0, 100,   0, -60, 0, 0);
INSERT INTO wc VALUES('Ice Fog',              30,  60,   0,  20,   0,  20, 2, 0);
INSERT INTO wc VALUES('Hoarfrost',            20,  50,   0,  20,   0,  30, 2, 0);
INSERT INTO wc VALUES('Freezing Rain',        70,  90,   0,  60,  28,  34, 2, 0);
-- Fog, mist and drizzle: never in a desert.
INSERT INTO wc VALUES('Fog',                  40,  75,   0,  25,  32,  70, 2, 0);
INSERT INTO wc VALUES('Mist',                 50,  80,   0,  30,  40,  75, 2, 0);
INSERT INTO wc VALUES('Drizzle',              55,  75,   0,  50,  38,  80, 2, 0);
-- Wind.
INSERT INTO wc VALUES('Gusty Winds',           0,  60,  70, 100,  20,  90, 0, 0);
INSERT INTO wc VALUES('Gale',                 50, 100,  85, 100,  32,  90, 2, 0);
INSERT INTO wc VALUES('Hailstorm',            80, 100,  50, 100,  32,  60, 0, 0);
INSERT INTO wc VALUES('Lightning Storm',      90, 100,  60, 100,  60,  95, 0, 0);
-- Heat.
INSERT INTO wc VALUES('Heat Haze',             0,  35,   0,  40,  90, 100, 0, 0);
INSERT INTO wc VALUES('Scorching Heat',        0, 100,   0, 100, 120, 100, 0, 0);
INSERT INTO wc VALUES('Muggy',                50,  80,   0,  30,  80, 100, 2, 0);
INSERT INTO wc VALUES('Monsoon',              85, 100,  40, 100,  80, 100, 2, 0);
-- Deserts only.
INSERT INTO wc VALUES('Sandstorm',             0,  60,  60, 100,  60, 100, 1, 0);
INSERT INTO wc VALUES('Dust Devils',           0,  40,  40,  80,  80, 100, 1, 0);
INSERT INTO wc VALUES('Dry Heat',              0,  60,   0,  60,  95, 100, 1, 0);
INSERT INTO wc VALUES('Blistering Heat',       0,  50,   0, 100, 110, 100, 1, 0);
