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

TEST(BitmapHelpersDeathTest, MissingImageEndsWithMessageAndCodeZero)
{
    EXPECT_EXIT_SAYING(load_bitmap_or_die("./data/images/Nodes.pcx", NULL), 0,
                       "ERROR:  Could not find/open '\\./data/images/Nodes\\.pcx'");
}

TEST(BitmapHelpersDeathTest, ImpossibleBitmapEndsWithMemoryMessage)
{
    EXPECT_EXIT_SAYING(create_bitmap_or_die(30000, 30000), 0,
                       "ERROR:  Could not create bitmap\\.  Memory error\\.");
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
