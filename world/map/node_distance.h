#pragma once

class NODE;

// A link candidate while a node is being linked: one of the two ways to another node.
struct NODE_DISTANCE
{
    float fDistance;
    NODE* nNode; // not owned
};
