#include "world/game.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "framework/camera.h"
#include "framework/colours.h"
#include "framework/entity.h"
#include "framework/helpers.h"
#include "framework/image_cache.h"
#include "framework/random.h"
#include "framework/run_files.h"
#include "world/geometry.h"
#include "world/map/quest.h"
#include "world/scene.h"

std::atomic<int> ticks{0};
std::atomic<int> frames{0};
std::atomic<int> fps{0};
bool show_fps = false;
BITMAP* back_buffer = nullptr;
int tick_rate = 0;

namespace
{
COLOR_MAP trans_table;
PALETTE trans_palette;

// The background of Allegro's older text calls, such as the frame-rate line. The call is
// deprecated in Allegro 4.2, whose newer text calls take the background as an argument.
void set_old_text_background(int iColour)
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    text_mode(iColour);
#pragma GCC diagnostic pop
}

// A start-up step failed: its message, then Allegro's own report of why.
[[noreturn]] void fatal(const char* message)
{
    fatal_exit(FAILURE_EXIT_CODE, false, {message, std::string("REPORT:  ") + allegro_error + "\n"});
}

// A failure once a video mode may be set: back to text mode first, where a box can be seen.
[[noreturn]] void fatal_in_mode(const char* message)
{
    set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    fatal(message);
}

// Allegro leaves its error text alone when a call succeeds, so a later failure that sets none
// would REPORT an old one: every checked step starts from an empty text.
void clear_report()
{
    allegro_error[0] = '\0';
}

void set_report(const char* sText)
{
    std::snprintf(allegro_error, ALLEGRO_ERROR_SIZE, "%s", sText);
}

// X sizes a window in 16 bits, and Allegro sizes the screen's pixels in int arithmetic.
bool screen_size_fits(int iWidth, int iHeight, int iDepth)
{
    const bool bKnown_depth =
        iDepth == 8 || iDepth == 15 || iDepth == 16 || iDepth == 24 || iDepth == 32;
    const int iBytes = bKnown_depth ? (iDepth + 7) / 8 : 4;
    return iWidth <= 65535 && iHeight <= 65535 && bitmap_size_fits(iWidth, iHeight, iBytes);
}
}

void increment_ticks()
{
    ++ticks;
}
END_OF_FUNCTION(increment_ticks)

void update_fps()
{
    fps = frames.exchange(0);
}
END_OF_FUNCTION(update_fps)

int ticks_for_seconds(int seconds)
{
    return seconds * tick_rate;
}

bool every_n_ticks(int n)
{
    return game_time % n == 0;
}

void main_loop_pass(const std::function<void()>& wait, const std::function<void()>& logic,
                    const std::function<void()>& draw)
{
    while (ticks <= 1)
        wait();
    while (ticks != 0)
    {
        --ticks;
        ++game_time;
        logic();
    }
    ++frames;
    draw();
}

void main_loop(const std::function<bool()>& quit, const std::function<void()>& wait,
               const std::function<void()>& logic, const std::function<void()>& draw)
{
    while (!quit())
        main_loop_pass(wait, logic, draw);
}

GAME* GAME::instance()
{
    static GAME game;
    return &game;
}

int GAME::node_count()
{
    CONFIG* cfg = instance()->config;
    return cfg != nullptr ? cfg->node_count : 0;
}

void GAME::init()
{
    clear_report();
    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0)
        fatal("ERROR:  Failed to initialize allegro library.  Terminating program.\n");

    config = new CONFIG();
    config->load();

    set_color_depth(config->iColour_depth);
    // A size the screen cannot take would crash inside X or Allegro instead of failing.
    clear_report();
    if (!screen_size_fits(config->iScreen_w, config->iScreen_h, config->iColour_depth))
    {
        char sReport[ALLEGRO_ERROR_SIZE];
        std::snprintf(sReport, sizeof sReport, "Screen size %dx%d out of range",
                      config->iScreen_w, config->iScreen_h);
        set_report(sReport);
        fatal_in_mode("ERROR:  Failure to init video mode!  Terminating program.\n");
    }
    if (set_gfx_mode(config->iCard, config->iScreen_w, config->iScreen_h, 0, 0) < 0)
        fatal_in_mode("ERROR:  Failure to init video mode!  Terminating program.\n");
    clear_report();
    if (install_timer() != 0)
        fatal_in_mode("ERROR:  Failed to install timer.  Terminating program.\n");
    clear_report();
    if (install_keyboard() != 0)
        fatal_in_mode("ERROR:  Failed to install keyboard.  Terminating program.\n");
    clear_report();
    if (install_mouse() < 0)
        fatal_in_mode("ERROR:  Failed to install mouse.  Terminating program.\n");

    set_old_text_background(MAGENTA);

    reserve_voices(32, -1);
    clear_report();
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) != 0)
    {
        allegro_message("ERROR:  Failure to install sound.  Attempting to run without sound.\n");
        allegro_message("REPORT:  %s\n", allegro_error);
        // The silent drivers have no voices; asking for 32 would make them fail too.
        reserve_voices(0, 0);
        clear_report();
        if (install_sound(DIGI_NONE, MIDI_NONE, nullptr) != 0)
            fatal("ERROR:  Failed to install sound.  Terminating program.\n");
    }

    random_seed((unsigned int)std::time(nullptr));

    tick_rate = config->clock_speed;
    LOCK_VARIABLE(ticks);
    LOCK_VARIABLE(frames);
    LOCK_VARIABLE(fps);
    LOCK_FUNCTION(increment_ticks);
    LOCK_FUNCTION(update_fps);
    install_int_ex(increment_ticks, BPS_TO_TIMER(config->clock_speed));
    install_int_ex(update_fps, BPS_TO_TIMER(1));

    back_buffer = create_bitmap(config->iScreen_w, config->iScreen_h);
    if (back_buffer == nullptr)
    {
        set_report("Not enough memory for the back buffer");
        fatal_in_mode("ERROR:  Could not create bitmap.  Memory error.\n");
    }

    create_trans_table(&trans_table, trans_palette, 0, 0, 0, nullptr);
    color_map = &trans_table;
    set_trans_blender(0, 0, 0, 78);

    set_window_title("Codename:  Orvanel, Version 0.0.6");
    set_volume(config->sfx, config->music);
}

void GAME::run()
{
    show_fps = config->framerate == 1;
    start();
    main_loop([] { return key[KEY_ESC] != 0; }, [] { rest(1); }, [this] { logic(); },
              [this] {
                  draw();
                  if (show_fps)
                  {
                      set_old_text_background(-1);
                      textprintf_ex(screen, font, 0, 0, -1, -1, "Framerate:  %dfps", fps.load());
                  }
              });
    shutdown();
}

void GAME::start()
{
    CAMERA* c = CAMERA::current();
    show_mouse(screen);
    QUEST::reset_ids();
    IMAGE_CACHE::load(0, NODES_IMAGE_PATH);
    IMAGE_CACHE::load(1, SIGNIFICANT_LOCATIONS_IMAGE_PATH);
    c->pan_to(WORLD_WIDTH / 2, WORLD_HEIGHT / 2, 0);
    scene = new SCENE();
}

void GAME::logic()
{
    scene->update();
}

void GAME::draw()
{
    scene->draw(back_buffer);
    scare_mouse();
    draw_sprite(screen, back_buffer, 0, 0);
    unscare_mouse();
    vsync();
    clear_bitmap(back_buffer);
}

void GAME::shutdown()
{
    delete scene;
    scene = nullptr;
    IMAGE_CACHE::destroy_all();
    destroy_bitmap_if(back_buffer);
    back_buffer = nullptr;
    allegro_exit();
}
