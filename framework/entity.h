#pragma once

#include <allegro.h>

// Logic steps run since start; only the main loop advances it.
extern int game_time;

// Base of everything that moves or draws. It steps towards a destination at its own
// interval of logic steps and stops exactly on it, or moves freely when not heading
// anywhere. No virtual destructor: owners delete through the derived type.
class ENTITY
{
public:
    ENTITY();
    ENTITY(float x, float y);
    ~ENTITY() {}

    // What a derived class may change: the per-tick step, the drawing and each piece of the
    // movement. They are called through the base, so an override changes every caller.
    virtual void update();
    virtual void draw(BITMAP* target);
    virtual void move_by(float dx, float dy, float vx, float vy);
    virtual void move_to(float x, float y, float sx, float sy);
    virtual void set_destination(float x, float y);
    virtual void halt();
    virtual void set_position(float x, float y);
    virtual bool is_moving();
    virtual void set_accel_x(float a);
    virtual void set_accel_y(float a);
    virtual void set_max_vx(float v);
    virtual void set_max_vy(float v);
    virtual void set_update_interval(int ticks);
    virtual void reset(float x, float y);
    virtual void step_x();
    virtual void step_y();
    virtual void accelerate_x();
    virtual void accelerate_y();

    float get_x() const { return fX; }
    float get_y() const { return fY; }
    float get_vx() const { return fVx; }
    float get_vy() const { return fVy; }
    float get_ax() const { return fAx; }
    float get_ay() const { return fAy; }
    void set_random_offset(int a, int b);

    float fX;
    float fY;
    float fVx;
    float fVy;
    int iRand_x;
    int iRand_y;
    int iLast_update;
    int iUpdate_interval;
    float fDest_x;
    float fDest_y;
    float fMax_vx;
    float fMax_vy;
    float fAx;
    float fAy;
    bool bMoving;
};
