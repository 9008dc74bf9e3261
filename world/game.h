#pragma once

#include <allegro.h>

#include <atomic>
#include <functional>

#include "framework/config.h"

class SCENE;

// Shared with Allegro's timer thread, hence atomic: no tick or frame is lost.
extern std::atomic<int> ticks;
extern std::atomic<int> frames;
extern std::atomic<int> fps;
extern bool show_fps;
extern BITMAP* back_buffer;
extern int tick_rate;

void increment_ticks();
void update_fps();
int ticks_for_seconds(int seconds);
bool every_n_ticks(int n);

// The fixed-rate loop apart from the devices, so that it runs on any source of ticks. One
// pass waits while at most one tick is pending, then runs every due logic step (each takes
// a tick and advances game_time) and draws one frame. The loop asks quit once per pass,
// before the wait.
void main_loop_pass(const std::function<void()>& wait, const std::function<void()>& logic,
                    const std::function<void()>& draw);
void main_loop(const std::function<bool()>& quit, const std::function<void()>& wait,
               const std::function<void()>& logic, const std::function<void()>& draw);

// The application: starts Allegro and the devices, runs the fixed-rate loop, shuts down.
class GAME
{
public:
    static GAME* instance();
    // The settings record's node_count, which the map generation reads; 0 while there is no
    // settings record yet.
    static int node_count();

    void init();
    void run();

    CONFIG* config;
    SCENE* scene;

private:
    GAME() : config(nullptr), scene(nullptr) {}

    void start();
    void logic();
    void draw();
    void shutdown();
};
