#pragma once

#include <allegro.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <list>
#include <string>
#include <vector>

// Every test program starts Allegro without a system driver and with 32-bit pixels laid out
// as 0xRRGGBB, so colour constants are the pixels they draw.

// Runs f with stdout captured and returns what Allegro's message boxes printed.
template <typename F>
std::string capture_messages(F f);

std::string begin_capture();
std::string end_capture();

template <typename F>
std::string capture_messages(F f)
{
    begin_capture();
    f();
    return end_capture();
}

// A death test of code that shows a message box and ends the process. The boxes print to
// stdout; the child sends that to stderr, where the pattern is matched. What the child
// printed before is flushed first, so that the pattern sees the statement's boxes alone.
#define EXPECT_EXIT_SAYING(statement, code, pattern) \
    EXPECT_EXIT({ fflush(stdout); dup2(2, 1); statement; }, ::testing::ExitedWithCode(code), pattern)

// A 32-bit memory bitmap cleared to the given colour.
BITMAP* make_test_bitmap(int w, int h, int colour);
// Same size and every pixel equal.
bool same_pixels(BITMAP* a, BITMAP* b);

// Loads the bitmap into an image cache slot the way the game loads its sheets, through a
// file that is removed again; returns IMAGE_CACHE::load's position.
int load_into_cache(int slot, BITMAP* bmp);

// The texts of a word list, in order.
std::vector<std::string> texts(const std::list<std::string*>& l_List);

// The next draws of a seed (it reseeds the random source).
std::vector<int> draws_of(unsigned int seed, int count);
// The first seed from 1 whose next count draws pass the test.
unsigned int seed_where(int count, const std::function<bool(const std::vector<int>&)>& test);

// This process's scratch directory, made on first use and removed with its files when the
// process ends. A program using it runs its death tests in the threadsafe style, so that a
// forked child ending with exit does not remove the parent's directory.
std::filesystem::path scratch_dir();
// Writes the text to the named file in scratch_dir() and returns its path.
std::string write_file(const std::string& sName, const std::string& sText);

// Builds a database from an SQL script.
void make_database(const std::filesystem::path& path, const std::string& strSql);

// While it lives, the working directory is a fresh one of its own, removed afterwards.
class WORKING_DIRECTORY
{
public:
    WORKING_DIRECTORY();
    ~WORKING_DIRECTORY();
    WORKING_DIRECTORY(const WORKING_DIRECTORY&) = delete;
    WORKING_DIRECTORY& operator=(const WORKING_DIRECTORY&) = delete;

    std::filesystem::path pathOld;
    std::filesystem::path pathDir;
};
