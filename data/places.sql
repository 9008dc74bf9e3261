-- Table places of words.db: the words that name and picture the nodes.
--   location     the word, capitalised (no apostrophes: it is quoted into SQL as it stands)
--   min, max     flag 0 and 1: a node's height must lie strictly between them (sea level 5000);
--                flag 2: the lowest and highest population of the settlement kind
--   temperature  0 any, 1 below 40 F, 2 from 40 to 95 F, 3 above 95 F
--   connection   0 any, 1 at most 4 edges, 2 more than 4, 3 at most 2 (dead ends)
--   stage        0 any rank, 1 rank 3 and up, 2 rank 6 and up (unranked nodes pass all)
--   flag         0 place, 1 dungeon, 2 settlement kind
--   image        tile of Nodes.pcx: column image % 10, row image / 10
-- Height bands: deep sea -25000..3000, shallows 3001..5000, shore 5001..5300,
-- lowland 5301..10050, highland 10051..14000, peaks 14001..25000. Every band keeps
-- some words with no temperature, edge or rank rule so that every node finds one.
CREATE TABLE places(location TEXT, min INTEGER, max INTEGER, temperature INTEGER,
                    connection INTEGER, stage INTEGER, flag INTEGER, image INTEGER);

-- Settlement kinds, smallest first.
INSERT INTO places VALUES('Hamlet',      20,   150, 0, 0, 0, 2, 1);
INSERT INTO places VALUES('Village',    120,  1200, 0, 0, 0, 2, 2);
INSERT INTO places VALUES('Town',      1000,  8000, 0, 0, 0, 2, 3);
INSERT INTO places VALUES('City',      6000, 60000, 0, 0, 0, 2, 4);

-- Places: deep sea.
INSERT INTO places VALUES('Abyss',          -25001,  3001, 0, 0, 0, 0, 5);
INSERT INTO places VALUES('Trench',         -25001,  3001, 0, 0, 0, 0, 5);
INSERT INTO places VALUES('Deeps',          -25001,  3001, 0, 0, 0, 0, 5);
INSERT INTO places VALUES('Open Sea',       -25001,  3001, 0, 0, 0, 0, 5);
INSERT INTO places VALUES('Maelstrom',      -25001,  3001, 0, 2, 0, 0, 6);
INSERT INTO places VALUES('Whirlpool',      -25001,  5001, 0, 3, 0, 0, 6);
INSERT INTO places VALUES('Sunken Ruins',   -25001,  3001, 0, 0, 1, 0, 31);
INSERT INTO places VALUES('Leviathan Grave',-25001,  3001, 0, 0, 2, 0, 34);
-- Places: shallows, and the sea at any depth.
INSERT INTO places VALUES('Shoals',           3000,  5001, 0, 0, 0, 0, 7);
INSERT INTO places VALUES('Sound',            3000,  5001, 0, 0, 0, 0, 7);
INSERT INTO places VALUES('Bay',              3000,  5001, 0, 0, 0, 0, 7);
INSERT INTO places VALUES('Waters',         -25001,  5001, 0, 0, 0, 0, 7);
INSERT INTO places VALUES('Strait',           3000,  5001, 0, 2, 0, 0, 7);
INSERT INTO places VALUES('Lagoon',           3000,  5001, 2, 0, 0, 0, 7);
INSERT INTO places VALUES('Reef',             3000,  5001, 0, 0, 0, 0, 8);
INSERT INTO places VALUES('Coral Reef',       3000,  5001, 3, 0, 0, 0, 8);
INSERT INTO places VALUES('Icebergs',       -25001,  5001, 1, 0, 0, 0, 9);
INSERT INTO places VALUES('Ice Floes',        3000,  5001, 1, 0, 0, 0, 9);
INSERT INTO places VALUES('Wreck',            3000,  5001, 0, 0, 1, 0, 10);
INSERT INTO places VALUES('Drowned Ruins',    3000,  5001, 0, 0, 2, 0, 31);
-- Places: shore.
INSERT INTO places VALUES('Beach',            5000,  5301, 0, 0, 0, 0, 11);
INSERT INTO places VALUES('Strand',           5000,  5301, 0, 0, 0, 0, 11);
INSERT INTO places VALUES('Cape',             5000,  5301, 0, 0, 0, 0, 12);
INSERT INTO places VALUES('Lighthouse',       5000,  5301, 0, 3, 0, 0, 12);
INSERT INTO places VALUES('Landing',          5000,  5301, 0, 0, 0, 0, 13);
INSERT INTO places VALUES('Cove',             4500,  5301, 0, 3, 0, 0, 13);
INSERT INTO places VALUES('Harbour',          5000,  5301, 0, 2, 0, 0, 13);
INSERT INTO places VALUES('Mangroves',        5000,  5301, 3, 0, 0, 0, 29);
INSERT INTO places VALUES('Salt Flats',       5000,  5301, 3, 0, 0, 0, 27);
INSERT INTO places VALUES('Shipwreck',        5000,  5301, 0, 0, 1, 0, 10);
INSERT INTO places VALUES('Wreckers Rocks',   5000,  5301, 0, 0, 2, 0, 34);
-- Places: lowland.
INSERT INTO places VALUES('Meadow',           5300, 10051, 0, 0, 0, 0, 17);
INSERT INTO places VALUES('Field',            5300, 10051, 0, 0, 0, 0, 17);
INSERT INTO places VALUES('Farm',             5300, 10051, 2, 0, 0, 0, 17);
INSERT INTO places VALUES('Vineyard',         5300, 10051, 2, 0, 0, 0, 17);
INSERT INTO places VALUES('Mill',             5300, 10051, 0, 0, 0, 0, 16);
INSERT INTO places VALUES('Grove',            5300, 10051, 0, 0, 0, 0, 14);
INSERT INTO places VALUES('Woods',            5300, 14001, 0, 0, 0, 0, 14);
INSERT INTO places VALUES('Orchard',          5300, 10051, 2, 0, 0, 0, 14);
INSERT INTO places VALUES('Glade',            5300, 10051, 2, 1, 0, 0, 14);
INSERT INTO places VALUES('Pine Forest',      5300, 14001, 1, 0, 0, 0, 15);
INSERT INTO places VALUES('Ford',             5000, 10051, 0, 0, 0, 0, 18);
INSERT INTO places VALUES('Bridge',           5300, 10051, 0, 1, 0, 0, 18);
INSERT INTO places VALUES('Inn',              5000, 14001, 0, 0, 0, 0, 19);
INSERT INTO places VALUES('Homestead',        5300, 10051, 0, 3, 0, 0, 19);
INSERT INTO places VALUES('Shrine',           5000, 14001, 0, 0, 0, 0, 20);
INSERT INTO places VALUES('Hermitage',        5000, 25001, 0, 3, 0, 0, 20);
INSERT INTO places VALUES('Crossroads',       5000, 14001, 0, 2, 0, 0, 21);
INSERT INTO places VALUES('Market',           5000, 10051, 0, 2, 0, 0, 21);
INSERT INTO places VALUES('Waystation',       5000, 25001, 0, 2, 0, 0, 21);
INSERT INTO places VALUES('Vale',             5300, 10051, 0, 0, 0, 0, 22);
INSERT INTO places VALUES('Marsh',            5000,  7001, 0, 0, 0, 0, 29);
INSERT INTO places VALUES('Fen',              5000,  7001, 2, 0, 0, 0, 29);
INSERT INTO places VALUES('Tundra',           5000, 14001, 1, 0, 0, 0, 25);
INSERT INTO places VALUES('Snowfield',        5000, 25001, 1, 0, 0, 0, 25);
INSERT INTO places VALUES('Oasis',            5000, 14001, 3, 0, 0, 0, 26);
INSERT INTO places VALUES('Jungle',           5300, 10051, 3, 0, 0, 0, 26);
INSERT INTO places VALUES('Savanna',          5300, 10051, 3, 0, 0, 0, 26);
INSERT INTO places VALUES('Dunes',            5000, 14001, 3, 0, 0, 0, 27);
INSERT INTO places VALUES('Battlefield',      5000, 14001, 0, 0, 1, 0, 34);
INSERT INTO places VALUES('Graveyard',        5000, 14001, 0, 0, 1, 0, 32);
INSERT INTO places VALUES('Gallows',          5000, 14001, 0, 0, 1, 0, 33);
INSERT INTO places VALUES('Blighted Fields',  5300, 10051, 0, 0, 2, 0, 34);
INSERT INTO places VALUES('Plague Pits',      5000, 14001, 0, 0, 2, 0, 32);
-- Places: highland.
INSERT INTO places VALUES('Hills',           10050, 14001, 0, 0, 0, 0, 22);
INSERT INTO places VALUES('Downs',           10050, 14001, 0, 0, 0, 0, 22);
INSERT INTO places VALUES('Heath',            7000, 14001, 0, 0, 0, 0, 22);
INSERT INTO places VALUES('Tor',             10050, 14001, 0, 0, 0, 0, 22);
INSERT INTO places VALUES('Ridge',           10050, 25001, 0, 0, 0, 0, 24);
INSERT INTO places VALUES('Pass',            10050, 25001, 0, 2, 0, 0, 24);
INSERT INTO places VALUES('Watchtower',       5000, 25001, 0, 0, 0, 0, 23);
INSERT INTO places VALUES('Lookout',         10050, 25001, 0, 3, 0, 0, 23);
INSERT INTO places VALUES('Quarry',          10050, 14001, 0, 0, 0, 0, 39);
INSERT INTO places VALUES('Standing Stones',  5300, 14001, 0, 0, 0, 0, 30);
INSERT INTO places VALUES('Mesa',            10050, 14001, 3, 0, 0, 0, 27);
INSERT INTO places VALUES('Badlands',        10050, 14001, 3, 0, 0, 0, 27);
INSERT INTO places VALUES('Canyon',          10050, 25001, 3, 0, 0, 0, 27);
INSERT INTO places VALUES('Barrow Hill',     10050, 14001, 0, 0, 1, 0, 32);
INSERT INTO places VALUES('Gibbet',          10050, 25001, 0, 0, 1, 0, 33);
INSERT INTO places VALUES('Ruined Keep',      5300, 25001, 0, 0, 2, 0, 31);
-- Places: peaks.
INSERT INTO places VALUES('Peak',            14000, 25001, 0, 0, 0, 0, 24);
INSERT INTO places VALUES('Summit',          14000, 25001, 0, 0, 0, 0, 24);
INSERT INTO places VALUES('Crag',            14000, 25001, 0, 0, 0, 0, 24);
INSERT INTO places VALUES('Spire',           14000, 25001, 0, 0, 0, 0, 24);
INSERT INTO places VALUES('Pinnacle',        14000, 25001, 0, 3, 0, 0, 24);
INSERT INTO places VALUES('Glacier',         12000, 25001, 1, 0, 0, 0, 9);
INSERT INTO places VALUES('Icefall',         14000, 25001, 1, 0, 0, 0, 25);
INSERT INTO places VALUES('Volcano',         12000, 25001, 3, 0, 0, 0, 28);
INSERT INTO places VALUES('Monastery',       10050, 25001, 2, 3, 0, 0, 20);
INSERT INTO places VALUES('Eyrie',           14000, 25001, 0, 3, 0, 0, 35);
INSERT INTO places VALUES('Skull Peak',      14000, 25001, 0, 0, 1, 0, 34);
INSERT INTO places VALUES('Dragon Roost',    14000, 25001, 0, 0, 2, 0, 35);

-- Dungeons: land only (heights 5001 to 25000).
INSERT INTO places VALUES('Cave',             5000, 25001, 0, 0, 0, 1, 36);
INSERT INTO places VALUES('Den',              5000, 25001, 0, 0, 0, 1, 37);
INSERT INTO places VALUES('Lair',             5000, 25001, 0, 0, 0, 1, 37);
INSERT INTO places VALUES('Grotto',           5000, 14001, 0, 0, 0, 1, 36);
INSERT INTO places VALUES('Sea Cave',         5000,  5301, 0, 0, 0, 1, 36);
INSERT INTO places VALUES('Smugglers Den',    5000,  5301, 0, 3, 0, 1, 37);
INSERT INTO places VALUES('Warren',           5300, 10051, 0, 0, 0, 1, 37);
INSERT INTO places VALUES('Barrow',           5300, 14001, 0, 0, 0, 1, 38);
INSERT INTO places VALUES('Cavern',          10050, 25001, 0, 0, 0, 1, 36);
INSERT INTO places VALUES('Mine',            10050, 25001, 0, 0, 0, 1, 39);
INSERT INTO places VALUES('Delve',           10050, 25001, 0, 1, 0, 1, 39);
INSERT INTO places VALUES('Ice Cave',         5000, 25001, 1, 0, 0, 1, 40);
INSERT INTO places VALUES('Frozen Tomb',      5000, 25001, 1, 0, 1, 1, 40);
INSERT INTO places VALUES('Pyramid',          5000, 14001, 3, 0, 0, 1, 41);
INSERT INTO places VALUES('Sand Tomb',        5000, 14001, 3, 0, 1, 1, 41);
INSERT INTO places VALUES('Scorpion Nest',    5000, 14001, 3, 0, 0, 1, 44);
INSERT INTO places VALUES('Spider Nest',      5300, 14001, 2, 0, 0, 1, 44);
INSERT INTO places VALUES('Pit',              5000, 25001, 0, 3, 0, 1, 42);
INSERT INTO places VALUES('Sinkhole',         5000, 14001, 0, 3, 0, 1, 42);
INSERT INTO places VALUES('Labyrinth',        5000, 25001, 0, 2, 0, 1, 43);
INSERT INTO places VALUES('Undercity',        5000, 14001, 0, 2, 1, 1, 43);
INSERT INTO places VALUES('Crypt',            5000, 25001, 0, 0, 1, 1, 38);
INSERT INTO places VALUES('Tomb',             5000, 25001, 0, 0, 1, 1, 38);
INSERT INTO places VALUES('Catacombs',        5300, 14001, 0, 0, 1, 1, 38);
INSERT INTO places VALUES('Dungeon',          5000, 25001, 0, 0, 1, 1, 43);
INSERT INTO places VALUES('Ossuary',          5000, 25001, 0, 0, 2, 1, 45);
INSERT INTO places VALUES('Bone Pit',         5000, 25001, 0, 3, 2, 1, 45);
INSERT INTO places VALUES('Necropolis',       5300, 25001, 0, 0, 2, 1, 46);
INSERT INTO places VALUES('Dark Fortress',   10050, 25001, 0, 0, 2, 1, 46);
INSERT INTO places VALUES('Dragon Lair',     14000, 25001, 0, 0, 2, 1, 47);
INSERT INTO places VALUES('Hellmouth',       12000, 25001, 3, 0, 2, 1, 47);
