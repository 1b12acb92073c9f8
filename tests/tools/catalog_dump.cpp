// Prints the whole catalog, one line per member, fields separated by tabs:
// family code, id, compute function name, display name in double quotes
// (exact bytes), input connector code, output connector code, and "real" or
// "placeholder". The display name is what the member's handler copies into
// the label buffer at message -1; the connector codes are those a binding
// leaves before message 6.
#include <cstdio>
#include <memory>

#include "engine/catalog.h"
#include "engine/world.h"

int main()
{
  auto world = std::make_unique<KovrelinWorld>();
  KV_initWorldRecord(world.get());
  gKovrelinWorld = world.get();

  auto g = std::make_unique<gfunc>();
  for (uint16_t family : kFamilyCodes) {
    const int count = KV_familyMemberCount(family);
    for (int pos = 0; pos < count; ++pos) {
      const KVcatalogMember m = KV_familyMember(family, pos);
      setFunc(g.get(), int16_t(family), m.id, kBindOnly);
      const int16_t inputCode = g->inputCode, outputCode = g->outputCode;
      world->label[0] = 0;
      g->handler(g.get(), -1, nullptr, nullptr, nullptr);
      std::printf("%u\t%d\t%s\t\"%.*s\"\t%d\t%d\t%s\n", unsigned(family), int(m.id), m.computeName,
                  int(world->label[0]), reinterpret_cast<const char*>(world->label + 1),
                  int(inputCode), int(outputCode), m.real ? "real" : "placeholder");
    }
  }
  gKovrelinWorld = nullptr;
  return 0;
}
