// The member tables as the engine's catalog sees them.
#include "components/common/families.h"
#include "engine/catalog.h"

const KVmemberList* KV_familyMembers(int family)
{
  switch (family) {
    case kFamily11:
      return &kF11Members;
    case kFamily21:
      return &kF21Members;
    case kFamily22:
      return &kF22Members;
    case kFamily31:
      return &kF31Members;
    case kFamily32:
      return &kF32Members;
    case kFamily42:
      return &kF42Members;
    case kFamily23:
      return &kF23Members;
    case kFamily33:
      return &kF33Members;
    case kFamily43:
      return &kF43Members;
    case kFamily24:
      return &kF24Members;
    case kFamily34:
      return &kF34Members;
    case kFamily44:
      return &kF44Members;
    case kFamily25:
      return &kF25Members;
    case kFamily41:
      return &kF41Members;
    case kFamily12:
      return &kF12Members;
    case kFamily13:
      return &kF13Members;
    case kFamily14:
      return &kF14Members;
    default:
      return nullptr;
  }
}

int KV_familyMemberCount(int family)
{
  const KVmemberList* list = KV_familyMembers(family);
  return list != nullptr ? list->count : 0;
}

KVcatalogMember KV_familyMember(int family, int position)
{
  const KVmemberList* list = KV_familyMembers(family);
  if (list == nullptr || position < 0 || position >= list->count)
    return KVcatalogMember{0, nullptr, nullptr, "", false};
  const KVmemberDesc& d = list->members[position];
  if (d.compute == nullptr || d.handler == nullptr)
    return KVcatalogMember{d.id, KV_placeholder_compute, KV_placeholder_handler, d.computeName,
                           false};
  return KVcatalogMember{d.id, d.compute, d.handler, d.computeName, true};
}

const KVmemberDesc* KV_memberDesc(int family, int id)
{
  const KVmemberList* list = KV_familyMembers(family);
  const int pos = KV_memberPosition(family, id);
  if (list == nullptr || pos < 0 || pos >= list->count)
    return nullptr;
  return &list->members[pos];
}
