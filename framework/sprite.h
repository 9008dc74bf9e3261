#pragma once

#include <allegro.h>

#include <list>
#include <vector>

#include "framework/layer.h"

// A stack of layers drawn together as one picture at a world position through the current
// camera, smallest depth first, optionally behind a one-pixel outline of its silhouette.
// It owns its layers and relays settings to all of them or to the one of a given depth.
class SPRITE
{
public:
    SPRITE();
    SPRITE(int image, int frame_w, int frame_h);
    ~SPRITE();

    SPRITE(const SPRITE&) = delete;
    SPRITE& operator=(const SPRITE&) = delete;

    void init();

    bool add_layer(int image, int frame_w, int frame_h, int depth);
    bool add_layer(int image, int frame_w, int frame_h, int x, int y, int depth);
    bool add_child(SPRITE* child, float x, float y, int depth);
    bool insert_layer(LAYER* layer);
    void remove_layer(int depth);
    bool set_layer_depth(int old_depth, int new_depth);
    void swap_layer_depths(int a, int b);
    // l_Layers.end() when no layer has that depth.
    std::list<LAYER*>::iterator find_layer(int depth);
    SPRITE* get_layer_child(int depth);
    static bool compare_depth(LAYER* a, LAYER* b);

    int width();
    int height();
    int extent(int axis);

    void draw(BITMAP* bmp, float x, float y);
    void draw_scaled(BITMAP* bmp, float x, float y, int w, int h);
    void draw_mirrored(BITMAP* bmp, float x, float y);
    void draw_scaled_mirrored(BITMAP* bmp, float x, float y, int w, int h);
    void draw_unscaled(BITMAP* bmp, float x, float y);

    void make_outline(int colour);
    void draw_outline(int colour);
    void free_outline();

    void update();
    bool is_animating();

    void hide() { bVisible = false; }
    void show() { bVisible = true; }
    void set_visible(bool b) { bVisible = b; }
    void hide_layer(int depth);
    void show_layer(int depth);
    void set_layer_visible(bool b, int depth);
    void set_animating(bool b);
    void set_layer_animating(bool b, int depth);
    void set_frame(unsigned int column, unsigned int row);
    void set_layer_frame(unsigned int column, unsigned int row, int depth);
    void set_column(unsigned int column);
    void set_layer_column(unsigned int column, int depth);
    void set_row(unsigned int row);
    void set_layer_row(unsigned int row, int depth);
    void set_layer_offset(float x, float y, int depth);
    void set_layer_image(int image, int depth);
    void set_frame_duration(int ticks);
    void set_layer_frame_duration(int ticks, int depth);
    void set_frame_durations(std::vector<int> durations);
    void set_layer_frame_durations(std::vector<int> durations, int depth);
    void set_translucent(bool b);
    void set_layer_translucent(bool b, int depth);
    void toggle_translucent();
    void toggle_layer_translucent(int depth);
    void set_alpha(int alpha);
    void set_layer_alpha(int alpha, int depth);
    void shift_hsv(float dh, float ds, float dv);
    void shift_layer_hsv(float dh, float ds, float dv, int depth);
    void set_angle(int angle);
    void set_layer_angle(int angle, int depth);
    void start_rotating(int step, int interval);
    void start_layer_rotating(int step, int interval, int depth);
    void stop_rotating();
    void stop_layer_rotating(int depth);

    std::list<LAYER*> l_Layers;
    BITMAP* composite;
    BITMAP* scratch;
    bool bVisible;
    int** iOutline_mask;

private:
    friend class LAYER;

    LAYER* layer_at(int depth);
    // The draws after the camera: a box already in screen pixels. A nested sprite is drawn
    // this way into the box its layer was given.
    void draw_on_screen(BITMAP* bmp, int sx, int sy, int sw, int sh);
    void draw_on_screen_mirrored(BITMAP* bmp, float sx, float sy, float sw, float sh);
    // The outline and the layers at their natural size in bitmap pixels, each at its own
    // offset: how a nested sprite shows in its layer's unscaled draw.
    void draw_on_bitmap(BITMAP* bmp, float x, float y);
};
