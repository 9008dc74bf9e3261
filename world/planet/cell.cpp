#include "world/planet/cell.h"

void CELL::init(CELL* pCell)
{
    pCell->iKind = 1;
    pCell->iHeight = 0;
    pCell->iLandmass = -1;
    pCell->iReserved = 0;
    pCell->fTemperature = 0.0f;
    pCell->bRiver = 0;
    pCell->bForest = 0;
    pCell->bDesert = 0;
}

void CELL::copy(CELL* pDestination, const CELL* pSource)
{
    *pDestination = *pSource;
}
