#pragma once

#include "framework/entity.h"

// The view: its position is the world point at the screen centre (320, 240), and its
// zoom scales world lengths into pixels, animating between levels.
class CAMERA : public ENTITY
{
public:
    CAMERA();
    ~CAMERA() {}

    static CAMERA* current();
    static void set_current(int index);

    void update() override;

    float world_to_screen_x(float x);
    float world_to_screen_y(float y);
    float scale_length_x(int n);
    float scale_length_y(int n);

    void set_scale(float z);
    void zoom_to(float target, float speed);
    void zoom_by(float d);
    float get_zoom() const { return fZoom; }
    float get_zoom_speed() const { return fZoom_speed; }
    float get_scale_x() const { return fScale_x; }

    void pan_to(float x, float y, float speed);
    float get_x() const { return fX; }
    float get_y() const { return fY; }
    void lock() { bLocked = true; }
    void edge_scroll();
    void enable_transform() { bTransform = true; }
    void disable_transform() { bTransform = false; }
    bool is_visible(float x, float y, float w, float h);

    float fZoom;
    float fZoom_speed;
    float fZoom_target;
    float fScale_x;
    float fScale_y;
    bool bLocked;
    bool bTransform;

    static int iCurrent;
};
