// The list of every 2D cell texture with its calling form and its code rule,
// for tools and tests that walk all cells. Each entry holds exactly one
// function pointer, the one of its form; no cell is called through a pointer
// of another form.
#pragma once

#include <cstdint>
#include <span>

#include "celltextures/celltexture2d.h"
#include "foundation/types.h"

// The pyramid form of PyraStreetsNetwork.
typedef void (*CellPyramidProc)(const KVtables* t, int32_t x, int32_t y, int32_t count,
                                dvector4d* point);

namespace kvcell {

enum class Form
{
  Cell,
  Maze,
  Level,
  Flag,
  Pyramid
};

// What a cell does with the code it is given.
enum class CodeRule
{
  Set,        // always overwrites *code
  SetOrNull,  // overwrites *code; accepts a null pointer
  Add,        // adds to *code
  AddOrNull,  // adds to *code; accepts a null pointer
  Keep,       // never touches *code
  None,       // the form has no code
};

struct CellEntry
{
  const char* name;
  Form form;
  CodeRule code;
  CellTexture2DProc cell = nullptr;
  MazeCellProc maze = nullptr;
  CellLevel2DProc level = nullptr;
  CellFlag2DProc flag = nullptr;
  CellPyramidProc pyramid = nullptr;
};

// Every 2D cell of the city, tech and street sets, in a fixed order.
std::span<const CellEntry> cells2D();

// The entry named `name`, or null.
const CellEntry* findCell2D(const char* name);

// "cell", "maze", "level", "flag" or "pyramid".
const char* formName(Form form);

}  // namespace kvcell
