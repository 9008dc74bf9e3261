// The words.dat reader, then the draws and the drawing that use what it read.
#include <allegro.h>

#include "framework/random.h"
#include "tests/fuzz/fuzz_support.h"
#include "world/words/word_database.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_start();
    static BITMAP* bmp = create_bitmap_ex(32, 320, 240);
    const std::string sPath = fuzz_write_input("words.dat", data, size);

    WORD_DATABASE words(fuzz_words_db());
    if (!words.read_file(sPath.c_str()).empty() || !words.check_lists(sPath.c_str()).empty())
        return 0;
    random_seed(static_cast<unsigned int>(size));
    for (int iCategory = 0; iCategory <= 11; ++iCategory)
    {
        std::string* sWord = words.random_word(iCategory, true);
        if (sWord)
        {
            words.query_image(*sWord);
            textprintf_ex(bmp, font, 0, 0, 0xFFFFFF, -1, "%s", sWord->c_str());
        }
    }
    words.random_settlement(WORD_DATABASE::l_Settlements);
    words.dump_adjectives(bmp);
    return 0;
}
