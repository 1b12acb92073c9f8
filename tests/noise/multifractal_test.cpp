// Parameterised multifractal drivers, driven with recording bodies.
#include "noise/multifractal.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

#include "noise/bodies.h"
#include "noise_test_support.h"

namespace {

// A driver record with room to log what the bodies were called with. The
// bodies get the `fractalsinfos` pointer, which is the first member, so they
// can find the log without any global.
struct Call
{
  double x, y, z, w, stateIn, weight;
  short octave;
};

struct Recorder
{
  fractalsinfos fi;
  Call calls[64];
  int count = 0;
  bool flag = false;  // what record bodies return
};

Recorder& recorderOf(fractalsinfos* fi)
{
  return *reinterpret_cast<Recorder*>(fi);
}

void log(fractalsinfos* fi, Call c)
{
  Recorder& r = recorderOf(fi);
  if (r.count < 64)
    r.calls[r.count] = c;
  r.count++;
}

// Record values: every double of the record is set to or raised by v.
void setRecord(double* r, double v)
{
  *r = v;
}
void setRecord(dvector2d* r, double v)
{
  *r = {v, v};
}
void setRecord(dvector4d* r, double v)
{
  *r = {v, v, v, v};
}
void addRecord(double* r, double v)
{
  *r += v;
}
void addRecord(dvector2d* r, double v)
{
  r->x += v, r->y += v;
}
void addRecord(dvector4d* r, double v)
{
  r->x += v, r->y += v, r->z += v, r->w += v;
}

constexpr double kFarValue = -4.0, kFarState = 0.75;

// Octave -1: far value -4 and state 0.75; octave 0: record 1, state 10;
// later octaves add the weight to the record and 1 to the state.
template <class Record>
bool recordingBody(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                   double weight, short octave, Record* out)
{
  log(fi, {x, y, z, w, octave == 0 ? 0.0 : *state, weight, octave});
  if (octave < 0) {
    setRecord(out, kFarValue);
    *state = kFarState;
  } else if (octave == 0) {
    setRecord(out, 1.0);
    *state = 10.0;
  } else {
    addRecord(out, weight);
    *state += 1.0;
  }
  return recorderOf(fi).flag;
}

// A far value that leaves the state alone.
bool silentFarBody(fractalsinfos* fi, double x, double y, double z, double w, double*,
                   double weight, short octave, double* out)
{
  log(fi, {x, y, z, w, 0.0, weight, octave});
  *out = octave < 0 ? kFarValue : 1.0;
  return false;
}

// Runs one record driver with the recording body; returns the first double
// of its record. g is the gain (MFPuscalar_procptr: its g).
using RecordRun = std::function<double(Recorder&, double f0, double fmax, double g)>;

struct RecordDriver
{
  const char* name;
  RecordRun run;
  // Lacunarity and fade divisor the driver uses for gain g.
  double (*lacunarity)(double g);
  double (*fade)(double g);
};

double defaultLacunarity(double)
{
  return fractalsinfos{}.lacunarity;
}
double defaultFade(double)
{
  return fractalsinfos{}.fade;
}

// The first double of a driver's record.
double firstOf(const dvector2d& r)
{
  return r.x;
}
double firstOf(const dvector4d& r)
{
  return r.x;
}

// Runs a driver that takes a fourth argument (the phase, or the mode) at
// (0.3, -0.7, 0.2) with w = 0.5 and the recording body.
template <class Record, auto driver, auto fourth>
double runRecordDriver(Recorder& r, double f0, double fmax, double g)
{
  Record out{};
  driver(&r.fi, recordingBody<Record>, 0.3, -0.7, 0.2, fourth, 0.5, f0, fmax, g, &out);
  return firstOf(out);
}

// The same for the one-double drivers, which take no fourth argument.
template <auto driver>
double runScalarDriver(Recorder& r, double f0, double fmax, double g)
{
  double out = 0;
  driver(&r.fi, recordingBody<double>, 0.3, -0.7, 0.2, 0.5, f0, fmax, g, &out);
  return out;
}

const RecordDriver kRecordDrivers[] = {
    {"MFPV2d_procptr", runRecordDriver<dvector2d, MFPV2d_procptr, 0.1>, defaultLacunarity,
     defaultFade},
    {"MFPV2dnr_procptr", runRecordDriver<dvector2d, MFPV2dnr_procptr, 0.1>, defaultLacunarity,
     defaultFade},
    {"MFPV4d_procptr", runRecordDriver<dvector4d, MFPV4d_procptr, 0.1>, defaultLacunarity,
     defaultFade},
    {"MFPsw_procptr", runRecordDriver<dvector4d, MFPsw_procptr, uint16_t{1}>, defaultLacunarity,
     defaultFade},
    {"MFPswscalarA2_procptr", runScalarDriver<MFPswscalarA2_procptr>, defaultLacunarity,
     defaultFade},
    {"MFPuscalar_procptr", runScalarDriver<MFPuscalar_procptr>, [](double g) { return 1.0 / g; },
     [](double g) { return 1.0 - g; }},
};

class RecordDrivers : public ::testing::Test
{
protected:
  std::unique_ptr<KVtables> tables = seededTables();
  Recorder rec;
  void SetUp() override
  {
    rec.fi.tables = tables.get();
    rec.fi.secondOutput = 99.0;  // must be overwritten
  }
};

constexpr double kGain = 0.5;

}  // namespace

TEST_F(RecordDrivers, StartAtOrBeyondTheBandEdgeGivesTheFarValueOnly)
{
  for (const RecordDriver& d : kRecordDrivers) {
    for (double beyond : {1.0, 3.0}) {
      SCOPED_TRACE(std::string(d.name) + " f0 = fmax * L * " + std::to_string(beyond));
      rec.count = 0;
      // fmax * L scaled by 1 / L keeps f0 = L * fmax exact for the band test.
      const double fmax = 1.0;
      double f0 = fmax * d.lacunarity(kGain) * beyond;
      ASSERT_GE((f0 - fmax) / (f0 * d.fade(kGain)), 1.0);
      EXPECT_EQ(d.run(rec, f0, fmax, kGain), kFarValue);
      EXPECT_EQ(rec.fi.secondOutput, kFarState);
      ASSERT_EQ(rec.count, 1);
      EXPECT_EQ(rec.calls[0].octave, -1);
      EXPECT_EQ(rec.calls[0].x, 0.0);
      EXPECT_EQ(rec.calls[0].y, 0.0);
      EXPECT_EQ(rec.calls[0].z, 0.0);
    }
  }
}

TEST_F(RecordDrivers, StartInsideTheFadeZoneBlendsOctaveZeroTowardTheFarValue)
{
  for (const RecordDriver& d : kRecordDrivers) {
    SCOPED_TRACE(d.name);
    rec.count = 0;
    const double fmax = 2.0;
    double f0 = fmax * (1.0 + 0.4 * (d.lacunarity(kGain) - 1.0));
    double t = (f0 - fmax) / (f0 * d.fade(kGain));
    ASSERT_GT(t, 0.0);
    ASSERT_LT(t, 1.0);
    EXPECT_DOUBLE_EQ(d.run(rec, f0, fmax, kGain), 1.0 + (kFarValue - 1.0) * t);
    EXPECT_DOUBLE_EQ(rec.fi.secondOutput, 10.0 + (kFarState - 10.0) * t);
    ASSERT_EQ(rec.count, 2);
    EXPECT_EQ(rec.calls[0].octave, -1);
    EXPECT_EQ(rec.calls[1].octave, 0);
    EXPECT_EQ(rec.calls[1].weight, 1.0);
  }
}

TEST_F(RecordDrivers, LastOctaveCountsWithOneMinusTheBandFade)
{
  // Octaves at f0 L^k up to fmax, then one faded octave: the record ends
  // at (after octave n-1) + weight_n (1 - t).
  for (const RecordDriver& d : kRecordDrivers) {
    SCOPED_TRACE(d.name);
    rec.count = 0;
    const double L = d.lacunarity(kGain), f0 = 1.0, fmax = 1.0 + 2.5 * (L - 1.0) * L;
    int full = 0;
    double f = f0, full_sum = 0.0, weight = 1.0;
    for (; f <= fmax; f *= L, weight *= kGain, full++)
      full_sum += full == 0 ? 1.0 : weight;
    double t = (f - fmax) / (f * d.fade(kGain));
    ASSERT_GE(full, 2);
    ASSERT_LT(t, 1.0);
    EXPECT_DOUBLE_EQ(d.run(rec, f0, fmax, kGain), full_sum + weight * (1.0 - t));
    EXPECT_DOUBLE_EQ(rec.fi.secondOutput, 10.0 + (full - 1) + (1.0 - t));
    ASSERT_EQ(rec.count, full + 1);
    for (int k = 0; k < rec.count; k++)
      EXPECT_EQ(rec.calls[k].octave, k);
  }
}

TEST_F(RecordDrivers, OctaveCountStopsTheLadder)
{
  for (const RecordDriver& d : kRecordDrivers) {
    SCOPED_TRACE(d.name);
    rec.count = 0;
    rec.fi.octaves = 3;
    EXPECT_DOUBLE_EQ(d.run(rec, 1.0, 1e6, kGain), 1.0 + kGain + kGain * kGain);
    EXPECT_EQ(rec.count, 3);
    EXPECT_EQ(rec.fi.secondOutput, 12.0);
  }
}

TEST_F(RecordDrivers, NoOctavesCallsNoBodyAndStoresStateZero)
{
  for (const RecordDriver& d : kRecordDrivers) {
    SCOPED_TRACE(d.name);
    for (short octaves : {short(0), short(-3)}) {
      rec.count = 0;
      rec.fi.octaves = octaves;
      rec.fi.secondOutput = 99.0;
      EXPECT_EQ(d.run(rec, 1.0, 10.0, kGain), 0.0);  // record left as the caller set it
      EXPECT_EQ(rec.count, 0);
      EXPECT_EQ(rec.fi.secondOutput, 0.0);
    }
  }
}

TEST_F(RecordDrivers, FarValueThatLeavesTheStateUnwrittenGivesStateZero)
{
  double out = 123.0;
  MFPswscalarA2_procptr(&rec.fi, silentFarBody, 0.3, 0.4, 0.5, 1.0, 100.0, 1.0, 0.5, &out);
  EXPECT_EQ(out, kFarValue);
  EXPECT_EQ(rec.fi.secondOutput, 0.0);

  // The real crack-rock body has such a far value.
  rec.fi.secondOutput = 99.0;
  out = 123.0;
  MFPswscalarA2_procptr(&rec.fi, fp1fracturedrocks, 0.3, 0.4, 0.5, 1.0, 100.0, 1.0, 0.5, &out);
  EXPECT_EQ(out, 0.25);
  EXPECT_EQ(rec.fi.secondOutput, 0.0);

  // Its four-double form serves the swap-and-turn driver.
  rec.fi.secondOutput = 99.0;
  dvector4d rock{1.0, 2.0, 3.0, 4.0};
  MFPsw_procptr(&rec.fi, fp1fracturedrocks, 0.3, 0.4, 0.5, 0, 1.0, 100.0, 1.0, 0.5, &rock);
  EXPECT_EQ(rock.x, 0.25);
  EXPECT_EQ(rock.w, 0.0);  // the far record starts at 0 where the body leaves it
  EXPECT_EQ(rec.fi.secondOutput, 0.0);
}

TEST_F(RecordDrivers, PhasedDriversSampleTheShiftedScaledPoint)
{
  // First octave of MFPV2d at ((x + p) f0, y f0, z f0); MFPV2dnr also shifts z.
  const double x = 0.3, y = -0.7, z = 0.2, p = 0.1, f0 = 1.0;
  kRecordDrivers[0].run(rec, f0, 1e6, kGain);
  EXPECT_DOUBLE_EQ(rec.calls[0].x, (x + p) * f0);
  EXPECT_DOUBLE_EQ(rec.calls[0].z, z * f0);
  rec.count = 0;
  kRecordDrivers[1].run(rec, f0, 1e6, kGain);
  EXPECT_DOUBLE_EQ(rec.calls[0].z, (z + p) * f0);
  // Without rotation the second octave of MFPV2dnr keeps y.
  double L = rec.fi.lacunarity;
  EXPECT_DOUBLE_EQ(rec.calls[1].y, y * f0 * L);
  EXPECT_EQ(rec.calls[0].w, 0.5);
}

TEST_F(RecordDrivers, SwapAndTurnModesMoveThePointByTheBodysFlag)
{
  const double x = 0.3, y = -0.7, z = 0.2, f0 = 2.0;
  const double L = rec.fi.lacunarity, c = rec.fi.rotCos, s = rec.fi.rotSin;
  const double X = x * f0, Y = y * f0;
  struct Case
  {
    uint16_t mode;
    bool flag;
    double x2, y2, z2;  // the second octave's point
  };
  const Case cases[] = {
      {0, true, L * Y, 33.0 - L * X, z},
      {0, false, 3.5 - L * Y, L * X, z},
      {1, true, 0.2 * X - L * Y, 0.2 * Y + L * X + z, z},
      {1, false, z + L * Y + 0.2 * X, 0.2 * Y - L * X, z},
      {2, true, L * (c * X - s * Y), L * (c * Y + s * X), -L * z * f0},
      {2, false, L * (c * X + s * Y), L * (c * Y - s * X), L * z * f0},
      {7, true, X, Y, z},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << k.mode << " flag " << k.flag);
    rec.count = 0;
    rec.flag = k.flag;
    dvector4d out{};
    MFPsw_procptr(&rec.fi, recordingBody<dvector4d>, x, y, z, k.mode, 0.5, f0, 1e6, kGain, &out);
    ASSERT_GE(rec.count, 2);
    EXPECT_DOUBLE_EQ(rec.calls[0].x, X);
    EXPECT_DOUBLE_EQ(rec.calls[0].z, k.mode == 2 ? z * f0 : z);
    EXPECT_DOUBLE_EQ(rec.calls[1].x, k.x2);
    EXPECT_DOUBLE_EQ(rec.calls[1].y, k.y2);
    EXPECT_DOUBLE_EQ(rec.calls[1].z, k.z2);
  }
}

TEST_F(RecordDrivers, SwapAndTurnModeThreeEvaluatesEveryOctaveAtOnePoint)
{
  dvector4d out{};
  rec.fi.octaves = 16;
  MFPsw_procptr(&rec.fi, recordingBody<dvector4d>, -1.25, 0.75, 3.0, 3, 0.5, 0.5, 1e6, 0.9, &out);
  ASSERT_EQ(rec.count, 16);
  for (int k = 0; k < rec.count; k++) {
    SCOPED_TRACE(k);
    EXPECT_EQ(rec.calls[k].octave, k);
    EXPECT_EQ(rec.calls[k].x, -0.625);
    EXPECT_EQ(rec.calls[k].y, 0.375);
    EXPECT_EQ(rec.calls[k].z, 3.0);
  }
}

TEST_F(RecordDrivers, UnitScalarDriverDividesThePointByG)
{
  const double g = 0.25, c = rec.fi.rotCos, s = rec.fi.rotSin;
  double out = 0;
  MFPuscalar_procptr(&rec.fi, recordingBody<double>, 1.0, 2.0, 3.0, 0.5, 1.0, 1e6, g, &out);
  ASSERT_GE(rec.count, 2);
  EXPECT_DOUBLE_EQ(rec.calls[1].x, (1.0 * c + 2.0 * s) / g);
  EXPECT_DOUBLE_EQ(rec.calls[1].y, (2.0 * c - 1.0 * s) / g);
  EXPECT_DOUBLE_EQ(rec.calls[1].z, 3.0 / g);
  EXPECT_DOUBLE_EQ(rec.calls[1].weight, g);
}

// ---- Scalar parameterised drivers ----

namespace {

// Returns 2 + octave and sets the state to octave + 1.
double scalarBody2D(fractalsinfos* fi, double x, double y, double w, double* state, short octave)
{
  log(fi, {x, y, 0.0, w, *state, 0.0, octave});
  *state = octave + 1.0;
  return 2.0 + octave;
}

double scalarBody3D(fractalsinfos* fi, double x, double y, double z, double w, double* state,
                    short octave)
{
  log(fi, {x, y, z, w, *state, 0.0, octave});
  *state += 1.0;
  return 2.0 + octave;
}

constexpr double kScalarFade = 0.5238095238095238;  // 1 - 1/2.1

}  // namespace

TEST_F(RecordDrivers, Multifractal2DparamRejectionsClearBothOutputs)
{
  struct Case
  {
    const char* why;
    short octaves;
    double f0, amp;
  };
  const Case cases[] = {{"amp below 1e-7", 16, 1.0, 0.9e-7},
                        {"negative amp", 16, 1.0, -1.0},
                        {"no octaves", 0, 1.0, 1.0},
                        {"f0 beyond fmax * 2.1", 16, 21.1, 1.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    rec.count = 0;
    rec.fi.octaves = c.octaves;
    rec.fi.accumulator = 5.0;
    rec.fi.secondOutput = 6.0;
    EXPECT_EQ(Multifractal2Dparam_procptr(&rec.fi, scalarBody2D, 0.5, 0.5, 0.0, 0.0, c.f0, 10.0,
                                          c.amp, 0.5),
              0.0);
    EXPECT_EQ(rec.fi.accumulator, 0.0);
    EXPECT_EQ(rec.fi.secondOutput, 0.0);
    EXPECT_EQ(rec.count, 0);
  }
}

TEST_F(RecordDrivers, Multifractal2DparamSumsAmplitudesAndStates)
{
  rec.fi.octaves = 3;
  double v =
      Multifractal2Dparam_procptr(&rec.fi, scalarBody2D, 0.5, 0.5, 0.0, 0.0, 1.0, 1e6, 1.0, 0.5);
  EXPECT_DOUBLE_EQ(v, 2.0 + 0.5 * 3.0 + 0.25 * 4.0);
  EXPECT_EQ(rec.fi.accumulator, 1.0 + 2.0 + 3.0);
  EXPECT_EQ(rec.fi.secondOutput, 3.0);
  EXPECT_EQ(rec.calls[0].stateIn, 0.0);  // the state starts at 0
}

TEST_F(RecordDrivers, Multifractal2DparamFadesOctaveAndStateBeyondTheBand)
{
  const double fmax = 10.0, f0 = 15.0;
  double t = 1.0 - (f0 - fmax) / (f0 * kScalarFade);
  double v =
      Multifractal2Dparam_procptr(&rec.fi, scalarBody2D, 0.5, 0.5, 0.0, 0.0, f0, fmax, 0.8, 0.5);
  EXPECT_DOUBLE_EQ(v, t * 0.8 * 2.0);
  EXPECT_DOUBLE_EQ(rec.fi.secondOutput, t * 1.0);
  EXPECT_EQ(rec.fi.accumulator, 0.0);
}

TEST_F(RecordDrivers, Multifractal3DparamUsesTheSecondOutputAsState)
{
  rec.fi.secondOutput = 42.0;
  EXPECT_EQ(Multifractal3Dparam_procptr(&rec.fi, scalarBody3D, 0, 0, 0, 0, 0, 21.1, 10.0, 1.0, 0.5),
            0.0);
  EXPECT_EQ(rec.fi.secondOutput, 42.0);  // f0 rejection touches nothing

  rec.fi.octaves = 0;
  EXPECT_EQ(Multifractal3Dparam_procptr(&rec.fi, scalarBody3D, 0, 0, 0, 0, 0, 1.0, 10.0, 1.0, 0.5),
            0.0);
  EXPECT_EQ(rec.fi.secondOutput, 1.0);
  EXPECT_EQ(rec.count, 0);

  rec.fi.octaves = 2;
  double v = Multifractal3Dparam_procptr(&rec.fi, scalarBody3D, 0, 0, 0, 0, 0, 1.0, 1e6, 1.0, 0.5);
  EXPECT_DOUBLE_EQ(v, 2.0 + 0.5 * 3.0);
  EXPECT_EQ(rec.calls[0].stateIn, 1.0);
  EXPECT_EQ(rec.fi.secondOutput, 3.0);
}

namespace {

void vectorBody(fractalsinfos* fi, double x, double y, double w, double* state, short octave,
                dvector2d* out)
{
  log(fi, {x, y, 0.0, w, *state, 0.0, octave});
  *out = {1.0, -1.0};
}

}  // namespace

TEST_F(RecordDrivers, Multifractal2DparamVecStopsBelowOneHundredMillionth)
{
  dvector2d out{7.0, 7.0};
  Multifractal2DparamVec_procptr(&rec.fi, vectorBody, 0, 0, 0, 0, 21.0, 10.0, 1.0, 0.5, &out);
  EXPECT_EQ(out.x, 0.0);  // 2.1 fmax is not above f0
  EXPECT_EQ(out.y, 0.0);
  EXPECT_EQ(rec.count, 0);

  // 1e-7 halved: 5e-8, 2.5e-8, 1.25e-8 still run, 6.25e-9 stops.
  Multifractal2DparamVec_procptr(&rec.fi, vectorBody, 0, 0, 0, 0, 1.0, 1e9, 1e-7, 0.5, &out);
  EXPECT_EQ(rec.count, 4);
  EXPECT_DOUBLE_EQ(out.x, 1e-7 * (1 + 0.5 + 0.25 + 0.125));
  EXPECT_DOUBLE_EQ(out.y, -out.x);
}

namespace {

// rgb[0] counts the calls, rgb[1] holds the last fade, rgb[2] the state
// seen by octave 0.
void countingColourBody(const KVtables*, double, double, double fade, double, double* state,
                        short octave, double* rgb)
{
  rgb[0] += 1.0;
  rgb[1] = fade;
  if (octave == 0)
    rgb[2] = *state;
  *state = 5.0;
}

}  // namespace

TEST_F(RecordDrivers, RGBMultifractal2DparamRunsAtMostSevenOctaves)
{
  double rgb[3] = {0.0, 0.0, 99.0};
  rec.fi.octaves = 16;
  EXPECT_EQ(RGBMultifractal2Dparam_procptr(&rec.fi, countingColourBody, 0.1, 0.2, 0.0, 0.5, 1.0,
                                           1e9, 1.0, 1.0, rgb),
            0.0);
  EXPECT_EQ(rgb[0], 7.0);
  EXPECT_EQ(rgb[1], 1.0);
  EXPECT_EQ(rgb[2], 0.0);

  // Beyond the band the body gets the fade, and the faded amplitude stops
  // the loop once it turns negative.
  double faded[3] = {0.0, 0.0, 0.0};
  RGBMultifractal2Dparam_procptr(&rec.fi, countingColourBody, 0.1, 0.2, 0.0, 0.5, 15.0, 10.0, 1.0,
                                 1.0, faded);
  EXPECT_EQ(faded[0], 2.0);
  double f = 15.0 * 2.1;
  EXPECT_DOUBLE_EQ(faded[1], 1.0 - (f - 10.0) / (f * kScalarFade));

  double none[3] = {0.0, 0.0, 0.0};
  RGBMultifractal2Dparam_procptr(&rec.fi, countingColourBody, 0.1, 0.2, 0.0, 0.5, 1.0, 1e9, 0.5e-7,
                                 1.0, none);
  EXPECT_EQ(none[0], 0.0);
}

TEST_F(RecordDrivers, RotatingDriversTurnThePointAboutThePhase)
{
  // Second octave of the rotating drivers: (x, y) turned about (p, 0) by the
  // record's angle, then p <- p * phaseFactor + pi/2. With rotSin 0 the point
  // stays, whatever rotCos holds.
  const double x = 1.0, y = 0.5, p = 0.1, f0 = 1.0;
  struct Case
  {
    const char* name;
    double rotSin, rotCos, lacunarity;
    double xSign;  // the call samples x + p (record drivers) or x - p (scalar)
    std::function<void(Recorder&)> run;
  };
  const Case cases[] = {
      {"Multifractal2Dparam turned", 0.5, 0.866025, 2.1, -1.0,
       [&](Recorder& r) {
         Multifractal2Dparam_procptr(&r.fi, scalarBody2D, x, y, p, 0.0, f0, 1e6, 1.0, 0.5);
       }},
      {"Multifractal2Dparam unturned", 0.0, 0.3, 2.1, -1.0,
       [&](Recorder& r) {
         Multifractal2Dparam_procptr(&r.fi, scalarBody2D, x, y, p, 0.0, f0, 1e6, 1.0, 0.5);
       }},
      {"MFPV2d turned", 0.5, 0.866025, fractalsinfos{}.lacunarity, 1.0,
       [&](Recorder& r) {
         dvector2d out{};
         MFPV2d_procptr(&r.fi, recordingBody<dvector2d>, x, y, 0.0, p, 0.5, f0, 1e6, kGain, &out);
       }},
      {"MFPV4d unturned", 0.0, 0.3, fractalsinfos{}.lacunarity, 1.0,
       [&](Recorder& r) {
         dvector4d out{};
         MFPV4d_procptr(&r.fi, recordingBody<dvector4d>, x, y, 0.0, p, 0.5, f0, 1e6, kGain, &out);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rec.count = 0;
    rec.fi.octaves = 2;
    rec.fi.rotSin = c.rotSin;
    rec.fi.rotCos = c.rotCos;
    c.run(rec);
    ASSERT_EQ(rec.count, 2);
    EXPECT_DOUBLE_EQ(rec.calls[0].x, (x + c.xSign * p) * f0);
    double x1 = x, y1 = y;
    if (c.rotSin != 0.0) {
      x1 = (x - p) * c.rotCos - y * c.rotSin + p;
      y1 = (x - p) * c.rotSin + y * c.rotCos;
    }
    double p1 = p * rec.fi.phaseFactor + M_PI / 2;
    double f1 = f0 * c.lacunarity;
    EXPECT_NEAR(rec.calls[1].x, (x1 + c.xSign * p1) * f1, 1e-12);
    EXPECT_NEAR(rec.calls[1].y, y1 * f1, 1e-12);
  }
}

namespace {

// Logs (x, y, z, state) of each octave into out[4 k ...], returns 2 + octave
// and raises the state by 1.
double loggingBody3D(const KVtables*, double x, double y, double z, double, double* state,
                     short octave, double* out)
{
  double* slot = out + 4 * octave;
  slot[0] = x, slot[1] = y, slot[2] = z, slot[3] = *state;
  *state += 1.0;
  return 2.0 + octave;
}

}  // namespace

TEST_F(RecordDrivers, RGBMultifractal3DparamTurnsByTheFixedAngle)
{
  const double x = 1.0, y = 0.5, z = 0.25, p = 0.1, gain = 0.5;
  rec.fi.octaves = 2;
  rec.fi.rotSin = 0.0;  // the record's angle is not used
  double log3[8] = {};
  double v = RGBMultifractal3Dparam_procptr(&rec.fi, loggingBody3D, x, y, z, p, 0.0, 1.0, 1e6, 1.0,
                                            gain, log3);
  EXPECT_DOUBLE_EQ(v, 2.0 + gain * 3.0);
  // First octave at (x - p, y, z), state 1.
  EXPECT_DOUBLE_EQ(log3[0], x - p);
  EXPECT_DOUBLE_EQ(log3[1], y);
  EXPECT_DOUBLE_EQ(log3[2], z);
  EXPECT_EQ(log3[3], 1.0);
  // The turn leaves x without the phase; the second octave subtracts the new one.
  const double c = 0.866025, s = 0.5, xs = x - p;
  double x1 = c * xs - s * y, y1 = c * y + s * xs;
  double y2 = c * y1 + s * z, z2 = c * z - s * y1;
  double p1 = p * rec.fi.phaseFactor + M_PI / 2;
  EXPECT_NEAR(log3[4], (x1 - p1) * 2.1, 1e-12);
  EXPECT_NEAR(log3[5], y2 * 2.1, 1e-12);
  EXPECT_NEAR(log3[6], z2 * 2.1, 1e-12);
  EXPECT_EQ(log3[7], 2.0);

  // Beyond the band: one faded octave.
  double faded[4] = {};
  double t = 1.0 - (15.0 - 10.0) / (15.0 * kScalarFade);
  EXPECT_DOUBLE_EQ(RGBMultifractal3Dparam_procptr(&rec.fi, loggingBody3D, x, y, z, p, 0.0, 15.0,
                                                  10.0, 0.8, gain, faded),
                   t * 0.8 * 2.0);

  // Rejections call no body.
  double untouched[4] = {-1.0, -1.0, -1.0, -1.0};
  EXPECT_EQ(RGBMultifractal3Dparam_procptr(&rec.fi, loggingBody3D, x, y, z, p, 0.0, 1.0, 1e6,
                                           0.5e-7, gain, untouched),
            0.0);
  rec.fi.octaves = 0;
  EXPECT_EQ(RGBMultifractal3Dparam_procptr(&rec.fi, loggingBody3D, x, y, z, p, 0.0, 1.0, 1e6, 1.0,
                                           gain, untouched),
            0.0);
  EXPECT_EQ(untouched[3], -1.0);
}
