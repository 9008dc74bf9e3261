#include "framework/camera.h"

#include <cmath>

#include "framework/screen_layout.h"

int CAMERA::iCurrent = 0;

CAMERA::CAMERA()
{
    ENTITY::reset(0, 0);
    fZoom = 1.0f;
    fZoom_speed = 0;
    fZoom_target = 1.0f;
    fScale_x = 1.0f;
    fScale_y = 1.0f;
    bLocked = false;
    bTransform = true;
    set_scale(1.0f);
}

CAMERA* CAMERA::current()
{
    static CAMERA cameras[5];
    if (iCurrent >= 5)
        iCurrent = 4;
    return &cameras[iCurrent];
}

void CAMERA::set_current(int index)
{
    iCurrent = index < 0 ? 0 : index;
}

void CAMERA::update()
{
    ENTITY::update();
    if (!is_moving())
        bLocked = false;
    if ((fZoom_speed > 0 && fZoom + fZoom_speed > fZoom_target) ||
        (fZoom_speed < 0 && fZoom + fZoom_speed < fZoom_target))
    {
        fZoom = fZoom_target;
        fZoom_speed = 0;
    }
    else
        fZoom += fZoom_speed;
    set_scale(fZoom);
}

float CAMERA::world_to_screen_x(float x)
{
    return bTransform ? (x - fX) * fScale_x + SCREEN_CENTRE_X : x;
}

float CAMERA::world_to_screen_y(float y)
{
    return bTransform ? (y - fY) * fScale_y + SCREEN_CENTRE_Y : y;
}

float CAMERA::scale_length_x(int n)
{
    return bTransform ? n * fScale_x : (float)n;
}

float CAMERA::scale_length_y(int n)
{
    return bTransform ? n * fScale_y : (float)n;
}

void CAMERA::set_scale(float z)
{
    fZoom = z;
    fScale_x = z;
    fScale_y = z;
}

void CAMERA::zoom_to(float target, float speed)
{
    fZoom_target = target;
    fZoom_speed = speed;
}

void CAMERA::zoom_by(float d)
{
    fZoom += d;
    if (fZoom < 0)
        fZoom = 0;
    set_scale(fZoom);
}

void CAMERA::pan_to(float x, float y, float speed)
{
    if (speed == 0)
    {
        ENTITY::set_position(x, y);
        return;
    }
    // A negative speed glides at its magnitude.
    speed = std::fabs(speed);
    float fD = (float)std::sqrt((double)((x - fX) * (x - fX) + (y - fY) * (y - fY)));
    int iSteps = (int)(fD / speed);
    if (iSteps == 0)
        iSteps = 1;
    ENTITY::move_to(x, y, std::fabs(x - fX) / iSteps, std::fabs(y - fY) / iSteps);
}

void CAMERA::edge_scroll()
{
    if (bLocked)
        return;
    float fTx = fX;
    float fTy = fY;
    if (mouse_x >= 20 && mouse_x < 50)
        fTx -= 1;
    else if (mouse_x < 20)
        fTx -= 10;
    else if (mouse_x > 590 && mouse_x <= 620)
        fTx += 1;
    else if (mouse_x > 620)
        fTx += 10;
    if (mouse_y >= 20 && mouse_y < 50)
        fTy -= 1;
    else if (mouse_y < 20)
        fTy -= 10;
    else if (mouse_y > 430 && mouse_y <= 460)
        fTy += 1;
    else if (mouse_y > 460)
        fTy += 10;
    if (fTx != fX || fTy != fY)
        pan_to(fTx, fTy, 10.0f);
}

bool CAMERA::is_visible(float, float, float, float)
{
    return true;
}
