// The member tables of the 17 families, one per family folder, each an
// explicit list in id order (ids 0..last, then 127).
#pragma once

#include "components/common/member.h"

extern const KVmemberList kF11Members;
extern const KVmemberList kF12Members;
extern const KVmemberList kF13Members;
extern const KVmemberList kF14Members;
extern const KVmemberList kF21Members;
extern const KVmemberList kF22Members;
extern const KVmemberList kF23Members;
extern const KVmemberList kF24Members;
extern const KVmemberList kF25Members;
extern const KVmemberList kF31Members;
extern const KVmemberList kF32Members;
extern const KVmemberList kF33Members;
extern const KVmemberList kF34Members;
extern const KVmemberList kF41Members;
extern const KVmemberList kF42Members;
extern const KVmemberList kF43Members;
extern const KVmemberList kF44Members;

// The table of an assigned family code, or null.
const KVmemberList* KV_familyMembers(int family);
