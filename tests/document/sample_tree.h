// A document built in memory for the tree-file tests and tools: four
// components with links, a compiled sub-tree of two components, keyframes,
// a palette, a colour function with its flags changed afterwards, and
// distinctive values in every document setting the file carries.
#pragma once

#include <cstring>
#include <initializer_list>
#include <memory>

#include "document/compiledtrees.h"
#include "document/soundfunc.h"
#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "engine/world.h"

namespace kvsample {

// A world whose document is initialised with a fixed permutation.
inline std::unique_ptr<KovrelinWorld> makeWorld(short seed = 1)
{
  auto world = std::make_unique<KovrelinWorld>();
  gKovrelinWorld = world.get();
  KV_initWorldRecord(world.get());
  arb_Init(&world->doc);
  SetRndTempTables(&world->doc, seed);
  arb_setColorfunc(&world->doc, 0, true);
  return world;
}

// Appends member (family, id) at `level`; input k reads output 1 of the
// component in slot sources[k], or the input code codes[k].
inline gfunc* addComponent(smalltree* tree, uint16_t family, int16_t id, uint8_t level,
                           std::initializer_list<int> sources, std::initializer_list<int16_t> codes)
{
  const int slot = tree->count++;
  gfunc* g = &tree->funcs[slot];
  g->index = int16_t(slot);
  g->level = level;
  setFunc(g, int16_t(family), id, kBindDefaults);
  int k = 0;
  for (int16_t code : codes)
    g->inlets[k++].source = code;
  k = 0;
  for (int s : sources)
    g->sources[k++] = &tree->funcs[s];
  if (level > tree->rootLevel)
    tree->rootLevel = level;
  return g;
}

inline void setPascal(unsigned char* out, const char* text)
{
  out[0] = uint8_t(std::strlen(text));
  std::memcpy(out + 1, text, out[0]);
}

// Gives every keyframe of a component a distinct triple.
inline void spreadKeyframes(gfunc* g, double step)
{
  for (int k = 0; k < kKeyframeCount; k++)
    g->keyframes[k] = KVparamTriple{g->A + step * k, g->B - step * k, g->C + 0.5 * step * k};
}

inline void buildTree(sfuncSystem* doc)
{
  smalltree* t = &doc->tree;
  gfunc* a = addComponent(t, kFamily21, 12, 0, {}, {kSourceMasterX, kSourceMasterY});
  gfunc* b = addComponent(t, kFamily21, 15, 0, {}, {kSourceMasterY, kSourceMasterX});
  gfunc* owner = addComponent(t, kFamily21, kCompiledTreeId, 1, {0, 1}, {1, 1});
  gfunc* out = addComponent(t, kFamily21, 44, 2, {2, 0}, {1, 1});
  a->A += 0.25;
  b->lockFlags = kLockA | kLockC;
  a->displayIndex = -1;
  b->displayIndex = 1;
  spreadKeyframes(a, 0.125);
  spreadKeyframes(out, 0.5);

  smalltree* sub = smalltree_Allocate(doc, owner);
  addComponent(sub, kFamily21, 5, 0, {}, {kSourceSubtreeInlet1, kSourceSubtreeInlet1 + 1});
  addComponent(sub, kFamily11, 20, 1, {0}, {1});
  sub->kind = 3;
  sub->version = kTreeVersion;
  setPascal(sub->name, "Twirl");
  arb_ServiceChanges(doc, false);
  t->selection1 = 3;
  t->selection2 = -1;
}

inline void setAnimation(sfuncSystem* doc)
{
  KVanimation& an = doc->animation;
  an.keyCount = 3;
  an.selectedKey = 1;
  for (int k = 0; k < 3; k++) {
    KVkeyframe& key = an.keys[k];
    key.inUse = 1;
    key.componentCount = 4;
    key.cameraX = 0.5 * k;
    key.cameraY = -0.25 * k;
    key.halfSize = 3.0 + k;
    key.palette.count = 4 + k;
    for (int i = 0; i < 64; i++)
      key.palette.colors[i] =
          normalcolor{255, uint8_t(10 * k + i), uint8_t(3 * i), uint8_t(200 - i)};
  }
  doc->tree.kind = 3;
  an.mode = kAnimKeysLooping;
  an.length = 250;
  an.frameRate = 29.97;
  an.straightMoves = 1;
  an.cameraPath = 1;
  an.easing = 3;
  an.randomDrift = 1;
  an.timeRandomOffset = 0.75;
  doc->animPeriod = 450;
}

inline void setDocumentSettings(sfuncSystem* doc)
{
  doc->view = KVviewRect{-2.0, 3.0, -1.5, 2.5};
  cpalette& p = doc->tables.gradientKeys;
  p.count = 9;
  for (int i = 0; i < 64; i++)
    p.colors[i] = normalcolor{255, uint8_t(i * 4), uint8_t(255 - i * 3), uint8_t(i * 7)};
  arb_setColorfunc(doc, 10, true);
  doc->depthCue = 2;  // differs from what the colour function derives
  doc->paletteNumber = 5;
  doc->indexPair[0] = 2;
  doc->indexPair[1] = -1;
  doc->movie.documentByte = 9;
  doc->movie.soundTree = 1;
  doc->movie.soundPathStraight = 1;
  for (int i = 0; i < 4; i++)
    doc->movie.outputChannels[i] = uint16_t(i + 1);
  doc->defaultColors[1] = normalcolor{255, 1, 2, 3};
  doc->fractal.octaves = 7;
  doc->inputMode = 2;
  for (int i = 0; i < 6; i++)
    doc->masterDoubles[i] = 1.5 * (i + 1);
}

inline void buildDocument(sfuncSystem* doc)
{
  buildTree(doc);
  setAnimation(doc);
  setDocumentSettings(doc);
}

// Sound settings with a name longer than 127 characters.
inline sSoundfunc makeSound()
{
  sSoundfunc s{};
  s.transposition = 7;
  s.setting1 = 0.5;
  s.setting2 = 96.0;
  s.setting3 = 0xA1B2C3D4;
  s.setting4 = 0x1234;
  s.setting5 = 77;
  s.name[0] = 200;
  for (int i = 1; i <= 200; i++)
    s.name[i] = uint8_t('a' + i % 26);
  s.setting6 = -3.5;
  return s;
}

}  // namespace kvsample
