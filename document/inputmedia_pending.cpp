// Temporary: replaced by the picture and movie layers.
#include "document/inputmedia.h"
void KV_initSlotMedia(KVinputSlot*) {}
int16_t KV_openSlotMovie(KVinputSlot*, const FileRef&, const Rect&)
{
  return -1;
}
int16_t KV_openSlotPicture(KVinputSlot*, const FileRef&, const Rect&)
{
  return -1;
}
void KV_showSlotMovieFrame(KVinputSlot*, int32_t) {}
bool KV_slotMovieClock(const KVinputSlot*, int32_t*, int32_t*, int32_t*)
{
  return false;
}
void KV_closeSlotMovie(KVinputSlot*) {}
void KV_freeSlotBuffer(KVinputSlot*) {}
OSErr KV_loadDefaultPicture(const FileRef&, const Rect*, GWorldRec**)
{
  return -1;
}
