#include "framework/sprite.h"

#include "framework/camera.h"
#include "framework/colours.h"
#include "framework/helpers.h"

SPRITE::SPRITE()
{
    init();
}

SPRITE::SPRITE(int image, int frame_w, int frame_h)
{
    init();
    add_layer(image, frame_w, frame_h, 0);
}

SPRITE::~SPRITE()
{
    for (LAYER* layer : l_Layers)
        delete layer;
    free_outline();
    l_Layers.clear();
}

void SPRITE::init()
{
    bVisible = true;
    composite = nullptr;
    scratch = nullptr;
    iOutline_mask = nullptr;
}

bool SPRITE::add_layer(int image, int frame_w, int frame_h, int depth)
{
    return add_layer(image, frame_w, frame_h, 0, 0, depth);
}

bool SPRITE::add_layer(int image, int frame_w, int frame_h, int x, int y, int depth)
{
    LAYER* layer = new LAYER(image, frame_w, frame_h, (float)x, (float)y, depth);
    if (insert_layer(layer))
        return true;
    delete layer;
    return false;
}

bool SPRITE::add_child(SPRITE* child, float x, float y, int depth)
{
    LAYER* layer = new LAYER(child, x, y, depth);
    if (insert_layer(layer))
        return true;
    // Refused: the child stays the caller's.
    layer->child = nullptr;
    delete layer;
    return false;
}

bool SPRITE::insert_layer(LAYER* layer)
{
    auto it = l_Layers.begin();
    while (it != l_Layers.end() && (*it)->get_depth() < layer->get_depth())
        ++it;
    if (it != l_Layers.end() && (*it)->get_depth() == layer->get_depth())
        return false;
    l_Layers.insert(it, layer);
    return true;
}

void SPRITE::remove_layer(int depth)
{
    auto it = find_layer(depth);
    if (it == l_Layers.end())
        return;
    delete *it;
    l_Layers.erase(it);
}

bool SPRITE::set_layer_depth(int old_depth, int new_depth)
{
    if (find_layer(new_depth) != l_Layers.end())
        return false;
    auto it = find_layer(old_depth);
    if (it != l_Layers.end())
    {
        (*it)->set_depth(new_depth);
        l_Layers.sort(compare_depth);
    }
    return true;
}

void SPRITE::swap_layer_depths(int a, int b)
{
    if (a == b)
        return;
    LAYER* pA = layer_at(a);
    LAYER* pB = layer_at(b);
    if (pA == nullptr || pB == nullptr)
        return;
    pA->set_depth(b);
    pB->set_depth(a);
    l_Layers.sort(compare_depth);
}

std::list<LAYER*>::iterator SPRITE::find_layer(int depth)
{
    auto it = l_Layers.begin();
    while (it != l_Layers.end() && (*it)->get_depth() != depth)
        ++it;
    return it;
}

LAYER* SPRITE::layer_at(int depth)
{
    auto it = find_layer(depth);
    return it == l_Layers.end() ? nullptr : *it;
}

SPRITE* SPRITE::get_layer_child(int depth)
{
    LAYER* layer = layer_at(depth);
    return layer == nullptr ? nullptr : layer->get_child();
}

bool SPRITE::compare_depth(LAYER* a, LAYER* b)
{
    return a->get_depth() < b->get_depth();
}

int SPRITE::width()
{
    return extent(0);
}

int SPRITE::height()
{
    return extent(1);
}

int SPRITE::extent(int axis)
{
    // The box always holds the sprite's origin.
    int iLow = 0;
    int iHigh = 0;
    for (LAYER* layer : l_Layers)
    {
        int iOffset = (int)(axis == 0 ? layer->get_x() : layer->get_y());
        int iSize = axis == 0 ? layer->width() : layer->height();
        if (iOffset + iSize > iHigh)
            iHigh = iOffset + iSize;
        if (iOffset < iLow)
            iLow = iOffset;
    }
    return iHigh - iLow;
}

void SPRITE::draw(BITMAP* bmp, float x, float y)
{
    draw_scaled(bmp, x, y, width(), height());
}

void SPRITE::draw_scaled(BITMAP* bmp, float x, float y, int w, int h)
{
    CAMERA c = *CAMERA::current();
    if (!bVisible || !c.is_visible(x, y, w, h))
        return;
    int sx = (int)c.world_to_screen_x(x);
    int sy = (int)c.world_to_screen_y(y);
    int sw = (int)c.scale_length_x(w);
    int sh = (int)c.scale_length_y(h);
    draw_on_screen(bmp, sx, sy, sw, sh);
}

void SPRITE::draw_on_screen(BITMAP* bmp, int sx, int sy, int sw, int sh)
{
    if (!bVisible)
        return;
    if (composite != nullptr)
        stretch_sprite(bmp, composite, sx, sy, sw, sh);
    // Every layer fills the whole box from the same corner, shifted by its own offset.
    for (LAYER* layer : l_Layers)
        layer->draw_scaled(bmp, sx, sy, sw, sh);
}

void SPRITE::draw_mirrored(BITMAP* bmp, float x, float y)
{
    draw_scaled_mirrored(bmp, x, y, width(), height());
}

void SPRITE::draw_scaled_mirrored(BITMAP* bmp, float x, float y, int w, int h)
{
    CAMERA c = *CAMERA::current();
    if (!bVisible || !c.is_visible(x, y, w, h))
        return;
    float sx = c.world_to_screen_x(x);
    float sy = c.world_to_screen_y(y);
    float sw = c.scale_length_x(w);
    float sh = c.scale_length_y(h);
    draw_on_screen_mirrored(bmp, sx, sy, sw, sh);
}

void SPRITE::draw_on_screen_mirrored(BITMAP* bmp, float sx, float sy, float sw, float sh)
{
    if (!bVisible)
        return;
    if (composite != nullptr)
    {
        // The outline's empty first column flips to the right, hence one pixel further left.
        clear_to_color(scratch, MAGENTA);
        draw_sprite_h_flip(scratch, composite, 0, 0);
        stretch_sprite(bmp, scratch, (int)(sx - 1), (int)sy, (int)sw, (int)sh);
    }
    for (LAYER* layer : l_Layers)
        layer->draw_scaled_mirrored(bmp, sx, sy, (int)sw, (int)sh);
}

void SPRITE::draw_unscaled(BITMAP* bmp, float x, float y)
{
    if (!bVisible)
        return;
    // In bitmap pixels, without the camera: the outline upside down. The layers have no
    // unscaled picture of their own.
    if (composite != nullptr)
        draw_sprite_v_flip(bmp, composite, (int)x, (int)y);
    for (LAYER* layer : l_Layers)
        layer->draw_unscaled(bmp, x, y);
}

void SPRITE::draw_on_bitmap(BITMAP* bmp, float x, float y)
{
    if (!bVisible)
        return;
    if (composite != nullptr)
        draw_sprite(bmp, composite, (int)x, (int)y);
    for (LAYER* layer : l_Layers)
        layer->draw(bmp, x, y);
}

void SPRITE::make_outline(int colour)
{
    int W = width() + 1;
    int H = height() + 1;
    if (composite == nullptr || composite->w != W || composite->h != H)
    {
        free_outline();
        composite = create_bitmap_or_die(W, H);
        scratch = create_bitmap_or_die(W, H);
        iOutline_mask = new int*[W];
        for (int i = 0; i < W; ++i)
            iOutline_mask[i] = new int[H];
    }
    clear_to_color(composite, MAGENTA);
    for (int i = 0; i < W; ++i)
        for (int j = 0; j < H; ++j)
            iOutline_mask[i][j] = 0;
    for (LAYER* layer : l_Layers)
        layer->draw(composite, 0, 0);
    for (int m = 1; m <= W - 2; ++m)
        for (int n = 1; n <= H - 2; ++n)
        {
            if (getpixel(composite, m, n) == MAGENTA)
                continue;
            for (int i = m - 1; i <= m + 1; ++i)
                for (int j = n - 1; j <= n + 1; ++j)
                    iOutline_mask[i][j] = 1;
        }
    draw_outline(colour);
}

void SPRITE::draw_outline(int colour)
{
    if (composite == nullptr)
        return;
    clear_to_color(composite, MAGENTA);
    for (int i = 1; i < composite->w; ++i)
        for (int j = 1; j < composite->h; ++j)
            if (iOutline_mask[i][j] == 1)
                putpixel(composite, i, j, colour);
}

void SPRITE::free_outline()
{
    if (composite == nullptr)
        return;
    for (int i = 0; i < composite->w; ++i)
        delete[] iOutline_mask[i];
    delete[] iOutline_mask;
    iOutline_mask = nullptr;
    destroy_bitmap_if(composite);
    destroy_bitmap_if(scratch);
    composite = nullptr;
    scratch = nullptr;
}

void SPRITE::update()
{
    for (LAYER* layer : l_Layers)
        layer->update();
}

bool SPRITE::is_animating()
{
    for (LAYER* layer : l_Layers)
        if (layer->is_animating())
            return true;
    return false;
}

// The relayed settings: the all-layer forms walk the layers in ascending depth, the
// one-layer forms do nothing when no layer has the depth.
#define ORV_FOR_ALL(call)             \
    for (LAYER* layer : l_Layers)     \
        layer->call;
#define ORV_FOR_ONE(depth, call)      \
    if (LAYER* layer = layer_at(depth)) \
        layer->call;

void SPRITE::hide_layer(int depth) { ORV_FOR_ONE(depth, hide()) }
void SPRITE::show_layer(int depth) { ORV_FOR_ONE(depth, show()) }
void SPRITE::set_layer_visible(bool b, int depth) { ORV_FOR_ONE(depth, set_visible(b)) }
void SPRITE::set_animating(bool b) { ORV_FOR_ALL(set_animating(b)) }
void SPRITE::set_layer_animating(bool b, int depth) { ORV_FOR_ONE(depth, set_animating(b)) }
void SPRITE::set_frame(unsigned int column, unsigned int row) { ORV_FOR_ALL(set_frame(column, row)) }
void SPRITE::set_layer_frame(unsigned int column, unsigned int row, int depth)
{
    ORV_FOR_ONE(depth, set_frame(column, row))
}
void SPRITE::set_column(unsigned int column) { ORV_FOR_ALL(set_column(column)) }
void SPRITE::set_layer_column(unsigned int column, int depth) { ORV_FOR_ONE(depth, set_column(column)) }
void SPRITE::set_row(unsigned int row) { ORV_FOR_ALL(set_row(row)) }
void SPRITE::set_layer_row(unsigned int row, int depth) { ORV_FOR_ONE(depth, set_row(row)) }
void SPRITE::set_layer_offset(float x, float y, int depth) { ORV_FOR_ONE(depth, set_offset(x, y)) }
void SPRITE::set_layer_image(int image, int depth) { ORV_FOR_ONE(depth, set_image(image)) }
void SPRITE::set_frame_duration(int ticks) { ORV_FOR_ALL(set_frame_duration(ticks)) }
void SPRITE::set_layer_frame_duration(int ticks, int depth) { ORV_FOR_ONE(depth, set_frame_duration(ticks)) }
void SPRITE::set_frame_durations(std::vector<int> durations) { ORV_FOR_ALL(set_frame_durations(durations)) }
void SPRITE::set_layer_frame_durations(std::vector<int> durations, int depth)
{
    ORV_FOR_ONE(depth, set_frame_durations(durations))
}
void SPRITE::set_translucent(bool b) { ORV_FOR_ALL(set_translucent(b)) }
void SPRITE::set_layer_translucent(bool b, int depth) { ORV_FOR_ONE(depth, set_translucent(b)) }
void SPRITE::toggle_translucent() { ORV_FOR_ALL(toggle_translucent()) }
void SPRITE::toggle_layer_translucent(int depth) { ORV_FOR_ONE(depth, toggle_translucent()) }
void SPRITE::set_alpha(int alpha) { ORV_FOR_ALL(set_alpha(alpha)) }
void SPRITE::set_layer_alpha(int alpha, int depth) { ORV_FOR_ONE(depth, set_alpha(alpha)) }
void SPRITE::shift_hsv(float dh, float ds, float dv) { ORV_FOR_ALL(shift_hsv(dh, ds, dv)) }
void SPRITE::shift_layer_hsv(float dh, float ds, float dv, int depth)
{
    ORV_FOR_ONE(depth, shift_hsv(dh, ds, dv))
}
void SPRITE::set_angle(int angle) { ORV_FOR_ALL(set_angle(angle)) }
void SPRITE::set_layer_angle(int angle, int depth) { ORV_FOR_ONE(depth, set_angle(angle)) }
void SPRITE::start_rotating(int step, int interval) { ORV_FOR_ALL(start_rotating(step, interval)) }
void SPRITE::start_layer_rotating(int step, int interval, int depth)
{
    ORV_FOR_ONE(depth, start_rotating(step, interval))
}
void SPRITE::stop_rotating() { ORV_FOR_ALL(stop_rotating()) }
void SPRITE::stop_layer_rotating(int depth) { ORV_FOR_ONE(depth, stop_rotating()) }

#undef ORV_FOR_ALL
#undef ORV_FOR_ONE
