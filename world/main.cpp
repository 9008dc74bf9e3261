#include <allegro.h>

#include "world/game.h"

int main(int, char**)
{
    GAME::instance()->init();
    GAME::instance()->run();
    return 0;
}
END_OF_MAIN()
