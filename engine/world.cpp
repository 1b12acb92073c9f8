#include "engine/world.h"

#include <cstring>

KovrelinWorld* gKovrelinWorld = nullptr;

// Altitude colours of the geographic colour function, index 0 (lowest) to
// 47, every flag byte 255.
const normalcolor kDefaultTerrainColors[kDefaultColorCount] = {
    {255, 0, 0, 60},      {255, 0, 50, 200},    {255, 0, 100, 250},   {255, 0, 150, 250},
    {255, 140, 140, 140}, {255, 250, 250, 140}, {255, 120, 250, 20},  {255, 100, 250, 0},
    {255, 80, 235, 0},    {255, 60, 220, 0},    {255, 40, 185, 0},    {255, 20, 160, 10},
    {255, 0, 150, 20},    {255, 20, 155, 40},   {255, 100, 160, 80},  {255, 230, 160, 90},
    {255, 220, 155, 100}, {255, 210, 150, 120}, {255, 160, 140, 140}, {255, 140, 130, 150},
    {255, 120, 120, 130}, {255, 120, 110, 110}, {255, 105, 95, 90},   {255, 90, 100, 90},
    {255, 120, 140, 150}, {255, 130, 180, 200}, {255, 140, 200, 255}, {255, 160, 220, 255},
    {255, 180, 240, 255}, {255, 190, 240, 255}, {255, 220, 250, 255}, {255, 230, 250, 255},
    {255, 240, 255, 255}, {255, 250, 255, 255}, {255, 255, 255, 255}, {255, 240, 230, 255},
    {255, 240, 230, 255}, {255, 240, 200, 255}, {255, 240, 200, 255}, {255, 230, 170, 255},
    {255, 230, 160, 255}, {255, 220, 140, 255}, {255, 220, 120, 255}, {255, 200, 100, 255},
    {255, 200, 80, 255},  {255, 200, 60, 255},  {255, 200, 40, 255},  {255, 200, 20, 255},
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
