#include "engine/world.h"

#include <cstring>

KovrelinWorld* gKovrelinWorld = nullptr;

// Altitude colours of the geographic colour function, low to high. The
// water colours take the lowest tenth of the table.
const normalcolor kDefaultTerrainColors[kDefaultColorCount] = {
    // deep to shallow water
    {255, 0, 0, 64}, {255, 4, 12, 81}, {255, 8, 24, 98}, {255, 12, 36, 116}, {255, 16, 48, 133}, {255, 20, 60, 150},
    // sand
    {255, 194, 178, 128}, {255, 203, 187, 135}, {255, 211, 196, 143}, {255, 220, 205, 150},
    // greens
    {255, 60, 130, 40}, {255, 67, 133, 43}, {255, 74, 136, 46}, {255, 81, 139, 49}, {255, 88, 142, 52}, {255, 95, 145, 55}, {255, 102, 148, 58}, {255, 108, 152, 62}, {255, 115, 155, 65}, {255, 122, 158, 68}, {255, 129, 161, 71}, {255, 136, 164, 74}, {255, 143, 167, 77}, {255, 150, 170, 80},
    // browns
    {255, 130, 100, 60}, {255, 126, 96, 57}, {255, 123, 93, 55}, {255, 119, 89, 52}, {255, 115, 85, 49}, {255, 112, 82, 46}, {255, 108, 78, 44}, {255, 105, 75, 41}, {255, 101, 71, 38}, {255, 97, 67, 35}, {255, 94, 64, 33}, {255, 90, 60, 30},
    // greys
    {255, 100, 100, 100}, {255, 110, 110, 110}, {255, 120, 120, 120}, {255, 130, 130, 130}, {255, 140, 140, 140}, {255, 150, 150, 150}, {255, 160, 160, 160}, {255, 170, 170, 170},
    // snow
    {255, 210, 210, 210}, {255, 225, 225, 225}, {255, 240, 240, 240}, {255, 255, 255, 255},
};

void KV_initWorldRecord(KovrelinWorld* world)
{
  world->batchLength = kBatchCapacity;
  world->label[0] = 0;
  world->defaultColorCount = kDefaultColorCount;
  std::memcpy(world->defaultColors, kDefaultTerrainColors, sizeof world->defaultColors);
}

void KV_setLabel(const unsigned char* s)
{
  if (gKovrelinWorld == nullptr || s == nullptr)
    return;
  std::memcpy(gKovrelinWorld->label, s, size_t(s[0]) + 1);
}
