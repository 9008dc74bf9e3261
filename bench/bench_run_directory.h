#pragma once

// A benchmark program's scratch working directory holding a copy of the game's data tree;
// the old working directory comes back and the scratch one goes when it ends.

#include <stdlib.h>

#include <filesystem>
#include <string>

class BENCH_RUN_DIRECTORY
{
public:
    explicit BENCH_RUN_DIRECTORY(const char* sName)
    {
        std::string sTemplate = std::string("/tmp/") + sName + "_XXXXXX";
        if (mkdtemp(&sTemplate[0]) == nullptr)
            return;
        pathDir = sTemplate;
        std::filesystem::copy(std::filesystem::path(ORV_RUN_DIR) / "data", pathDir / "data",
                              std::filesystem::copy_options::recursive);
        pathOld = std::filesystem::current_path();
        std::filesystem::current_path(pathDir);
    }
    ~BENCH_RUN_DIRECTORY()
    {
        if (pathDir.empty())
            return;
        std::filesystem::current_path(pathOld);
        std::filesystem::remove_all(pathDir);
    }
    BENCH_RUN_DIRECTORY(const BENCH_RUN_DIRECTORY&) = delete;
    BENCH_RUN_DIRECTORY& operator=(const BENCH_RUN_DIRECTORY&) = delete;

    bool ready() const { return !pathDir.empty(); }

private:
    std::filesystem::path pathDir;
    std::filesystem::path pathOld;
};
