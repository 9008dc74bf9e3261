#pragma once

class EDGE;
class NODE;

// The last quest id handed out; 0 at start-up and again at every game start.
extern int quest_counter;

// An open quest: reaching nTarget unlocks eLocked, behind which nLocked was revealed.
struct QUEST
{
    QUEST();
    ~QUEST() {}

    void init();
    int get_id() const { return iQuest_id; }
    static void reset_ids();

    NODE* nLocked;
    NODE* nTarget;
    EDGE* eLocked;
    int iQuest_id;
};
