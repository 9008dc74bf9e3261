#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "framework/helpers.h"
#include "framework/run_files.h"
#include "tests/headless.h"

TEST(Distances, StraightAndAroundTheSeam)
{
    EXPECT_FLOAT_EQ(distance(0, 0, 3, 4), 5.0f);
    EXPECT_FLOAT_EQ(vector_length(-3, -4), 5.0f);
    EXPECT_FLOAT_EQ(distance(10, 100, 630, 100), 620.0f);
    EXPECT_FLOAT_EQ(vector_length(640 - 620, 0), 20.0f);
}

TEST(BitmapHelpers, SubBitmapIsAWindowOntoItsParent)
{
    BITMAP* bmpParent = make_test_bitmap(16, 12, 0);
    BITMAP* bmpSub = create_sub_bitmap_or_die(bmpParent, 5, 3, 6, 4);
    EXPECT_EQ(bmpSub->w, 6);
    EXPECT_EQ(bmpSub->h, 4);
    putpixel(bmpSub, 0, 0, 0x112233);
    putpixel(bmpSub, 5, 3, 0x445566);
    EXPECT_EQ(getpixel(bmpParent, 5, 3), 0x112233);
    EXPECT_EQ(getpixel(bmpParent, 10, 6), 0x445566);
    destroy_bitmap_if(bmpSub);
    destroy_bitmap_if(bmpParent);
}

TEST(FatalExitDeathTest, ShowsEveryMessageInOrderAndEndsWithTheCodeGiven)
{
    EXPECT_EXIT_SAYING(fatal_exit(FAILURE_EXIT_CODE, false, {"first 100%s\n", "second\n"}), 1,
                       "^first 100%s\nsecond\n$");
    EXPECT_EXIT_SAYING(fatal_exit(3, true, {"only\n"}), 3, "^only\n$");
    EXPECT_EXIT_SAYING(fatal_exit(FAILURE_EXIT_CODE, true, {}), 1, "^$");
}

TEST(BitmapHelpersDeathTest, MissingImageEndsWithMessageAndCodeOne)
{
    EXPECT_EXIT_SAYING(load_bitmap_or_die(NODES_IMAGE_PATH, nullptr), 1,
                       "ERROR:  Could not find/open '\\./data/images/Nodes\\.pcx'");
}

TEST(BitmapHelpersDeathTest, ImpossibleBitmapEndsWithMemoryMessage)
{
    // Sizes Allegro's int arithmetic cannot hold, and sizes below one pixel: refused before
    // any allocation, so they end the same way with or without a checking allocator.
    const std::pair<int, int> l_Cases[] = {
        {30000, 30000}, {32768, 32768}, {16385, 65535}, {0, 10}, {10, 0}, {-640, 480},
    };
    for (const auto& k : l_Cases)
        EXPECT_EXIT_SAYING(create_bitmap_or_die(k.first, k.second), 1,
                           "ERROR:  Could not create bitmap\\.  Memory error\\.")
            << k.first << "x" << k.second;
}

TEST(BitmapHelpers, SizeFitsAllegrosIntArithmetic)
{
    EXPECT_TRUE(bitmap_size_fits(1, 1, 4));
    EXPECT_TRUE(bitmap_size_fits(640, 480, 4));
    EXPECT_TRUE(bitmap_size_fits(23170, 23170, 4)); // 2147395600 bytes
    EXPECT_FALSE(bitmap_size_fits(23171, 23171, 4));
    EXPECT_FALSE(bitmap_size_fits(32768, 32768, 2));
    EXPECT_TRUE(bitmap_size_fits(32767, 32767, 2));
    EXPECT_FALSE(bitmap_size_fits(0, 480, 4));
    EXPECT_FALSE(bitmap_size_fits(640, -1, 4));
    EXPECT_FALSE(bitmap_size_fits(640, 480, 0));
}

TEST(TextChecks, FirstMalformedUtf8Sequence)
{
    const size_t NONE = std::string::npos;
    const std::pair<std::string, size_t> l_Cases[] = {
        {"", NONE},
        {"plain, text", NONE},
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x99\x82 \xf4\x8f\xbf\xbf", NONE},
        {"ab\xff\xa9\xa9\xa9\xa9\xa9\xb8\xb8", 2},
        {"\xfd\xa9", 0},
        {"\xfe", 0},
        {"x\xa9", 1},             // a continuation byte alone
        {"\xc3", 0},              // cut short
        {"\xe2\x82", 0},          // cut short
        {"\xc3(", 0},             // not followed by a continuation byte
        {"\xc0\x80", 0},          // overlong NUL
        {"\xc1\xbf", 0},          // overlong
        {"\xe0\x9f\xbf", 0},      // overlong
        {"\xf0\x8f\xbf\xbf", 0},  // overlong
        {"\xed\xa0\x80", 0},      // surrogate
        {"\xed\x9f\xbf", NONE},   // last code point before the surrogates
        {"\xf4\x90\x80\x80", 0},  // past U+10FFFF
        {"\xf5\x80\x80\x80", 0},
        {std::string("a\0b", 3), NONE},
    };
    for (const auto& k : l_Cases)
        EXPECT_EQ(utf8_error_offset(k.first), k.second) << testing::PrintToString(k.first);
    EXPECT_EQ(line_of_offset("a\nb\nc", 0), 1);
    EXPECT_EQ(line_of_offset("a\nb\nc", 2), 2);
    EXPECT_EQ(line_of_offset("a\nb\nc", 4), 3);
}

TEST(TextChecks, CutTextKeepsWholeCharacters)
{
    EXPECT_EQ(cut_text("short", 5), "short");
    EXPECT_EQ(cut_text("longer", 4), "long...");
    EXPECT_EQ(cut_text("ab\xc3\xa9", 3), "ab...");
    EXPECT_EQ(cut_text("ab\xe2\x82\xac!", 5), "ab\xe2\x82\xac...");
    EXPECT_EQ(cut_text("\xf0\x9f\x99\x82", 2), "...");
}

TEST(ReadFile, GivesTheBytesOrTheError)
{
    WORKING_DIRECTORY wdDir;
    const std::string sWritten("abc\0def", 7);
    std::ofstream("file", std::ios::binary) << sWritten;
    std::string sRead = "old";
    EXPECT_EQ(read_file("file", sRead), 0);
    EXPECT_EQ(sRead, sWritten);
    EXPECT_EQ(read_file("file", sRead, 3), 0);
    EXPECT_EQ(sRead, "abc");
    EXPECT_EQ(read_file("missing", sRead), ENOENT);
    EXPECT_EQ(sRead, "");
    std::filesystem::create_directory("folder");
    EXPECT_EQ(read_file("folder", sRead), EISDIR);
}

TEST(ExecSql, FailingStatementIsReportedAndWorkGoesOn)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    std::string sMessages = capture_messages([&] {
        exec_sql(db, "CREATE TABLE t (a INTEGER)");
        exec_sql(db, "INSERT INTO missing VALUES (1)");
        exec_sql(db, "INSERT INTO t VALUES (7)");
    });
    EXPECT_EQ(sMessages, "ERROR: SQL error: no such table: missing\n");

    int iCount = 0;
    sqlite3_exec(
        db, "SELECT a FROM t",
        [](void* p, int, char** argv, char**) {
            *(int*)p = atoi(argv[0]);
            return 0;
        },
        &iCount, nullptr);
    EXPECT_EQ(iCount, 7);
    sqlite3_close(db);
}

TEST(ExecSql, ATriedStatementShowsNothingAndHandsBackTheError)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    std::string sError = "untouched";
    bool bRan = false;
    bool bFailed = true;
    std::string sMessages = capture_messages([&] {
        bRan = try_sql(db, "CREATE TABLE t (a INTEGER)", sError);
        bFailed = try_sql(db, "INSERT INTO missing VALUES (1)", sError);
    });
    EXPECT_TRUE(bRan);
    EXPECT_FALSE(bFailed);
    EXPECT_EQ(sError, "no such table: missing");
    EXPECT_EQ(sMessages, "");
    sqlite3_close(db);
}

TEST(ExecSql, ARepeatedStatementShowsEachErrorOnce)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    forget_shown_messages();
    std::string sMessages = capture_messages([&] {
        for (int i = 0; i < 3; ++i)
        {
            exec_repeated_sql(db, ("INSERT INTO missing VALUES (" + std::to_string(i) + ")").c_str());
            exec_repeated_sql(db, "INSERT INTO other VALUES (1)");
        }
    });
    EXPECT_EQ(sMessages, "ERROR: SQL error: no such table: missing\n"
                         "ERROR: SQL error: no such table: other\n");
    // A success between two failures does not show the error again.
    sMessages = capture_messages([&] {
        exec_repeated_sql(db, "CREATE TABLE t (a INTEGER)");
        exec_repeated_sql(db, "INSERT INTO missing VALUES (9)");
    });
    EXPECT_EQ(sMessages, "");
    // exec_sql shows every failure; once forgotten, the error shows once more.
    sMessages = capture_messages([&] {
        exec_sql(db, "INSERT INTO missing VALUES (1)");
        forget_shown_messages();
        exec_repeated_sql(db, "INSERT INTO missing VALUES (1)");
        exec_repeated_sql(db, "INSERT INTO missing VALUES (1)");
    });
    EXPECT_EQ(sMessages, "ERROR: SQL error: no such table: missing\n"
                         "ERROR: SQL error: no such table: missing\n");
    sqlite3_close(db);
}

TEST(ExecSql, MissingErrorTextFallsBackToTheConnection)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    sqlite3_exec(db, "SELECT * FROM nowhere", nullptr, nullptr, nullptr);
    std::string sMessages = capture_messages([&] { report_sql_error(db, nullptr); });
    EXPECT_EQ(sMessages, "ERROR: SQL error: no such table: nowhere\n");
    sqlite3_close(db);
}

TEST(SqlHelpers, NullAndMissingColumnsReadAsEmptyText)
{
    char sValue[] = "7";
    char* argv[] = {sValue, nullptr};
    EXPECT_STREQ(column_text(2, argv, 0), "7");
    EXPECT_STREQ(column_text(2, argv, 1), "");
    EXPECT_STREQ(column_text(2, argv, 2), "");
    EXPECT_STREQ(column_text(0, nullptr, 0), "");
}
