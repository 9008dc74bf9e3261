#include "framework/image_cache.h"

#include <cstdlib>

#include "framework/helpers.h"

std::vector<BITMAP*> IMAGE_CACHE::vImages;
std::vector<int> IMAGE_CACHE::vSlots;

namespace
{
// A slot whose image was erased names none.
const int NO_IMAGE = -1;
}

IMAGE_CACHE* IMAGE_CACHE::instance()
{
    static IMAGE_CACHE cache;
    return &cache;
}

int IMAGE_CACHE::load(int slot, const char* file)
{
    return add(slot, load_bitmap_or_die(file, nullptr));
}

int IMAGE_CACHE::add(int slot, BITMAP* image)
{
    // A process that ends early (a start-up failure) still frees its sheets. Registered after
    // Allegro's own exit handler, so it runs while Allegro is still up.
    static const bool bRelease_at_exit = std::atexit(destroy_all) == 0;
    (void)bRelease_at_exit;
    // As in get: a negative slot would otherwise grow the slot table without end.
    if (slot < 0)
        slot = 0;
    vImages.push_back(image);
    while (vSlots.size() <= (unsigned int)slot)
        vSlots.push_back(0);
    vSlots[slot] = (int)vImages.size() - 1;
    return vSlots[slot];
}

BITMAP* IMAGE_CACHE::get(int slot)
{
    if (slot < 0)
        slot = 0;
    // Nothing for a slot never loaded, so callers draw nothing instead of reading past the end.
    if ((unsigned int)slot >= vSlots.size())
        return nullptr;
    int iPosition = vSlots[slot];
    if (iPosition < 0 || (unsigned int)iPosition >= vImages.size())
        return nullptr;
    return vImages[iPosition];
}

void IMAGE_CACHE::destroy_all()
{
    for (BITMAP* image : vImages)
        destroy_bitmap_if(image);
    vImages.clear();
    vSlots.clear();
}

void IMAGE_CACHE::erase(int position)
{
    if (position < 0 || (unsigned int)position >= vImages.size())
        return;
    vImages.erase(vImages.begin() + position);
    // Slots keep naming the same images: the erased one is gone, the later ones moved up.
    for (int& iSlot : vSlots)
    {
        if (iSlot == position)
            iSlot = NO_IMAGE;
        else if (iSlot > position)
            --iSlot;
    }
}
