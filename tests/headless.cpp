#include "tests/headless.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "framework/headless.h"
#include "framework/image_cache.h"
#include "framework/random.h"

namespace
{
class HEADLESS_ENVIRONMENT : public ::testing::Environment
{
public:
    void SetUp() override
    {
        start_headless_allegro();
    }
};

const auto* g_pEnvironment = ::testing::AddGlobalTestEnvironment(new HEADLESS_ENVIRONMENT);
}

std::string begin_capture()
{
    fflush(stdout);
    ::testing::internal::CaptureStdout();
    return std::string();
}

std::string end_capture()
{
    fflush(stdout);
    return ::testing::internal::GetCapturedStdout();
}

BITMAP* make_test_bitmap(int w, int h, int colour)
{
    BITMAP* bmp = create_bitmap_ex(32, w, h);
    clear_to_color(bmp, colour);
    return bmp;
}

bool same_pixels(BITMAP* a, BITMAP* b)
{
    if (a->w != b->w || a->h != b->h)
        return false;
    for (int y = 0; y < a->h; y++)
        for (int x = 0; x < a->w; x++)
            if (getpixel(a, x, y) != getpixel(b, x, y))
                return false;
    return true;
}

int load_into_cache(int slot, BITMAP* bmp)
{
    // Named after the process: the tests of one program run side by side in one directory.
    const std::string sPath = "./cache_fixture_" + std::to_string(getpid()) + "_" + std::to_string(slot) + ".bmp";
    EXPECT_EQ(save_bmp(sPath.c_str(), bmp, nullptr), 0) << sPath;
    const int iPosition = IMAGE_CACHE::load(slot, sPath.c_str());
    std::remove(sPath.c_str());
    return iPosition;
}

std::vector<std::string> texts(const std::list<std::string*>& l_List)
{
    std::vector<std::string> v;
    for (std::string* s : l_List)
        v.push_back(*s);
    return v;
}

std::vector<int> draws_of(unsigned int seed, int count)
{
    random_seed(seed);
    std::vector<int> a_Draws;
    for (int i = 0; i < count; i++)
        a_Draws.push_back(random_next());
    return a_Draws;
}

unsigned int seed_where(int count, const std::function<bool(const std::vector<int>&)>& test)
{
    for (unsigned int s = 1; s < 2000000; s++)
        if (test(draws_of(s, count)))
            return s;
    ADD_FAILURE() << "no seed fits";
    return 0;
}

std::filesystem::path scratch_dir()
{
    // Kept in a plain array: the exit handler may run after static strings are gone.
    static char sDir[512];
    if (!sDir[0])
    {
        const std::filesystem::path d =
            std::filesystem::temp_directory_path() / ("orv_test_" + std::to_string(getpid()));
        std::filesystem::create_directories(d);
        snprintf(sDir, sizeof(sDir), "%s", d.c_str());
        std::atexit(
            []
            {
                std::error_code ec;
                std::filesystem::remove_all(sDir, ec);
            });
    }
    return sDir;
}

std::string write_file(const std::string& sName, const std::string& sText)
{
    const std::string sPath = (scratch_dir() / sName).string();
    std::ofstream out(sPath, std::ios::binary);
    out << sText;
    return sPath;
}

void make_database(const std::filesystem::path& path, const std::string& strSql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* zErrMsg = nullptr;
    int iResult = sqlite3_exec(db, strSql.c_str(), nullptr, nullptr, &zErrMsg);
    std::string strError = zErrMsg != nullptr ? zErrMsg : "";
    sqlite3_free(zErrMsg);
    sqlite3_close(db);
    ASSERT_EQ(iResult, SQLITE_OK) << strError;
}

WORKING_DIRECTORY::WORKING_DIRECTORY()
{
    char sOld[PATH_MAX];
    EXPECT_NE(getcwd(sOld, sizeof sOld), nullptr);
    pathOld = sOld;
    char sTemplate[] = "/tmp/orv_run_XXXXXX";
    EXPECT_NE(mkdtemp(sTemplate), nullptr);
    pathDir = sTemplate;
    EXPECT_EQ(chdir(pathDir.c_str()), 0);
}

WORKING_DIRECTORY::~WORKING_DIRECTORY()
{
    EXPECT_EQ(chdir(pathOld.c_str()), 0);
    std::filesystem::remove_all(pathDir);
}
