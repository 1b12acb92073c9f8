#include "ui/registry.h"

#include "foundation/appshell.h"
#include "foundation/types.h"
#include "ui/edoc.h"

Edoc* gCurDoc = nullptr;
Edoc* gDocRegistry[kDocRegistrySlots] = {};

void App_RegisterDoc(Edoc* doc)
{
  if (gAppInfos.singleDocument) {
    gDocRegistry[0] = doc;
    return;
  }
  for (Edoc*& slot : gDocRegistry)
    if (!slot) {
      slot = doc;
      return;
    }
}

void App_UnRegisterDoc(Edoc* doc)
{
  if (gAppInfos.singleDocument) {
    gDocRegistry[0] = nullptr;
    return;
  }
  for (Edoc*& slot : gDocRegistry)
    if (slot == doc && doc) {
      slot = nullptr;
      return;
    }
}

int16_t App_CloseAllDoc()
{
  for (Edoc*& slot : gDocRegistry) {
    Edoc* doc = slot;
    if (!doc || !doc->callback)
      continue;
    if (doc->callback(doc, int32_t(fourcc("clos")), nullptr) != 0)
      return 2;
    // The callback may have unregistered or deleted the document already.
    if (slot == doc)
      slot = nullptr;
  }
  return 0;
}

void App_ClearRegistry()
{
  for (Edoc*& slot : gDocRegistry)
    slot = nullptr;
  gCurDoc = nullptr;
}
