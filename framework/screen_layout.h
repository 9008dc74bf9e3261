#pragma once

// Everything fixed to the screen is laid out for 640 x 480, whatever mode config.ini picks:
// the camera's centre, the centred windows and panels, the screen-sized scratch bitmaps.
constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;
constexpr int SCREEN_CENTRE_X = SCREEN_WIDTH / 2;
constexpr int SCREEN_CENTRE_Y = SCREEN_HEIGHT / 2;
