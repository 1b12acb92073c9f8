// Tree files: reading, checking, widening and writing the 29,256-byte record
// and its trailing compiled sub-tree sections.

#include "document/treefile.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <string>
#include <unistd.h>
#include <vector>

#include "document/animation.h"
#include "document/compiledtrees.h"
#include "document/inputslots.h"
#include "document/treefile_pvt.h"
#include "engine/colorfuncs.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "foundation/appshell.h"
#include "foundation/bigendian.h"
#include "foundation/checked.h"
#include "foundation/filenames.h"
#include "foundation/handles.h"

using kvtreefile::ForkReader;
using kvtreefile::readColor;
using kvtreefile::readPalette;
using kvtreefile::readPascal;
using kvtreefile::writePascal;
using kvtreefile::writeRangeInPlace;

namespace {

// ---- Offsets of the record -------------------------------------------------

// Component section trailer and records (see engine/treesection.h).
constexpr size_t kSectionVersion = 0;
constexpr size_t kSectionCount = 2;

// Misc section.
constexpr size_t kOffView = 14264;
constexpr size_t kOffSelectedKey = 14296;
constexpr size_t kOffKeyCount = 14298;
constexpr size_t kOffKeys = 14300;
constexpr size_t kKeyRecordSize = 288;
constexpr size_t kOffMovieWidth = 18908;
constexpr size_t kOffMovieHeight = 18912;
constexpr size_t kOffAnimLength = 18916;
constexpr size_t kOffFrameRate = 18920;
constexpr size_t kOffRate2997 = 18922;
constexpr size_t kOffStraightMoves = 18924;
constexpr size_t kOffCameraPath = 18925;
constexpr size_t kOffEasing = 18926;
constexpr size_t kOffAnimMode = 18927;
constexpr size_t kOffRandomDrift = 18928;
constexpr size_t kOffAnimPeriod = 18960;
constexpr size_t kOffOldMovieMode = 18962;  // versions 15 and 16
constexpr size_t kOffTimeRandomOffset = 18964;
constexpr size_t kOffPalette = 18972;
constexpr size_t kOffPaletteNumber = 19232;
constexpr size_t kOffColorFunc = 19234;
constexpr size_t kOffDepthCue = 19236;
constexpr size_t kOffIndexPair = 19238;
constexpr size_t kOffDocumentByte = 19242;
constexpr size_t kOffGlobalShade = 19243;
constexpr size_t kOffDefaultColors = 19244;
constexpr size_t kOffSoundFlag = 19256;
constexpr size_t kOffOctaves = 19258;

// Master-input settings and input references.
constexpr size_t kOffMasterMode = 19264;
constexpr size_t kOffMasterDoubles = 19268;
constexpr size_t kOffSlotFlags = 19316;
constexpr size_t kOffStartValues = 19324;
constexpr size_t kOffFileSpecs = 19356;
constexpr size_t kFileSpecSize = 70;

// Sound settings and the rest.
constexpr size_t kOffSoundTag = 19916;
constexpr size_t kOffTransposition = 19920;
constexpr size_t kOffSoundSetting1 = 19924;
constexpr size_t kOffSoundSetting2 = 19932;
constexpr size_t kOffSoundSetting3 = 19940;
constexpr size_t kOffSoundSetting4 = 24558;
constexpr size_t kOffSoundSetting5 = 24560;
constexpr size_t kOffSoundName = 24564;
constexpr size_t kOffSoundSetting6 = 25084;
constexpr size_t kOffSoundPath = 25092;
constexpr size_t kOffOutputChannels = 25094;
constexpr size_t kOffPermutation = 25160;

// Layout of versions 15 to 17 where it differs: four slots.
constexpr size_t kNarrowSlots = 4;
constexpr size_t kNarrowOffStartValues = 19320;
constexpr size_t kNarrowOffFileSpecs = 19336;
constexpr size_t kNarrowOffSound = 19616;

// The ranges that the input-reference rewriters write.
constexpr size_t kRewriteOffset = 18960;
constexpr size_t kRewriteSize = 956;
constexpr size_t kReplaceOffset = 19316;
constexpr size_t kReplaceSize = 600;

constexpr int16_t kFirstVersionOfId127 = 19;  // below it compiled trees are id 63
constexpr int16_t kOldCompiledTreeId = 63;
constexpr int16_t kFirstVersionWithSlotFlags = 17;
constexpr int16_t kFirstBalancedVersion = 16;
constexpr int kMaxSourceCode = 17;
constexpr int kMaxPaletteCount = 63;
constexpr double kNtscRate = 29.97;
constexpr int kPermutationSize = 1024;
constexpr uint16_t kMovieWidth = 720;
constexpr uint16_t kMovieHeight = 480;

using Section = std::array<unsigned char, kComponentSectionSize>;

// ---- Field helpers -----------------------------------------------------------

const unsigned char* recordAt(const unsigned char* section, int i)
{
  return section + kComponentRecordsOffset + size_t(i) * kComponentRecordSize;
}

void writePalette(const cpalette* palette, unsigned char* p)
{
  be::put_u32(p, uint32_t(palette->count));
  for (int i = 0; i < 64; i++) {
    unsigned char* c = p + 4 + 4 * i;
    const normalcolor& k = palette->colors[i];
    c[0] = k.flag;
    c[1] = k.red;
    c[2] = k.green;
    c[3] = k.blue;
  }
}

void writeColor(const normalcolor& c, unsigned char* p)
{
  p[0] = c.flag;
  p[1] = c.red;
  p[2] = c.green;
  p[3] = c.blue;
}

int16_t keyCountOf(const sfuncSystem* doc)
{
  return int16_t(std::clamp<int>(doc->animation.keyCount, 0, kKeyframeCount));
}

// ---- Keyframe records ----------------------------------------------------------

void readKeyframe(const unsigned char* p, KVkeyframe* key)
{
  key->inUse = be::get_u16(p);
  key->componentCount = be::get_u16(p + 2);
  key->cameraX = be::get_f64(p + 4);
  key->cameraY = be::get_f64(p + 12);
  key->halfSize = be::get_f64(p + 20);
  readPalette(p + 28, &key->palette);
}

void writeKeyframe(const KVkeyframe& key, unsigned char* p)
{
  be::put_u16(p, key.inUse);
  be::put_u16(p + 2, key.componentCount);
  be::put_f64(p + 4, key.cameraX);
  be::put_f64(p + 12, key.cameraY);
  be::put_f64(p + 20, key.halfSize);
  writePalette(&key.palette, p + 28);
}

// ---- Misc section parts ----------------------------------------------------------

// Palette, colour function and the document settings around them. Binding
// the colour function with its flags reset clears the depth cue and the
// global shade, so both are taken from the file afterwards.
void readColorSettings(const unsigned char* record, sfuncSystem* doc)
{
  doc->paletteNumber = be::get_i16(record + kOffPaletteNumber);
  int16_t colorFunc = be::get_i16(record + kOffColorFunc);
  readPalette(record + kOffPalette, &doc->tables.gradientKeys);
  arb_setColorfunc(doc, colorFunc, true);
  doc->indexPair[0] = be::get_i16(record + kOffIndexPair);
  doc->indexPair[1] = be::get_i16(record + kOffIndexPair + 2);
  doc->depthCue = be::get_i16(record + kOffDepthCue);
  doc->movie.documentByte = record[kOffDocumentByte];
  doc->globalShade = record[kOffGlobalShade];
  for (int i = 0; i < 3; i++)
    readColor(record + kOffDefaultColors + 4 * i, &doc->defaultColors[i]);
}

void readAnimationBlock(const unsigned char* record, KVanimation* anim)
{
  anim->modeInProgress = 0;
  int selected = be::get_u16(record + kOffSelectedKey);
  anim->selectedKey = int16_t(selected < kKeyframeCount ? selected : 0);
  anim->keyCount = int16_t(std::min<int>(be::get_u16(record + kOffKeyCount), kKeyframeCount));
  double rate = be::get_u16(record + kOffFrameRate);
  if (rate >= 29.0 && be::get_u16(record + kOffRate2997) != 0)
    rate = kNtscRate;
  anim->frameRate = rate;
  anim->mode = record[kOffAnimMode];
  anim->straightMoves = record[kOffStraightMoves];
  anim->cameraPath = record[kOffCameraPath];
  anim->easing = record[kOffEasing];
  anim->randomDrift = record[kOffRandomDrift];
  for (int k = 0; k < anim->keyCount; k++)
    readKeyframe(record + kOffKeys + size_t(k) * kKeyRecordSize, &anim->keys[k]);
}

void readPermutation(const unsigned char* record, sfuncSystem* doc)
{
  for (int i = 0; i < kPermutationSize; i++)
    doc->tables.perm[i] = int32_t(be::get_u32(record + kOffPermutation + 4 * size_t(i)));
  arb_compRndVecTable(doc);
}

// ---- Whole-file reading ---------------------------------------------------------

int countCompiledTrees(const unsigned char* section, int16_t version)
{
  int count = be::get_u16(section + kSectionCount);
  int found = 0;
  for (int i = 0; i < count; i++) {
    int id = be::get_u16(recordAt(section, i) + kRecFuncID);
    if (id == kCompiledTreeId || (version < kFirstVersionOfId127 && id == kOldCompiledTreeId))
      found++;
  }
  return found;
}

struct LoadedFile
{
  std::vector<unsigned char> record;    // kTreeRecordSize bytes, current layout
  std::vector<unsigned char> sections;  // the compiled sub-tree sections read
  size_t sectionCount = 0;
};

// Reads and checks the record and the sub-tree sections that follow it.
KVfileProblem loadTreeFile(ForkReader& in, int16_t version, bool tables, LoadedFile* file)
{
  bool narrow = version < kFirstWideTreeVersion;
  size_t stored = narrow ? kNarrowTreeRecordSize : kTreeRecordSize;
  std::vector<unsigned char> raw(stored);
  if (in.read(0, stored, raw.data()) != stored)
    return {"file shorter than its record", stored};
  if (narrow) {
    file->record.assign(kTreeRecordSize, 0);
    arb_widenTreeRecord(raw.data(), file->record.data());
  } else {
    file->record = std::move(raw);
  }
  if (KVfileProblem p = arb_checkSTFileformat(file->record.data(), version))
    return p;
  if (KVfileProblem p = arb_checkArbreMisc(file->record.data(), tables))
    return p;

  int compiled = countCompiledTrees(file->record.data(), version);
  if (compiled > kEmbeddedTrees)
    return {"more than 16 compiled sub-trees", kSectionCount};
  // A file that ends right after a section simply holds no more sub-trees;
  // one that ends inside a section is damaged.
  file->sections.assign(size_t(compiled) * kComponentSectionSize, 0);
  for (int k = 0; k < compiled; k++) {
    size_t at = stored + size_t(k) * kComponentSectionSize;
    unsigned char* section = file->sections.data() + size_t(k) * kComponentSectionSize;
    size_t got = in.read(int64_t(at), kComponentSectionSize, section);
    if (got == 0)
      break;
    if (got != kComponentSectionSize)
      return {"compiled sub-tree section cut short", at + got};
    int16_t sectionVersion = be::get_i16(section + kSectionVersion);
    if (sectionVersion < kOldestCompiledTreeVersion || sectionVersion > kTreeVersion)
      return {"compiled sub-tree section of an unknown version", at};
    if (KVfileProblem p = arb_checkSTFileformat(section, sectionVersion))
      return {p.what, at + p.offset};
    file->sectionCount++;
  }
  return {};
}

void applyTreeFile(sfuncSystem* doc, const LoadedFile& file, int16_t version, bool full,
                   bool tables, sSoundfunc* sound)
{
  const unsigned char* record = file.record.data();
  arb_ClearAuxMemory(doc, true);
  arb_readSTFileformat(record, &doc->tree, version);
  arb_readArbreMisc(record, doc, full, tables);
  if (sound)
    arb_readSoundSettings(record, doc, sound);

  arb_SetFuncID(&doc->tree, true);
  arb_RecomputeFlags(doc, false);
  int16_t outputSlot = 0;
  doc->outputFunc = arb_findOutputFunc(&doc->tree, &outputSlot);
  doc->tree.outputIndex = uint8_t(doc->outputFunc ? doc->outputFunc->index : 0);
  doc->treeChanged = 1;
  if (full && version < kFirstBalancedVersion)
    arb_BalancedisplayIndex(&doc->tree);

  if (doc->compiledCount > 0)
    smalltree_GetInFile(doc, file.sections.data(), file.sectionCount);
  if (full) {
    doc->inputMode = int16_t(be::get_u32(record + kOffMasterMode) & 0xFFFF);
    for (int i = 0; i < 6; i++)
      doc->masterDoubles[i] = be::get_f64(record + kOffMasterDoubles + 8 * size_t(i));
  }
  arb_RecomputeFlags(doc, true);
  if (full && doc->inputCount > 0)
    arb_getInputRefs(doc, record, version);
}

// ---- Whole-file writing ----------------------------------------------------------

// The file-system form of a Pascal file name: '/' cannot stand in a name on
// this system and becomes ':' (the old file system showed one as the other).
std::string fileSystemName(ConstStringPtr name)
{
  std::string s(reinterpret_cast<const char*>(name + 1), name[0]);
  std::replace(s.begin(), s.end(), '/', ':');
  return s;
}

// A fresh file beside `target`, created exclusively.
OSErr createTemporary(const FileRef& target, FileRef* temp)
{
  static std::atomic<unsigned> serial{0};
  for (int attempt = 0; attempt < 100; attempt++) {
    std::string name = "." + target.name + ".tmp" + std::to_string(::getpid()) + "-" +
                       std::to_string(serial.fetch_add(1));
    *temp = FileRef{target.parent, name};
    bool created = false;
    OSErr err = kvfs::createFile(*temp, created);
    if (err != 0)
      return err;
    if (created)
      return 0;
  }
  return dupFNErr;
}

OSErr writeTreeContents(sfuncSystem* doc, const unsigned char* record, const FileRef& temp)
{
  OSErr err = 0;
  int16_t fork = kvfs::openFork(temp, fsWrPerm, &err);
  if (fork == 0)
    return err != 0 ? err : ioErr;
  err = kvfs::writeFork(fork, 0, kTreeRecordSize, record);
  if (err == 0 && doc->compiledCount > 0) {
    std::vector<unsigned char> section(kComponentSectionSize);
    int64_t offset = int64_t(kTreeRecordSize);
    err = smalltree_AddInFile(doc, section.data(), fork, &offset);
  }
  OSErr closeErr = kvfs::closeFork(fork);
  return err != 0 ? err : closeErr;
}

OSErr replaceWithTemporary(const FileRef& temp, const FileRef& target)
{
  OSErr err = kvfs::setTypeAndCreator(temp, kTreeFileType, kTreeFileCreator);
  if (err != 0)
    return err;
  std::error_code ec;
  std::filesystem::rename(temp.path(), target.path(), ec);
  return ec ? ioErr : 0;
}

}  // namespace

// ---- Component sections --------------------------------------------------------------

KVfileProblem arb_checkSTFileformat(const unsigned char* section, int16_t version)
{
  int count = be::get_u16(section + kSectionCount);
  if (count > kMaxComponents)
    return {"component count above 32", kSectionCount};
  for (int i = 0; i < count; i++) {
    const unsigned char* rec = recordAt(section, i);
    size_t at = size_t(rec - section);
    uint16_t family = be::get_u16(rec + kRecFamily);
    if (KV_familyInputs(family) == 0)
      return {"unknown family code", at + kRecFamily};
    int id = be::get_u16(rec + kRecFuncID);
    if (id > kCompiledTreeId)
      return {"function id above 127", at + kRecFuncID};
    if (be::get_i16(rec + kRecIndex) < 0)
      return {"negative component index", at + kRecIndex};
    for (int j = 0; j < 4; j++)
      if (be::get_u16(rec + kRecInletCodes + 2 * j) > kMaxSourceCode)
        return {"unknown input code", at + kRecInletCodes + 2 * size_t(j)};
    bool compiled =
        id == kCompiledTreeId || (version < kFirstVersionOfId127 && id == kOldCompiledTreeId);
    if (compiled && be::get_u16(rec + kRecAuxIndex) >= kEmbeddedTrees)
      return {"compiled sub-tree number above 15", at + kRecAuxIndex};
    if (rec[kRecLevel] == 0)
      continue;
    for (int j = 0; j < 4; j++) {
      int16_t source = be::get_i16(rec + kRecSources + 2 * j);
      if (source < 0)
        continue;
      int16_t slot = findindexbyuniqid(section, int16_t(count), source);
      if (slot < 0 || slot >= kMaxComponents)
        return {"input source outside the tree", at + kRecSources + 2 * size_t(j)};
    }
  }
  return {};
}

bool arb_readSTFileformat(const unsigned char* section, smalltree* tree, int16_t version)
{
  if (arb_checkSTFileformat(section, version))
    return false;
  // The engine's rebuild reads the current form: patch a copy into it.
  Section copy;
  std::memcpy(copy.data(), section, kComponentSectionSize);
  int count = be::get_u16(copy.data() + kSectionCount);
  if (version < kFirstVersionOfId127) {
    for (int i = 0; i < count; i++) {
      unsigned char* id =
          copy.data() + kComponentRecordsOffset + size_t(i) * kComponentRecordSize + kRecFuncID;
      if (be::get_u16(id) == uint16_t(kOldCompiledTreeId))
        be::put_u16(id, kCompiledTreeId);
    }
  }
  uint16_t keyframes = be::get_u16(copy.data() + kSectionKindOffset);
  be::put_u16(copy.data() + kSectionKindOffset, std::min<uint16_t>(keyframes, kKeyframeCount));
  return arb_rebuild(copy.data(), tree) == KVsectionError::kNone;
}

void arb_writeSTFileformat(smalltree* tree, unsigned char* section, int16_t keyframeCount)
{
  tree->rootChanged = 0;
  arb_2_farb(tree, section, keyframeCount);
}

// ---- Misc section ----------------------------------------------------------------------

KVfileProblem arb_checkArbreMisc(const unsigned char* record, bool tables)
{
  if (!tables)
    return {};
  for (int i = 0; i < kPermutationSize; i++) {
    size_t at = kOffPermutation + 4 * size_t(i);
    if (be::get_u32(record + at) >= uint32_t(kPermutationSize))
      return {"permutation entry outside 0..1023", at};
  }
  return {};
}

void arb_readArbreMisc(const unsigned char* record, sfuncSystem* doc, bool full, bool tables)
{
  kvtreefile::readViewRect(record + kOffView, &doc->view);
  readColorSettings(record, doc);
  doc->animPeriod = be::get_u16(record + kOffAnimPeriod);
  doc->animation.timeRandomOffset = be::get_f64(record + kOffTimeRandomOffset);
  doc->movie.soundTree = be::get_u16(record + kOffSoundFlag) == 1 ? 1 : 0;
  doc->fractal.octaves = KV_storedOctaves(be::get_i16(record + kOffOctaves));
  for (int i = 0; i < 4; i++)
    doc->movie.outputChannels[i] = be::get_u16(record + kOffOutputChannels + 2 * size_t(i));
  if (full)
    readAnimationBlock(record, &doc->animation);
  doc->animation.length = std::max(be::get_i32(record + kOffAnimLength), kMinAnimLength);
  doc->animation.frameRate = std::max(doc->animation.frameRate, 1.0);
  if (tables)
    readPermutation(record, doc);
}

void arb_writeArbreMisc(sfuncSystem* doc, unsigned char* record)
{
  const KVviewRect& v = doc->view;
  be::put_f64(record + kOffView, v.xmin);
  be::put_f64(record + kOffView + 8, v.xmax);
  be::put_f64(record + kOffView + 16, v.ymin);
  be::put_f64(record + kOffView + 24, v.ymax);
  be::put_i16(record + kOffPaletteNumber, doc->paletteNumber);
  be::put_i16(record + kOffColorFunc, doc->colorFuncIndex);
  writePalette(&doc->tables.gradientKeys, record + kOffPalette);
  be::put_i16(record + kOffDepthCue, doc->depthCue);
  be::put_i16(record + kOffIndexPair, doc->indexPair[0]);
  be::put_i16(record + kOffIndexPair + 2, doc->indexPair[1]);
  record[kOffDocumentByte] = doc->movie.documentByte;
  record[kOffGlobalShade] = doc->globalShade;
  for (int i = 0; i < 3; i++)
    writeColor(doc->defaultColors[i], record + kOffDefaultColors + 4 * i);
  be::put_u16(record + kOffSoundFlag, doc->movie.soundTree);
  be::put_i16(record + kOffOctaves, doc->fractal.octaves);

  const KVanimation& a = doc->animation;
  int16_t keys = keyCountOf(doc);
  be::put_i16(record + kOffSelectedKey, a.selectedKey);
  be::put_i16(record + kOffKeyCount, keys);
  for (int k = 0; k < keys; k++)
    writeKeyframe(a.keys[k], record + kOffKeys + size_t(k) * kKeyRecordSize);
  be::put_u32(record + kOffMovieWidth, kMovieWidth);
  be::put_u32(record + kOffMovieHeight, kMovieHeight);
  be::put_i32(record + kOffAnimLength, a.length);
  bool ntsc = a.frameRate == kNtscRate;
  be::put_u16(record + kOffFrameRate, kvnum::sat_u16(a.frameRate));
  be::put_u16(record + kOffRate2997, ntsc ? 1 : 0);
  record[kOffStraightMoves] = a.straightMoves;
  record[kOffCameraPath] = a.cameraPath;
  record[kOffEasing] = a.easing;
  record[kOffAnimMode] = uint8_t(a.mode);
  record[kOffRandomDrift] = a.randomDrift;
  be::put_u16(record + kOffAnimPeriod, doc->animPeriod);
  be::put_f64(record + kOffTimeRandomOffset, a.timeRandomOffset);

  for (int i = 0; i < kPermutationSize; i++)
    be::put_u32(record + kOffPermutation + 4 * size_t(i), uint32_t(doc->tables.perm[i]));
  for (int i = 0; i < 4; i++)
    be::put_u16(record + kOffOutputChannels + 2 * size_t(i), doc->movie.outputChannels[i]);
}

// ---- Input references --------------------------------------------------------------------

void arb_setInputRefs(sfuncSystem* doc, unsigned char* record)
{
  be::put_u32(record + kOffMasterMode, uint16_t(doc->inputMode));
  for (int i = 0; i < 6; i++)
    be::put_f64(record + kOffMasterDoubles + 8 * size_t(i), doc->masterDoubles[i]);
  for (int s = 0; s < kInputSlots; s++) {
    const KVinputSlot& slot = doc->inputs[s];
    unsigned char* fileRecord = record + kOffFileSpecs + kFileSpecSize * size_t(s);
    // A slot without a file of its own (unused, default picture or a fixed
    // outside buffer) is stored wholly empty: a reader ignores every field
    // of a nameless reference, so nothing else of it would come back.
    if (!slot.inUse || slot.sourceKind == kInputFixedBuffer || slot.file.name[0] == 0) {
      record[kOffSlotFlags + s] = 0;
      be::put_u32(record + kOffStartValues + 4 * size_t(s), 0);
      std::memset(fileRecord, 0, kFileSpecSize);
      continue;
    }
    record[kOffSlotFlags + s] = uint8_t((slot.nativeSize & 1) | ((slot.movieOption & 3) << 1) |
                                        ((slot.movieMode & 15) << 4));
    be::put_u32(record + kOffStartValues + 4 * size_t(s), slot.startValue);
    be::put_i16(fileRecord, slot.file.volume);
    be::put_i32(fileRecord + 2, slot.file.parentID);
    writePascal(slot.file.name, fileRecord + 6, sizeof(Str63));
  }
}

void arb_getInputRefs(sfuncSystem* doc, const unsigned char* record, int16_t version)
{
  int slots = version < kFirstWideTreeVersion ? int(kNarrowSlots) : kInputSlots;
  for (int s = 0; s < slots; s++) {
    KVinputSlot& slot = doc->inputs[s];
    const unsigned char* fileRecord = record + kOffFileSpecs + kFileSpecSize * size_t(s);
    if (slot.sourceKind != kInputOwnFile || !slot.inUse || fileRecord[6] == 0)
      continue;
    uint8_t flags = record[kOffSlotFlags + s];
    slot.nativeSize = flags & 1;
    if (version < kFirstVersionWithSlotFlags) {
      slot.movieOption = 0;
      slot.movieMode = record[kOffOldMovieMode];
    } else {
      slot.movieOption = (flags >> 1) & 3;
      slot.movieMode = flags >> 4;
    }
    slot.file.volume = be::get_i16(fileRecord);
    slot.file.parentID = be::get_i32(fileRecord + 2);
    readPascal(fileRecord + 6, sizeof(Str63), slot.file.name, sizeof(Str63));
    slot.startValue = be::get_u32(record + kOffStartValues + 4 * size_t(s));
    slot.movieHold = 0;
  }
}

// ---- Sound settings ----------------------------------------------------------------------

void arb_readSoundSettings(const unsigned char* record, sfuncSystem* doc, sSoundfunc* sound)
{
  if (be::get_i32(record + kOffSoundTag) != kSoundSettingsTag) {
    sound->name[0] = 0;
    sound->setting3 = 0;
    sound->setting1 = 0.25;
    return;
  }
  sound->transposition =
      std::clamp(be::get_i32(record + kOffTransposition), kMinTransposition, kMaxTransposition);
  sound->setting1 = be::get_f64(record + kOffSoundSetting1);
  sound->setting2 = be::get_f64(record + kOffSoundSetting2);
  sound->setting3 = be::get_u32(record + kOffSoundSetting3);
  sound->setting4 = be::get_u16(record + kOffSoundSetting4);
  sound->setting5 = be::get_u32(record + kOffSoundSetting5);
  readPascal(record + kOffSoundName, sizeof(Str255), sound->name, sizeof(Str255));
  sound->setting6 = be::get_f64(record + kOffSoundSetting6);
  doc->movie.soundPathStraight = be::get_u16(record + kOffSoundPath) != 0 ? 1 : 0;
}

void arb_writeSoundSettings(sSoundfunc* sound, unsigned char* record)
{
  sound->tag = kSoundSettingsTag;
  be::put_i32(record + kOffSoundTag, sound->tag);
  be::put_i32(record + kOffTransposition, sound->transposition);
  be::put_f64(record + kOffSoundSetting1, sound->setting1);
  be::put_f64(record + kOffSoundSetting2, sound->setting2);
  be::put_u32(record + kOffSoundSetting3, sound->setting3);
  be::put_u16(record + kOffSoundSetting4, sound->setting4);
  be::put_u32(record + kOffSoundSetting5, sound->setting5);
  writePascal(sound->name, record + kOffSoundName, sizeof(Str255));
  be::put_f64(record + kOffSoundSetting6, sound->setting6);
}

// ---- Widening ------------------------------------------------------------------------------

void arb_widenTreeRecord(const unsigned char* narrow, unsigned char* wide)
{
  std::memset(wide, 0, kTreeRecordSize);
  std::memcpy(wide, narrow, kOffSlotFlags + kNarrowSlots);
  std::memcpy(wide + kOffStartValues, narrow + kNarrowOffStartValues, 4 * kNarrowSlots);
  std::memcpy(wide + kOffFileSpecs, narrow + kNarrowOffFileSpecs, kFileSpecSize * kNarrowSlots);
  std::memcpy(wide + kOffSoundTag, narrow + kNarrowOffSound,
              kNarrowTreeRecordSize - kNarrowOffSound);
}

// ---- Whole files ---------------------------------------------------------------------------

int16_t arb_READ(sfuncSystem* doc, const FileRef& file, bool full, bool tables, sSoundfunc* sound,
                 KVfileProblem* problem)
{
  ForkReader in(file);
  if (!in.open())
    return kTreeReadCannotOpen;
  unsigned char head[2] = {0, 0};
  if (in.read(0, sizeof head, head) != sizeof head) {
    if (problem)
      *problem = {"file shorter than its version", 0};
    PlayAlertSound();
    return kTreeReadDamaged;
  }
  int16_t version = be::get_i16(head);
  doc->tree.version = version;
  if (version < kOldestTreeVersion) {
    PlayAlertSound();
    return kTreeReadUnsupported;
  }
  if (version == kOldestTreeVersion || version > kTreeVersion)
    return kTreeReadUnsupported;

  LoadedFile loaded;
  if (KVfileProblem p = loadTreeFile(in, version, tables, &loaded)) {
    if (problem)
      *problem = p;
    PlayAlertSound();
    return kTreeReadDamaged;
  }
  applyTreeFile(doc, loaded, version, full, tables, sound);
  if (full && doc->inputCount > 0)
    arb_inputread(doc, file, version);
  return kTreeReadOK;
}

OSErr arb_WRITE(sfuncSystem* doc, frefinfos* ref, sSoundfunc* sound)
{
  ref->type = kTreeFileType;
  arb_RecomputeFlags(doc, true);

  std::vector<unsigned char> record(kTreeRecordSize, 0);
  arb_writeSTFileformat(&doc->tree, record.data(), keyCountOf(doc));
  arb_writeArbreMisc(doc, record.data());
  arb_setInputRefs(doc, record.data());
  be::put_u16(record.data() + kOffSoundPath, doc->movie.soundPathStraight);
  if (sound)
    arb_writeSoundSettings(sound, record.data());

  if (ref->name[0] == 0 || ref->parent.empty())
    return paramErr;
  FileRef target{ref->parent.path(), fileSystemName(ref->name)};
  FileRef temp;
  OSErr err = createTemporary(target, &temp);
  if (err != 0)
    return err;
  err = writeTreeContents(doc, record.data(), temp);
  if (err == 0)
    err = replaceWithTemporary(temp, target);
  if (err != 0)
    kvfs::deleteFile(temp);
  return err;
}

void arb_MakeTreeFileName(StringPtr name)
{
  ConcatExtension(name, kTreeFileExtension, 4);
}

OSErr arb_rewriteInputRefs(sfuncSystem* doc, const FileRef& file)
{
  std::vector<unsigned char> record(kTreeRecordSize, 0);
  {
    ForkReader in(file);
    if (!in.open())
      return fnfErr;
    if (in.read(0, kTreeRecordSize, record.data()) != kTreeRecordSize)
      return paramErr;
  }
  if (be::get_i16(record.data()) != kTreeVersion)
    return paramErr;
  arb_setInputRefs(doc, record.data());
  return writeRangeInPlace(file, kTreeRecordSize, kRewriteOffset, kRewriteSize,
                           record.data() + kRewriteOffset);
}

OSErr farb_replaceInputRefs(const FileRef& file, const unsigned char* record)
{
  return writeRangeInPlace(file, kTreeRecordSize, kReplaceOffset, kReplaceSize,
                           record + kReplaceOffset);
}
