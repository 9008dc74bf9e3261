#include "framework/layer.h"

#include <cstdlib>

#include "framework/colours.h"
#include "framework/entity.h"
#include "framework/helpers.h"
#include "framework/image_cache.h"
#include "framework/screen_layout.h"
#include "framework/sprite.h"

BITMAP* LAYER::rotation_buffer = nullptr;

namespace
{
// Mirrors the whole bitmap left to right, in place.
void mirror_in_place(BITMAP* bmp)
{
    int w = bmp->w;
    for (int j = 0; j < bmp->h; ++j)
        for (int i = 0, k = w - 1; i < k; ++i, --k)
        {
            int iLeft = getpixel(bmp, i, j);
            putpixel(bmp, i, j, getpixel(bmp, k, j));
            putpixel(bmp, k, j, iLeft);
        }
}

// Blends the w x h top-left rectangle of src onto bmp at (x, y).
void draw_trans_part(BITMAP* bmp, BITMAP* src, int x, int y, int w, int h)
{
    int iLeft, iTop, iRight, iBottom;
    get_clip_rect(bmp, &iLeft, &iTop, &iRight, &iBottom);
    add_clip_rect(bmp, x, y, x + w - 1, y + h - 1);
    draw_trans_sprite(bmp, src, x, y);
    set_clip_rect(bmp, iLeft, iTop, iRight, iBottom);
}
}

LAYER::LAYER(int image, int frame_w, int frame_h, float x, float y, int depth)
{
    init();
    set_image(image);
    iFrame_w = frame_w;
    iFrame_h = frame_h;
    if (sheet != nullptr)
    {
        if ((unsigned int)iFrame_w > (unsigned int)sheet->w)
            iFrame_w = sheet->w;
        if ((unsigned int)iFrame_h > (unsigned int)sheet->h)
            iFrame_h = sheet->h;
    }
    fOffset_x = x;
    fOffset_y = y;
    iDepth = depth;
    // The frame buffer waits for the first draw that needs it: most layers never do.
    reset_durations(0);
}

LAYER::LAYER(SPRITE* child, float x, float y, int depth)
{
    init();
    this->child = child;
    fOffset_x = x;
    fOffset_y = y;
    iDepth = depth;
    reset_durations(0);
}

LAYER::LAYER()
{
    init();
}

LAYER::~LAYER()
{
    if (bOwns_sheet)
        destroy_bitmap_if(sheet);
    destroy_bitmap_if(frame);
    delete child;
}

void LAYER::init()
{
    child = nullptr;
    sheet = nullptr;
    frame = nullptr;
    iFrame_w = 0;
    iFrame_h = 0;
    iDepth = 0;
    fOffset_x = 0;
    fOffset_y = 0;
    bOwns_sheet = false;
    iColumn = 0;
    iRow = 0;
    vDurations.clear();
    iLast_frame = 0;
    iDuration = 0;
    iDuration_index = 0;
    bAnimating = true;
    bVisible = true;
    bTranslucent = false;
    iAlpha = 255;
    iLast_rotation = 0;
    iRotation_interval = 0;
    iRotation_step = 0;
    bRotating = false;
    iAngle = 0;
}

void LAYER::update()
{
    // Both clocks fire only once the interval is exceeded, not at equality.
    if (bRotating && std::abs(game_time - iLast_rotation) > iRotation_interval)
    {
        iLast_rotation = game_time;
        iAngle += iRotation_step;
    }
    if (!bAnimating)
        return;
    if (std::abs(game_time - iLast_frame) > iDuration)
    {
        advance_frame();
        iLast_frame = game_time;
        if (child != nullptr)
            child->update();
        else
            set_frame(iColumn + 1, iRow);
    }
}

void LAYER::advance_frame()
{
    // No durations at all count as duration 0.
    if (vDurations.empty())
    {
        iDuration = 0;
        iDuration_index = 0;
        return;
    }
    if (iDuration_index >= vDurations.size())
        iDuration_index = 0;
    iDuration = vDurations[iDuration_index];
    ++iDuration_index;
    if (iDuration_index >= vDurations.size())
        iDuration_index = 0;
}

BITMAP* LAYER::frame_buffer()
{
    if (frame == nullptr)
        frame = create_bitmap_or_die(iFrame_w, iFrame_h);
    return frame;
}

void LAYER::copy_cell_to_frame()
{
    clear_to_color(frame_buffer(), MAGENTA);
    masked_blit(sheet, frame, iColumn * iFrame_w, iRow * iFrame_h, 0, 0, iFrame_w, iFrame_h);
}

BITMAP* LAYER::clear_rotation_buffer()
{
    if (rotation_buffer == nullptr)
        rotation_buffer = create_bitmap_or_die(SCREEN_WIDTH, SCREEN_HEIGHT);
    rectfill(rotation_buffer, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, MAGENTA);
    return rotation_buffer;
}

void LAYER::draw(BITMAP* bmp, float x, float y)
{
    if (!bVisible)
        return;
    if (child != nullptr)
    {
        child->draw_on_bitmap(bmp, x + fOffset_x, y + fOffset_y);
        return;
    }
    if (sheet == nullptr)
        return;
    int px = (int)(x + fOffset_x);
    int py = (int)(y + fOffset_y);
    if (is_translucent())
    {
        copy_cell_to_frame();
        draw_trans_sprite(bmp, frame, px, py);
    }
    else if (iAngle != 0)
    {
        copy_cell_to_frame();
        rotate_sprite(bmp, frame, px, py, itofix(iAngle));
    }
    else
        masked_blit(sheet, bmp, iColumn * iFrame_w, iRow * iFrame_h, px, py, iFrame_w, iFrame_h);
}

void LAYER::draw_scaled(BITMAP* bmp, float x, float y, int w, int h)
{
    if (!bVisible)
        return;
    if (child != nullptr)
    {
        child->draw_on_screen(bmp, (int)(x + fOffset_x), (int)(y + fOffset_y), w, h);
        return;
    }
    if (sheet == nullptr || w <= 0 || h <= 0)
        return;
    int px = (int)(x + fOffset_x);
    int py = (int)(y + fOffset_y);
    int cx = iColumn * iFrame_w;
    int cy = iRow * iFrame_h;
    if (is_translucent())
    {
        // Stretched in the large scratch, so a box bigger than the frame is not cut to it.
        BITMAP* buffer = clear_rotation_buffer();
        masked_stretch_blit(sheet, buffer, cx, cy, iFrame_w, iFrame_h, 0, 0, w, h);
        draw_trans_part(bmp, buffer, px, py, w, h);
    }
    else if (iAngle != 0)
    {
        copy_cell_to_frame();
        BITMAP* buffer = clear_rotation_buffer();
        rotate_sprite(buffer, frame, 0, 0, itofix(iAngle));
        masked_stretch_blit(buffer, bmp, 0, 0, iFrame_w, iFrame_h, px, py, w, h);
    }
    else
        masked_stretch_blit(sheet, bmp, cx, cy, iFrame_w, iFrame_h, px, py, w, h);
}

void LAYER::draw_mirrored(BITMAP* bmp, float x, float y)
{
    if (!bVisible)
        return;
    if (child != nullptr)
    {
        child->draw_on_screen_mirrored(bmp, x + fOffset_x, y + fOffset_y, (float)child->width(),
                                       (float)child->height());
        return;
    }
    if (sheet == nullptr)
        return;
    int px = (int)(x + fOffset_x);
    int py = (int)(y + fOffset_y);
    copy_cell_to_frame();
    if (is_translucent())
    {
        mirror_in_place(frame);
        draw_trans_sprite(bmp, frame, px, py);
    }
    else if (iAngle != 0)
        // Flipped top to bottom and turned half round: the left-right mirror, turned.
        rotate_sprite_v_flip(bmp, frame, px, py, itofix(iAngle + 128));
    else
        draw_sprite_h_flip(bmp, frame, px, py);
}

void LAYER::draw_scaled_mirrored(BITMAP* bmp, float x, float y, int w, int h)
{
    if (!bVisible)
        return;
    if (child != nullptr)
    {
        child->draw_on_screen_mirrored(bmp, x + fOffset_x, y + fOffset_y, (float)w, (float)h);
        return;
    }
    if (sheet == nullptr || w <= 0 || h <= 0)
        return;
    int px = (int)(x + fOffset_x);
    int py = (int)(y + fOffset_y);
    if (is_translucent())
    {
        // Stretched into the frame buffer, so cut at its size; the whole buffer is mirrored,
        // which moves a box narrower than the frame to the buffer's right-hand side.
        clear_to_color(frame_buffer(), MAGENTA);
        masked_stretch_blit(sheet, frame, iColumn * iFrame_w, iRow * iFrame_h, iFrame_w, iFrame_h,
                            0, 0, w, h);
        mirror_in_place(frame);
        draw_trans_sprite(bmp, frame, px, py);
        return;
    }
    copy_cell_to_frame();
    BITMAP* buffer = clear_rotation_buffer();
    if (iAngle != 0)
        rotate_sprite_v_flip(buffer, frame, 0, 0, itofix(iAngle + 128));
    else
        draw_sprite_h_flip(buffer, frame, 0, 0);
    masked_stretch_blit(buffer, bmp, 0, 0, iFrame_w, iFrame_h, px, py, w, h);
}

void LAYER::draw_unscaled(BITMAP*, float, float)
{
}

void LAYER::set_frame(unsigned int column, unsigned int row)
{
    set_column(column);
    set_row(row);
}

void LAYER::set_column(unsigned int column)
{
    // Past the sheet's edge falls back to the first column.
    if (sheet != nullptr && column * (unsigned int)iFrame_w >= (unsigned int)sheet->w)
        column = 0;
    iColumn = column;
}

void LAYER::set_row(unsigned int row)
{
    if (sheet != nullptr && row * (unsigned int)iFrame_h >= (unsigned int)sheet->h)
        row = 0;
    iRow = row;
}

void LAYER::set_frame_duration(int ticks)
{
    iDuration = ticks;
    reset_durations(ticks);
}

void LAYER::reset_durations(int ticks)
{
    vDurations.clear();
    vDurations.push_back(ticks);
}

void LAYER::set_frame_durations(std::vector<int> durations)
{
    vDurations = durations;
}

void LAYER::set_offset(float x, float y)
{
    fOffset_x = x;
    fOffset_y = y;
}

void LAYER::set_alpha(int alpha)
{
    if (child != nullptr)
        child->set_alpha(alpha);
    else
        iAlpha = alpha;
}

void LAYER::set_translucent(bool b)
{
    if (child != nullptr)
        child->set_translucent(b);
    else
        bTranslucent = b;
}

void LAYER::toggle_translucent()
{
    if (child != nullptr)
        child->toggle_translucent();
    else
        bTranslucent = !bTranslucent;
}

void LAYER::set_image(int image)
{
    if (bOwns_sheet)
    {
        destroy_bitmap_if(sheet);
        bOwns_sheet = false;
    }
    sheet = IMAGE_CACHE::get(image);
}

void LAYER::start_rotating(int step, int interval)
{
    iRotation_step = step;
    iRotation_interval = interval;
    bRotating = true;
}

void LAYER::stop_rotating()
{
    iAngle = 0;
    bRotating = false;
}

void LAYER::shift_hsv(float dh, float ds, float dv)
{
    if (sheet == nullptr)
        return;
    if (!bOwns_sheet)
    {
        // A private copy, so the cached sheet keeps its colours for every other layer.
        BITMAP* copy = create_bitmap_or_die(sheet->w, sheet->h);
        clear_to_color(copy, MAGENTA);
        draw_sprite(copy, sheet, 0, 0);
        sheet = copy;
        bOwns_sheet = true;
    }
    int iDepth_bits = bitmap_color_depth(sheet);
    int iMask = makecol_depth(iDepth_bits, 255, 0, 255);
    for (int x = 0; x < sheet->w; ++x)
        for (int y = 0; y < sheet->h; ++y)
        {
            int p = getpixel(sheet, x, y);
            if (p == iMask)
                continue;
            float h, s, v;
            rgb_to_hsv(getr_depth(iDepth_bits, p), getg_depth(iDepth_bits, p),
                       getb_depth(iDepth_bits, p), &h, &s, &v);
            h += dh;
            s += ds;
            v += dv;
            // Beyond 0..1 the conversion gives channels outside 0..255, which would
            // spill into the neighbouring channels of the packed pixel.
            s = s < 0 ? 0 : (s > 1 ? 1 : s);
            v = v < 0 ? 0 : (v > 1 ? 1 : v);
            int r, g, b;
            hsv_to_rgb(h, s, v, &r, &g, &b);
            putpixel(sheet, x, y, makecol_depth(iDepth_bits, r, g, b));
        }
}

int LAYER::width()
{
    return child != nullptr ? child->width() : iFrame_w;
}

int LAYER::height()
{
    return child != nullptr ? child->height() : iFrame_h;
}
