// The list of every 3D cell texture with its calling form, for tools and
// tests that walk all 3D cells. Each entry holds exactly one function
// pointer, the one of its form.
#pragma once

#include <span>

#include "celltextures/celltexture3d.h"

namespace kvcell {

enum class Form3D
{
  Cell,    // CellTexture3DProc
  Vector,  // CellTexture3DVecProc
};

struct CellEntry3D
{
  const char* name;
  Form3D form;
  CellTexture3DProc cell = nullptr;
  CellTexture3DVecProc vector = nullptr;
};

// Every 3D cell, in a fixed order.
std::span<const CellEntry3D> cells3D();

// The entry named `name`, or null.
const CellEntry3D* findCell3D(const char* name);

// "cell3d" or "vector3d".
const char* formName3D(Form3D form);

}  // namespace kvcell
