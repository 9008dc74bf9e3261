#pragma once

#include <allegro.h>

#include <vector>

class SPRITE;

// One plane of a layered sprite: a frame cut from a cached sheet (or a whole nested
// sprite) at its own offset and depth, which can animate along its row, turn, blend and
// recolour itself. Created and owned by its sprite.
class LAYER
{
public:
    LAYER(int image, int frame_w, int frame_h, float x, float y, int depth);
    LAYER(SPRITE* child, float x, float y, int depth);
    LAYER();
    ~LAYER();

    LAYER(const LAYER&) = delete;
    LAYER& operator=(const LAYER&) = delete;

    void init();

    void update();
    void advance_frame();

    void draw(BITMAP* bmp, float x, float y);
    void draw_scaled(BITMAP* bmp, float x, float y, int w, int h);
    void draw_mirrored(BITMAP* bmp, float x, float y);
    void draw_scaled_mirrored(BITMAP* bmp, float x, float y, int w, int h);
    void draw_unscaled(BITMAP* bmp, float x, float y);

    void set_frame(unsigned int column, unsigned int row);
    void set_column(unsigned int column);
    void set_row(unsigned int row);
    void set_frame_duration(int ticks);
    void reset_durations(int ticks);
    void set_frame_durations(std::vector<int> durations);
    void set_animating(bool b) { bAnimating = b; }
    bool is_animating() const { return bAnimating; }
    void set_offset(float x, float y);
    void set_visible(bool b) { bVisible = b; }
    void hide() { bVisible = false; }
    void show() { bVisible = true; }
    void set_alpha(int alpha);
    void set_translucent(bool b);
    void toggle_translucent();
    void set_depth(int depth) { iDepth = depth; }
    void set_image(int image);
    void set_angle(int angle) { iAngle = angle; }
    void start_rotating(int step, int interval);
    void stop_rotating();
    void shift_hsv(float dh, float ds, float dv);
    void shift_hue(float d) { shift_hsv(d, 0, 0); }
    void shift_saturation(float d) { shift_hsv(0, d, 0); }
    void shift_value(float d) { shift_hsv(0, 0, d); }

    int get_depth() const { return iDepth; }
    float get_x() const { return fOffset_x; }
    float get_y() const { return fOffset_y; }
    SPRITE* get_child() const { return child; }
    int width();
    int height();

    SPRITE* child;
    BITMAP* sheet;
    BITMAP* frame; // null until a translucent, turned or mirrored draw needs it
    int iFrame_w;
    int iFrame_h;
    int iDepth;
    float fOffset_x;
    float fOffset_y;
    bool bOwns_sheet;
    unsigned int iColumn;
    unsigned int iRow;
    std::vector<int> vDurations;
    int iLast_frame;
    int iDuration;
    unsigned int iDuration_index;
    bool bAnimating;
    bool bVisible;
    bool bTranslucent;
    int iAlpha;
    int iLast_rotation;
    int iRotation_interval;
    int iRotation_step;
    bool bRotating;
    int iAngle;

    // Screen-sized scratch shared by every layer's scaled turned, mirrored and translucent
    // draws; made on first use and kept until the process ends.
    static BITMAP* rotation_buffer;

private:
    bool is_translucent() const { return iAlpha != 255 || bTranslucent; }
    // The frame buffer, made on the first draw that needs it.
    BITMAP* frame_buffer();
    void copy_cell_to_frame();
    static BITMAP* clear_rotation_buffer();
};
