// Every built f31 member renders the same picture on one thread and on four.
#include "tests/components/family_render.h"

namespace {

using F31Render = KVfamilyRender;

TEST_F(F31Render, EveryMemberIsThreadIndependent)
{
  expectEveryMemberThreadIndependent(kFamily31);
}

}  // namespace
