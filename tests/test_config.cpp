#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "framework/config.h"
#include "framework/run_files.h"
#include "tests/headless.h"

namespace
{
const char* MODE_MESSAGE = "ERROR:  Incorrect amount of arguments in graphics.mode in config.ini";

// Loads a config.ini with the given text (or none) from a fresh working directory.
class ConfigTest : public ::testing::Test
{
protected:
    CONFIG load(const std::string& sText, bool bWrite = true)
    {
        if (bWrite)
            std::ofstream(CONFIG_PATH) << sText;
        CONFIG cfg;
        sMessages = capture_messages([&] { cfg.load(); });
        return cfg;
    }

    WORKING_DIRECTORY wdDir;
    std::string sMessages;
};
}

TEST_F(ConfigTest, MissingFileGivesDefaultsAndTheModeMessage)
{
    CONFIG cfg = load("", false);
    EXPECT_EQ(sMessages, std::string(MODE_MESSAGE));
    EXPECT_EQ(cfg.iCard, 1);
    EXPECT_EQ(cfg.iScreen_w, 640);
    EXPECT_EQ(cfg.iScreen_h, 480);
    EXPECT_EQ(cfg.iColour_depth, 32);
    EXPECT_EQ(cfg.sfx, 0);
    EXPECT_EQ(cfg.music, 0);
    EXPECT_EQ(cfg.clock_speed, 60);
    EXPECT_EQ(cfg.framerate, 0);
    EXPECT_EQ(cfg.node_count, 0);
    EXPECT_STREQ(cfg.level, "LOW");
}

TEST_F(ConfigTest, TextAllegroCannotReadGivesDefaultsAndAMessage)
{
    // Allegro's reader loops forever on some malformed UTF-8, wherever it stands.
    const std::string sGood = "[graphics]\nmode = 800 600 16\nwindowed = TRUE\n";
    const std::pair<std::string, int> l_Cases[] = {
        {"# \xff\xa9\xa9\xa9\xa9\xa9\xb8\xb8\n" + sGood, 1},
        {sGood + "# \xfd\xa9\xa9\xa9\xa9\xa9\xb8\xb8\n", 4},
        {sGood + "level = \xfe\xa9\xa9\xa9\xa9\xa9\xb8\xb8\n", 4},
        {sGood + "\n\nlevel = LOW\xc3", 6}, // cut short by the end of the file
        {"\xc0\xaf" + sGood, 1},             // overlong
    };
    for (const auto& k : l_Cases)
    {
        CONFIG cfg = load(k.first);
        EXPECT_EQ(sMessages, "ERROR:  config.ini line " + std::to_string(k.second) +
                                 " is not UTF-8 text.  Using the defaults.\n" + MODE_MESSAGE)
            << k.second;
        EXPECT_EQ(cfg.iCard, 1);
        EXPECT_EQ(cfg.iScreen_w, 640);
        EXPECT_EQ(cfg.iColour_depth, 32);
        EXPECT_EQ(cfg.clock_speed, 60);
        EXPECT_STREQ(cfg.level, "LOW");
    }

    // Allegro's line reader writes past its buffer when a line's characters of several bytes
    // (or its closing zero) reach just beyond the 256 or 512 bytes it holds.
    const std::string sEacute = "\xc3\xa9";
    const std::string sEuro = "\xe2\x82\xac";
    const std::pair<std::string, int> l_Long[] = {
        {"#" + std::string(253, 'a') + sEacute + "\n" + sGood, 1},
        {sGood + "#" + std::string(252, 'a') + sEuro + "\r\n", 4},
        {sGood + "\n#" + std::string(509, 'a') + sEacute, 5},
    };
    for (const auto& k : l_Long)
    {
        CONFIG cfg = load(k.first);
        EXPECT_EQ(sMessages, "ERROR:  config.ini line " + std::to_string(k.second) +
                                 " is too long for Allegro's settings reader.  Using the "
                                 "defaults.\n" +
                                 MODE_MESSAGE)
            << k.second;
        EXPECT_EQ(cfg.iScreen_w, 640);
    }
    // Lines that fit it, however long, are read: plain ASCII, or the same characters a byte
    // earlier.
    for (const std::string& sLine :
         {std::string(3000, 'a'), "#" + std::string(252, 'a') + sEacute, "#" + std::string(251, 'a') + sEuro})
    {
        CONFIG cfg = load(sLine + "\n" + sGood);
        EXPECT_EQ(sMessages, "");
        EXPECT_EQ(cfg.iScreen_w, 800);
    }

    // Well-formed text beyond ASCII is read without a message.
    CONFIG cfg = load("# caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x99\x82\n" + sGood);
    EXPECT_EQ(sMessages, "");
    EXPECT_EQ(cfg.iScreen_w, 800);
    EXPECT_EQ(cfg.iCard, 2);
}

TEST_F(ConfigTest, AFileThatCannotBeReadGivesDefaultsAndAMessage)
{
    std::filesystem::create_directory(CONFIG_PATH);
    CONFIG cfg = load("", false);
    EXPECT_EQ(sMessages, std::string("ERROR:  config.ini cannot be read: Is a directory.  Using the defaults.\n") +
                             MODE_MESSAGE);
    EXPECT_EQ(cfg.iCard, 1);
    EXPECT_EQ(cfg.iScreen_w, 640);
    EXPECT_EQ(cfg.clock_speed, 60);
    EXPECT_EQ(cfg.node_count, 0);
    EXPECT_STREQ(cfg.level, "LOW");
    // Nor is anything written to it.
    cfg.save();
    EXPECT_TRUE(std::filesystem::is_empty(CONFIG_PATH));
}

TEST_F(ConfigTest, SaveLeavesAFileAllegroCannotReadAlone)
{
    const std::string sBad = "windowed = TRUE\n# \xff\xa9\n";
    CONFIG cfg = load(sBad);
    cfg.save();
    std::ifstream in(CONFIG_PATH, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()),
              sBad);
}

TEST_F(ConfigTest, ModeNeedsExactlyThreeTokens)
{
    struct CASE
    {
        const char* sMode;
        int iW, iH, iDepth;
        bool bMessage;
    };
    const CASE l_Cases[] = {
        {"800 600 16", 800, 600, 16, false},
        {"800 600", 640, 480, 32, true},
        {"800 600 16 2", 640, 480, 32, true},
        {"wide 600 16", 0, 600, 16, false},
    };
    for (const CASE& k : l_Cases)
    {
        CONFIG cfg = load(std::string("[graphics]\nmode = ") + k.sMode + "\n");
        EXPECT_EQ(cfg.iScreen_w, k.iW) << k.sMode;
        EXPECT_EQ(cfg.iScreen_h, k.iH) << k.sMode;
        EXPECT_EQ(cfg.iColour_depth, k.iDepth) << k.sMode;
        EXPECT_EQ(sMessages, k.bMessage ? std::string(MODE_MESSAGE) : std::string()) << k.sMode;
    }
}

TEST_F(ConfigTest, WindowedIsComparedWithoutCase)
{
    const std::pair<const char*, int> l_Cases[] = {
        {"false", 1}, {"FALSE", 1}, {"False", 1}, {"TRUE", 2}, {"yes", 2}, {"0", 2}, {"FALSEY", 2},
    };
    for (const auto& k : l_Cases)
    {
        CONFIG cfg = load(std::string("[graphics]\nmode = 640 480 32\nwindowed = ") + k.first + "\n");
        EXPECT_EQ(cfg.iCard, k.second) << k.first;
    }
}

TEST_F(ConfigTest, IntegersAreClamped)
{
    CONFIG cfg = load(
        "[graphics]\nmode = 640 480 32\n"
        "[audio]\nsfx = -3\nmusic = 300\npan = 255\nmspeed = 2500\n"
        "[time]\nframerate = 2\nclock_speed = 2\n"
        "[map_generation]\nnode_count = 1500\n");
    EXPECT_EQ(cfg.sfx, 0);
    EXPECT_EQ(cfg.music, 255);
    EXPECT_EQ(cfg.pan, 255);
    EXPECT_EQ(cfg.mspeed, 2000);
    EXPECT_EQ(cfg.framerate, 2);
    EXPECT_EQ(cfg.clock_speed, 5);
    EXPECT_EQ(cfg.node_count, 999);

    cfg = load("[time]\nclock_speed = 5000\n[map_generation]\nnode_count = -4\n");
    EXPECT_EQ(cfg.clock_speed, 1000);
    EXPECT_EQ(cfg.node_count, 0);
}

TEST_F(ConfigTest, LevelKeepsAtMostFifteenCharacters)
{
    CONFIG cfg = load("[graphics]\nmode = 640 480 32\nlevel = ABCDEFGHIJKLMNOPQRSTUVWXYZ\n");
    EXPECT_STREQ(cfg.level, "ABCDEFGHIJKLMNO");
}

TEST_F(ConfigTest, ShippedConfigAsksForAWindowedGame)
{
    std::ifstream in(std::string(ORV_RUN_DIR) + "/config.ini");
    std::string sText((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(sText.empty());
    CONFIG cfg = load(sText);
    EXPECT_EQ(sMessages, "");
    EXPECT_EQ(cfg.iCard, 2);
    EXPECT_EQ(cfg.iScreen_w, 640);
    EXPECT_EQ(cfg.iScreen_h, 480);
    EXPECT_EQ(cfg.iColour_depth, 32);
    EXPECT_EQ(cfg.clock_speed, 60);
    EXPECT_GT(cfg.node_count, 0);
}

TEST(CompareNocase, SignsFollowTheFirstDifference)
{
    EXPECT_EQ(CONFIG::compare_nocase("FaLsE", "false"), 0);
    EXPECT_LT(CONFIG::compare_nocase("a", "b"), 0);
    EXPECT_GT(CONFIG::compare_nocase("c", "B"), 0);
    EXPECT_EQ(CONFIG::compare_nocase("falsey", "false"), 1);
    EXPECT_EQ(CONFIG::compare_nocase("fal", "false"), -1);
    EXPECT_EQ(CONFIG::compare_nocase("", ""), 0);
}
