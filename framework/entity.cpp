#include "framework/entity.h"

#include <cstdlib>

#include "framework/random.h"

int game_time = 0;

ENTITY::ENTITY()
{
    ENTITY::reset(0, 0);
}

ENTITY::ENTITY(float x, float y)
{
    ENTITY::reset(x, y);
}

void ENTITY::update()
{
    if (std::abs(game_time - iLast_update) >= iUpdate_interval)
    {
        step_x();
        step_y();
        accelerate_x();
        accelerate_y();
        iLast_update = game_time;
    }
    if (fVx == 0 && fVy == 0)
        bMoving = false;
}

void ENTITY::draw(BITMAP*)
{
}

void ENTITY::move_by(float dx, float dy, float vx, float vy)
{
    bMoving = true;
    if (dx != 0)
        fDest_x = fX + dx;
    if (dy != 0)
        fDest_y = fY + dy;
    fVx = vx;
    fVy = vy;
}

void ENTITY::move_to(float x, float y, float sx, float sy)
{
    set_destination(x, y);
    fVx = fX < fDest_x ? sx : -sx;
    fVy = fY < fDest_y ? sy : -sy;
}

void ENTITY::set_destination(float x, float y)
{
    bMoving = true;
    fDest_x = x;
    fDest_y = y;
}

void ENTITY::halt()
{
    fVx = 0;
    fVy = 0;
    bMoving = true;
}

void ENTITY::set_position(float x, float y)
{
    ENTITY::set_destination(x, y);
    bMoving = false;
    fX = x;
    fY = y;
    fVx = 0;
    fVy = 0;
}

bool ENTITY::is_moving()
{
    return bMoving;
}

void ENTITY::set_accel_x(float a) { fAx = a; }
void ENTITY::set_accel_y(float a) { fAy = a; }
void ENTITY::set_max_vx(float v) { fMax_vx = v; }
void ENTITY::set_max_vy(float v) { fMax_vy = v; }
void ENTITY::set_update_interval(int ticks) { iUpdate_interval = ticks; }

void ENTITY::reset(float x, float y)
{
    fX = x;
    fY = y;
    fVx = 0;
    fVy = 0;
    iRand_x = 0;
    iRand_y = 0;
    iLast_update = 0;
    iUpdate_interval = 1;
    fDest_x = x;
    fDest_y = y;
    fMax_vx = 10000.0f;
    fMax_vy = 10000.0f;
    fAx = 0;
    fAy = 0;
    bMoving = false;
}

namespace
{
// The overshoot checks are strict: a step that lands exactly on the destination is an
// ordinary step; only one that would pass it stops there.
void step_axis(float& fPos, float& fV, float fDest, bool bMoving)
{
    if (bMoving && ((fV > 0 && fPos + fV > fDest) || (fV < 0 && fPos + fV < fDest)))
    {
        fPos = fDest;
        fV = 0;
    }
    else
        fPos += fV;
}

void accelerate_axis(float& fV, float fA, float fMax)
{
    fV += fA;
    if (fV > fMax)
        fV = fMax;
    if (-fV > fMax)
        fV = -fMax;
}
}

void ENTITY::step_x() { step_axis(fX, fVx, fDest_x, bMoving); }
void ENTITY::step_y() { step_axis(fY, fVy, fDest_y, bMoving); }
void ENTITY::accelerate_x() { accelerate_axis(fVx, fAx, fMax_vx); }
void ENTITY::accelerate_y() { accelerate_axis(fVy, fAy, fMax_vy); }

void ENTITY::set_random_offset(int a, int b)
{
    iRand_x = a != 0 ? random_next() % a : 0;
    iRand_y = b != 0 ? random_next() % b : 0;
}
