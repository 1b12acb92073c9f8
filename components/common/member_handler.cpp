#include <algorithm>
#include <cmath>

#include "components/common/member.h"
#include "engine/world.h"

namespace {

// A parameter exists when it has a label or a map (a choice list's label
// comes from the label hook).
bool hasParam(const KVparamDesc& p)
{
  return !p.label.empty() || p.k != 0;
}

std::string_view paramLabel(const KVmemberDesc& d, const gfunc* g, int i)
{
  return d.labelFor != nullptr ? d.labelFor(g, i) : d.params[i].label;
}

void answerParam(const KVmemberDesc& d, gfunc* g, int i, double* a)
{
  if (!hasParam(d.params[i]))
    return;
  if (a != nullptr)
    *a = KV_param(g, i);
  std::string_view label = paramLabel(d, g, i);
  if (!label.empty())
    KV_copyLabel(label);
}

void fromNormalized(const KVmemberDesc& d, gfunc* g, double* const n[3])
{
  for (int i = 0; i < 3; ++i) {
    const KVparamDesc& p = d.params[i];
    if (!hasParam(p) || n[i] == nullptr)
      continue;
    const double v = p.k * *n[i] + p.c;
    // A truncated value is a whole number; adding 0.0 turns the -0.0 of a
    // small negative value into +0.0, as an integer conversion gives.
    KV_param(g, i) = p.truncate ? std::trunc(v) + 0.0 : v;
  }
}

void toNormalized(const KVmemberDesc& d, gfunc* g, double* const n[3])
{
  for (int i = 0; i < 3; ++i) {
    const KVparamDesc& p = d.params[i];
    if (!hasParam(p) || n[i] == nullptr)
      continue;
    *n[i] = p.k != 0 ? (KV_param(g, i) - p.c) / p.k : 0.0;
  }
}

int16_t setDefaults(const KVmemberDesc& d, gfunc* g)
{
  const uint8_t count = Paraminit(g, d.defaults.A, d.defaults.B, d.defaults.C);
  if (d.choiceA)
    g->rangeClass[0] = kRangeChoice;
  if (d.freqFlag)
    g->freqFlag = d.freqFlag;
  if (d.outputCode >= 0)
    g->outputCode = d.outputCode;
  if (d.inputCode >= 0)
    g->inputCode = d.inputCode;
  return count;
}

void runHook(KVmemberHook hook, gfunc* g)
{
  if (hook != nullptr)
    hook(g);
}

}  // namespace

void KV_copyLabel(std::string_view text)
{
  Str255 s;
  const size_t n = std::min<size_t>(text.size(), 255);
  s[0] = static_cast<unsigned char>(n);
  std::copy_n(text.data(), n, s + 1);
  KV_setLabel(s);
}

int16_t KV_memberHandler(const KVmemberDesc& d, gfunc* g, int16_t msg, double* a, double* b,
                         double* c)
{
  double* const n[3] = {a, b, c};
  switch (msg) {
    case kMsgDisplayName:
      KV_copyLabel(d.name);
      return 0;
    case kMsgParamA:
    case kMsgParamB:
    case kMsgParamC:
      answerParam(d, g, msg, a);
      return 0;
    case kMsgFromNormalized:
      fromNormalized(d, g, n);
      return 0;
    case kMsgToNormalized:
      toNormalized(d, g, n);
      return 0;
    case kMsgDefaults:
      return setDefaults(d, g);
    case kMsgPrepare:
      runHook(d.on7, g);
      return 0;
    case kMsgPrecompute:
      runHook(d.on8, g);
      return 0;
    case kMsgConvertOld:
      runHook(d.on9, g);
      return 0;
    default:
      return 0;
  }
}
