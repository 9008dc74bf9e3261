#pragma once

// Every file the game reads or writes while it runs, relative to its working directory:
// config.ini beside data/, which holds the inputs, the save database and the windows'
// scratch database. The build lays out its run directory the same way.

// Settings, read once at start-up.
inline constexpr char CONFIG_PATH[] = "config.ini";

// Inputs, prepared outside the game.
inline constexpr char WORDS_FILE_PATH[] = "./data/words.dat";
inline constexpr char CALENDARS_FILE_PATH[] = "./data/calendars.dat";
inline constexpr char WORDS_DB_PATH[] = "./data/words.db";
inline constexpr char WC_DB_PATH[] = "./data/wc.db";
inline constexpr char NODES_IMAGE_PATH[] = "./data/images/Nodes.pcx";
inline constexpr char SIGNIFICANT_LOCATIONS_IMAGE_PATH[] = "./data/images/significant_locations.bmp";
inline constexpr char SMILEY_IMAGE_PATH[] = "./data/images/smiley.bmp";

// The game's own: the save database, made anew every start, and the table windows' scratch
// database, made when missing.
inline constexpr char SAVE_DB_PATH[] = "./data/save_game.db";
inline constexpr char SCROLL_WINDOW_DB_PATH[] = "./data/scroll_window.txt";
