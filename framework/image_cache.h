#pragma once

#include <allegro.h>

#include <vector>

// Every sprite sheet loaded from disk, kept for the whole run and handed out by slot
// number. The cache owns the sheets; whoever gets one only borrows it.
class IMAGE_CACHE
{
public:
    static IMAGE_CACHE* instance();

    static int load(int slot, const char* file);
    static int add(int slot, BITMAP* image);
    static BITMAP* get(int slot);
    static void destroy_all();
    static void erase(int position);

    // Images in load order; a slot holds the load position of the image last put in it.
    static std::vector<BITMAP*> vImages;
    static std::vector<int> vSlots;

private:
    IMAGE_CACHE() {}
    ~IMAGE_CACHE() {}
};
