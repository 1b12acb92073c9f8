#include "engine/pictinput.h"

#include <algorithm>
#include <atomic>
#include <numbers>

#include "imaging/offworld.h"

namespace {

// Installed once at start-up by the document layer, read on the main thread.
std::atomic<KVdefaultInputProc> gDefaultInputProc{nullptr};
std::atomic<const GWorldRec* const*> gDefaultPicture{nullptr};

bool isDefaultPicture(const GWorldRec* buffer)
{
  const GWorldRec* const* p = gDefaultPicture.load();
  return p != nullptr && *p != nullptr && *p == buffer;
}

}  // namespace

void KV_setDefaultInputProc(KVdefaultInputProc proc, const GWorldRec* const* defaultPicture)
{
  gDefaultInputProc = proc;
  gDefaultPicture = defaultPicture;
}

void prepare_pictmovie_input(gfunc* g, KVpictureRecord* record)
{
  sfuncSystem* doc = g->doc;
  g->auxIndex = int16_t(std::clamp<int>(g->auxIndex, 0, kInputSlots - 1));
  if (doc == nullptr) {
    record->base = nullptr;
    return;
  }
  KVinputSlot* slot = &doc->inputs[g->auxIndex];
  g->link = slot;
  if (slot->picture == nullptr)
    if (KVdefaultInputProc proc = gDefaultInputProc.load())
      proc(doc, slot);

  const GWorldRec* buffer = slot->picture;
  if (buffer == nullptr || buffer->pixels.baseAddr == nullptr) {
    record->base = nullptr;
    return;
  }
  // Always the bounds of the buffer sampled: a smaller outside buffer must
  // never be read as if it had the default picture's size.
  const Rect& bounds = buffer->pixels.bounds;
  record->width = std::max(0, bounds.right - bounds.left);
  record->height = std::max(0, bounds.bottom - bounds.top);
  record->sy = g->A * record->height / (2 * std::numbers::pi);
  record->sx = record->sy;
  const bool ownFile = slot->sourceKind == kInputOwnFile && slot->file.name[0] != 0;
  if (!ownFile)
    record->sx *= doc->zoom;
  record->cx = record->width / 2.0;
  record->cy = record->height / 2.0;
  record->tileX = kNoTiling;
  record->tileY = kNoTiling;
  record->rowBytes = uint32_t(std::max(0, buffer->pixels.rowBytes));
  record->base = buffer->pixels.baseAddr;
  record->is8bit = buffer->pixels.pixelSize == 8;
  record->movieOpen = slot->movieOpen;
  record->multiFrame = slot->movieMultiFrame;
  record->live = slot->movieOpen != 0 ||
                 ((slot->sourceKind == kInputFixedBuffer || slot->sourceKind == kInputLiveBuffer) &&
                  !isDefaultPicture(buffer));
}
