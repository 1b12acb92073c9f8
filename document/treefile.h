// Tree files: a document (`sfuncSystem`) on disk, type 'qjKv', creator
// 'Qjtt'. A file is a fixed big-endian record of 29,256 bytes followed by one
// 14,264-byte component section for each compiled sub-tree held by the main
// tree:
//
//   0       component section of the main tree (engine/treesection.h)
//   14,264  misc section: view, animation block and keyframes, time-random
//           settings, palette, colour function, document settings, octaves
//   19,264  master-input settings and input references of the eight slots
//   19,916  sound settings, sound-path flag, output channel counts, then the
//           permutation of the lookup tables at 25,160
//   29,256  compiled sub-tree sections, in the slot order of their owners
//
// Files of versions 15 to 17 have four input slots and a record 300 bytes
// shorter (28,956); they are widened to the current layout on reading.
//
// Every field is read and written with the big-endian helpers. A file is
// checked as a whole before the document is touched: counts, family codes,
// links, input codes and table entries must lie within what the records
// allow, and every section must be there in full. Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/soundfunc.h"
#include "engine/gfunc.h"
#include "engine/treesection.h"
#include "foundation/fileio.h"
#include "foundation/types.h"
#include "platform/files.h"

inline constexpr size_t kTreeRecordSize = 29256;
inline constexpr size_t kNarrowTreeRecordSize = 28956;  // versions 15 to 17
inline constexpr OSType kTreeFileType = fourcc("qjKv");
inline constexpr OSType kTreeFileCreator = fourcc("Qjtt");
// The extension of the names the program makes for tree files (".kovr").
inline constexpr OSType kTreeFileExtension = fourcc("kovr");

// Versions: below kOldestTreeVersion files are refused with the alert sound,
// 14 and above kTreeVersion silently.
inline constexpr int16_t kOldestTreeVersion = 14;
inline constexpr int16_t kFirstWideTreeVersion = 18;

// The octave count a stored file may ask for: 4..256 (a larger count would
// stall every fractal member, a smaller one is the old minimum).
inline constexpr int16_t kMinOctaves = 4;
inline constexpr int16_t kMaxOctaves = 256;
inline int16_t KV_storedOctaves(int16_t stored)
{
  return stored < kMinOctaves ? kMinOctaves : (stored > kMaxOctaves ? kMaxOctaves : stored);
}

// Results of arb_READ.
enum : int16_t
{
  kTreeReadDamaged = -2,  // short or out-of-limits file; alert sound, document untouched
  kTreeReadCannotOpen = -1,
  kTreeReadUnsupported = 0,  // version not supported
  kTreeReadOK = 1,
};

// Why a file or section was refused: what was wrong and where (a byte offset
// from the start of the file or section).
struct KVfileProblem
{
  const char* what = nullptr;
  size_t offset = 0;
  explicit operator bool() const { return what != nullptr; }
};

// ---- Whole files ----------------------------------------------------------

// Reads the tree file into `doc`. `full` also reads the animation block, the
// frame rate, the master-input settings and the input references; `tables`
// reads the permutation (and rebuilds the derived tables). `sound`, when
// given, receives the sound settings. Returns kTreeReadOK, or one of the
// failures above; on failure only the document's file version
// (doc->tree.version) may have changed. `problem` receives the reason of a
// kTreeReadDamaged result.
int16_t arb_READ(sfuncSystem* doc, const FileRef& file, bool full, bool tables, sSoundfunc* sound,
                 KVfileProblem* problem = nullptr);

// Writes `doc` (and `sound`, when given, with its tag set) as a tree file
// named `ref->name` in `ref->parent`, and sets ref->type to 'qjKv'. The file
// is written under a temporary name in the same folder and renamed over the
// old one only when every byte was written, so a failure never leaves a
// half-written file in its place. Returns 0, or the first failure.
OSErr arb_WRITE(sfuncSystem* doc, frefinfos* ref, sSoundfunc* sound);

// Appends the tree-file extension ".kovr" to a name the program makes
// (unless it already ends with it).
void arb_MakeTreeFileName(StringPtr name);

// ---- Component sections ---------------------------------------------------

// Checks a component section as a reader of `version` takes it: count at most
// 32; each used record of an assigned family, function id at most 127,
// component index not negative, input codes at most 17, sources (of records
// above level 0) that resolve to a slot 0..31, and a compiled sub-tree number
// 0..15 for id-127 records (id 63 counts as 127 below version 19).
KVfileProblem arb_checkSTFileformat(const unsigned char* section, int16_t version);

// Turns a component section into the components of `tree`: each record bound
// through the catalog with its input codes and links; function id 63 read as
// 127 below version 19; A, B, C and the keyframe triples taken from the file
// only for stored component indices of 75 or less (larger ones keep the
// catalog's defaults); the selections are the signed low bytes of their
// fields; a keyframe count above 16 is read as 16. Returns false, with the
// tree untouched, for a section that arb_checkSTFileformat refuses.
bool arb_readSTFileformat(const unsigned char* section, smalltree* tree, int16_t version);

// Writes `tree` into a 14,264-byte section with `keyframeCount` at 14,212,
// version 20, the name "Main" and the code 'qjKv'; renumbers the tree's
// component indices to slot numbers and clears its changed-shape mark.
void arb_writeSTFileformat(smalltree* tree, unsigned char* section, int16_t keyframeCount);

// ---- Misc section, input references, sound --------------------------------

// Checks the numbers of the misc section and, with `tables`, the permutation
// (every entry 0..1023) of a 29,256-byte record.
KVfileProblem arb_checkArbreMisc(const unsigned char* record, bool tables);

// Reads the misc section of a 29,256-byte record: view (a pair stored as 0, 0
// becomes -pi, pi), palette (count at most 63), colour function (bound with
// its flags reset, then depth cue and global shade taken from the file),
// document settings, time-random settings, octave count (at least 4), output
// channels; with `full` the animation block (keyframe count at most 16,
// 29.97 frames per second when flagged); always animation length at least 10
// and frame rate at least 1; with `tables` the permutation.
void arb_readArbreMisc(const unsigned char* record, sfuncSystem* doc, bool full, bool tables);

// Writes the misc section, the permutation and the output channel counts.
void arb_writeArbreMisc(sfuncSystem* doc, unsigned char* record);

// Stores the master-input settings and the eight slots' references; a slot's
// file name is stored only when a component uses the slot and its picture is
// not an outside or default one.
void arb_setInputRefs(sfuncSystem* doc, unsigned char* record);

// Records the stored references of the used, file-fed slots (slots 0..3 for
// versions below 18): native size, movie option and mode (for versions below
// 17 the mode of every slot is the byte at 18,962), file, start value; the
// movie hold is cleared. Finding and opening the files is left to the input
// slots.
void arb_getInputRefs(sfuncSystem* doc, const unsigned char* record, int16_t version);

// Sound settings of a record. Reading: with the tag 2 the transposition
// (clamped to -12..36) and the other settings, and the document's sound-path
// flag; otherwise an empty name, setting3 0 and setting1 0.25. Writing sets
// the tag. Name lengths are unsigned: names of up to 255 characters are kept.
void arb_readSoundSettings(const unsigned char* record, sfuncSystem* doc, sSoundfunc* sound);
void arb_writeSoundSettings(sSoundfunc* sound, unsigned char* record);

// Widens a 28,956-byte record of versions 15 to 17 into a 29,256-byte one:
// the four slots' flags, start values and file references move to their
// current places (slots 4..7 empty) and the sound settings and tables move up
// by 300 bytes.
void arb_widenTreeRecord(const unsigned char* narrow, unsigned char* wide);

// ---- Input references of existing files -----------------------------------

// Rewrites the input references of an existing file of version 20 in place
// (the 956 bytes from 18,960). Returns 0, or the failure (a file of another
// version or shorter than its record gives paramErr).
OSErr arb_rewriteInputRefs(sfuncSystem* doc, const FileRef& file);

// Writes the 600 bytes from 19,316 of `record` (29,256 bytes) into an existing
// tree file at the same place. Returns 0, or the failure.
OSErr farb_replaceInputRefs(const FileRef& file, const unsigned char* record);
