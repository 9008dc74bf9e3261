#pragma once

#include <allegro.h>

class CALENDAR;
class WORD_DATABASE;
class WORLD;

// The top of the game world: built once before the main loop, it turns the zoom keys,
// the arrow keys and the screen edges into camera zoom and scrolling every logic step.
class SCENE
{
public:
    SCENE();
    ~SCENE();

    void update();
    void draw(BITMAP* target);

    // Singletons that outlive the scene; not owned.
    WORLD* world;
    WORD_DATABASE* words;
    CALENDAR* calendar;

    // 1 to 4: zoom 1, 3, 6 and 9.
    int iZoom_level;
};
