// The effect previews: the file dialog's drawing hook and the impulse
// response of the early reflections.
#include <cmath>
#include <memory>
#include <vector>

#include "sound/effects.h"

void SoundEffects_SOfilter_preview(CGContextRef ctx, QZRect rect)
{
  if (!ctx)
    return;
  constexpr double kGrey = 34.0 / 255.0;
  QZ_ContextSetRGBFillColor(ctx, kGrey, kGrey, kGrey, 1.0);
  QZ_ContextFillRect(ctx, rect);
}

int32_t SoundEffects_filter_impulsepreview(const filterinfos* settings, double* columns,
                                           int32_t count, int32_t samplesPerColumn)
{
  constexpr int16_t kEarlyReflections = 7;
  if (!settings || !columns || settings->mode != kEarlyReflections || count <= 0 ||
      samplesPerColumn <= 0 || int64_t(count) * samplesPerColumn > (int64_t(1) << 24))
    return 0;
  // A private effect of the same settings, fed one impulse.
  filterinfos s = *settings;
  auto rt = std::make_unique<FXruntime>();
  SoundEffects_FilterInit(&s, rt.get());
  SoundEffects_FilterAdjust(&s, rt.get(), true);
  if (!s.active) {
    SoundEffects_FilterKill(&s, rt.get());
    return 0;
  }
  s.pan = 0.5;
  s.level = 1.0;
  std::vector<double> in(size_t(samplesPerColumn), 0.0), silence(in), out(in), outR(in);
  in[0] = 1.0;
  for (int32_t c = 0; c < count; ++c) {
    uint32_t position = uint32_t(int64_t(c) * samplesPerColumn);
    rt->position = position;
    rt->run(&s, rt.get(), c == 0 ? in.data() : silence.data(), silence.data(), out.data(),
            outR.data(), kFXstoreDouble, samplesPerColumn);
    double peak = 0;
    for (double v : out)
      peak = std::fmax(peak, std::fabs(v));
    columns[c] = peak;
  }
  SoundEffects_FilterKill(&s, rt.get());
  return count;
}
