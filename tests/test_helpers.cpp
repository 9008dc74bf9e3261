#include <gtest/gtest.h>

#include <cstdio>

#include "framework/helpers.h"
#include "tests/headless.h"

TEST(Distances, StraightAndAroundTheSeam)
{
    EXPECT_FLOAT_EQ(distance(0, 0, 3, 4), 5.0f);
    EXPECT_FLOAT_EQ(vector_length(-3, -4), 5.0f);
    EXPECT_FLOAT_EQ(distance(10, 100, 630, 100), 620.0f);
    EXPECT_FLOAT_EQ(vector_length(640 - 620, 0), 20.0f);
}

TEST(BitmapHelpers, DestroyIfAcceptsNull)
{
    destroy_bitmap_if(NULL);
    BITMAP* bmp = create_bitmap_or_die(4, 4);
    ASSERT_NE(bmp, nullptr);
    destroy_bitmap_if(bmp);
}

TEST(BitmapHelpersDeathTest, MissingImageEndsWithMessageAndCodeZero)
{
    EXPECT_EXIT_SAYING(load_bitmap_or_die("./data/images/Nodes.pcx", NULL), 0,
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
        EXPECT_EXIT_SAYING(create_bitmap_or_die(k.first, k.second), 0,
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

TEST(ExecSql, FailingStatementIsReportedAndWorkGoesOn)
{
    sqlite3* db = NULL;
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
        &iCount, NULL);
    EXPECT_EQ(iCount, 7);
    sqlite3_close(db);
}

TEST(ExecSql, MissingErrorTextFallsBackToTheConnection)
{
    sqlite3* db = NULL;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    sqlite3_exec(db, "SELECT * FROM nowhere", NULL, NULL, NULL);
    std::string sMessages = capture_messages([&] { report_sql_error(db, NULL); });
    EXPECT_EQ(sMessages, "ERROR: SQL error: no such table: nowhere\n");
    sqlite3_close(db);
}

TEST(SqlHelpers, NullAndMissingColumnsReadAsEmptyText)
{
    char sValue[] = "7";
    char* argv[] = {sValue, NULL};
    EXPECT_STREQ(column_text(2, argv, 0), "7");
    EXPECT_STREQ(column_text(2, argv, 1), "");
    EXPECT_STREQ(column_text(2, argv, 2), "");
    EXPECT_STREQ(column_text(0, NULL, 0), "");
}
