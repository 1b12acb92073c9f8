#include "document/world_init.h"

#include "document/inputslots.h"
#include "engine/palettefiles.h"
#include "engine/palettes.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "foundation/mempool.h"
#include "platform/files.h"

void Kovrelin_worldinit(KovrelinWorld* world)
{
  Kovrelin_worldinit(world, kvfs::resourcesFolder());
}

void Kovrelin_worldinit(KovrelinWorld* world, const FileRef& resources)
{
  KV_initWorldRecord(world);
  KV_installInputHooks();
  world->paletteLib =
      static_cast<cpalettelib*>(AddMemObject(&gMemPool, int32_t(sizeof(cpalettelib))));
  init_cpalettelib(world->paletteLib);
  if (!resources.empty())
    load_default_cpalettelib(world->paletteLib, resources, nullptr);

  sfuncSystem* doc = &world->doc;
  arb_Init(doc);
  arb_presetinit(doc, kFamily21, 0);
  arb_init_Tables(doc);
}
