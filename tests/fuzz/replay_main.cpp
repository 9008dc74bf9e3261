// Runs a fuzz harness once on every file of the given files and folders (sorted, hidden files
// skipped), so the kept corpus and every input a fuzzer found replay as an ordinary test.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_support.h"

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    std::vector<fs::path> l_Files;
    for (int i = 1; i < argc; ++i)
    {
        if (fs::is_directory(argv[i]))
        {
            for (const fs::directory_entry& e : fs::directory_iterator(argv[i]))
                if (e.is_regular_file() && e.path().filename().string()[0] != '.')
                    l_Files.push_back(e.path());
        }
        else if (fs::exists(argv[i]))
            l_Files.push_back(argv[i]);
    }
    std::sort(l_Files.begin(), l_Files.end());
    for (const fs::path& path : l_Files)
    {
        std::fprintf(stderr, "%s\n", path.c_str());
        std::ifstream in(path, std::ios::binary);
        const std::string sData((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(sData.data()), sData.size());
    }
    std::fprintf(stderr, "replayed %zu inputs\n", l_Files.size());
    return l_Files.empty() ? 1 : 0;
}
