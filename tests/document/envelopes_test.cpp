// Envelope lookups, the curve-function table record and envelope files.
#include "document/envelopes.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

#include "foundation/bigendian.h"
#include "foundation/fileio.h"
#include "tests/platform/tempfolder.h"

namespace {

std::vector<double> ramp()
{
  std::vector<double> t(kEnvelopeLength);
  for (int i = 0; i < kEnvelopeLength; ++i)
    t[size_t(i)] = i * 0.001 + (i % 3) * 0.01;
  return t;
}

TEST(Envelopes, LookupsInterpolateAndStopAtTheEnds)
{
  const std::vector<double> t = ramp();
  struct Case
  {
    double position;
    double want;
  } cases[] = {
      {510.5, (t[510] + t[511]) / 2},
      {600, t[511]},
      {511, t[511]},
      {0.25, t[0] + 0.25 * (t[1] - t[0])},
      {-3, t[0]},
      {std::numeric_limits<double>::quiet_NaN(), t[0]},
      {std::numeric_limits<double>::infinity(), t[0]},
      {1e250, t[511]},
  };
  for (const Case& c : cases) {
    double v = -1;
    EVT_GetEnvelopeValue(t.data(), &v, c.position);
    EXPECT_DOUBLE_EQ(v, c.want) << c.position;
  }
  double v = 0;
  EVT_GetEnvelopeValueWrap(t.data(), &v, 511.5);
  EXPECT_DOUBLE_EQ(v, (t[511] + t[0]) / 2);
  EVT_GetEnvelopeValueWrap(t.data(), &v, -0.5);  // floor modulo: between 511 and 0
  EXPECT_DOUBLE_EQ(v, (t[511] + t[0]) / 2);
  EVT_GetEnvelopeValueWrap(t.data(), &v, 1024 + 3);
  EXPECT_DOUBLE_EQ(v, t[3]);
  GetEnvelopeLookUp(t.data(), 1024, &v, -0.25f);
  EXPECT_DOUBLE_EQ(v, -t[256]);
  EXPECT_EQ(GetEnvelopeValue(t.data(), &v, 1, 2), 255);
  EXPECT_DOUBLE_EQ(v, t[255] + 0.5 * (t[256] - t[255]));
  GetEnvelopeValue(t.data(), &v, 3, 0);
  EXPECT_DOUBLE_EQ(v, t[0]);
}

TEST(Envelopes, TableRecordDefaults)
{
  std::vector<double> area(2048, -1);
  CFtable record{};
  Init_CFtable(area.data(), &record);
  EXPECT_EQ(record.tables[1], area.data() + 512);
  EXPECT_EQ(record.tables[3], area.data() + 1536);
  EXPECT_EQ(record.settings[2], 2);
  EXPECT_EQ(record.maxPosition, 511.0);
  EXPECT_EQ(record.descriptors[2].color.red, 239);
  EXPECT_EQ(record.descriptors[3].color.blue, 255);
  EXPECT_EQ(record.descriptors[0].count, 512);
  for (double v : area)
    EXPECT_NE(v, -1);  // every table filled
  double a, b, c, d;
  EVT_GetAllMonoEnvelopes(&record, &a, &b, &c, &d, 100);
  double a2, b2;
  EVT_GetEnvelopeABValues(&record, &a2, &b2, 100);
  EXPECT_EQ(a, a2);
  EXPECT_EQ(b, b2);
  EVT_GetAllMonoEnvelopes(&record, nullptr, nullptr, nullptr, nullptr, 100);  // no outputs
}

class EnvelopeFiles : public ::testing::Test
{
protected:
  FileRef writeTable(const std::string& name, const std::vector<double>& values)
  {
    const FileRef ref = folder_.root().child(name);
    std::ofstream out(ref.path(), std::ios::binary);
    for (double v : values) {
      unsigned char bytes[8];
      be::put_f64(bytes, v);
      out.write(reinterpret_cast<const char*>(bytes), 8);
    }
    return ref;
  }

  TempFolder folder_;
  std::vector<double> envelope_ = std::vector<double>(512, 0.75);
  double* tables_[4] = {nullptr, envelope_.data(), nullptr, nullptr};
};

TEST_F(EnvelopeFiles, ShortEnvelopeIsResampledAndFitted)
{
  std::vector<double> values(256);
  for (int i = 0; i < 256; ++i)
    values[size_t(i)] = 2.0 + i;  // 2..257: fitted to 0..1
  const FileRef file = writeTable("short.enve", values);
  ASSERT_EQ(read_Envelope(512, tables_, 1, file), 1);
  EXPECT_DOUBLE_EQ(envelope_[0], 0);
  EXPECT_DOUBLE_EQ(envelope_[511], 1);
  EXPECT_GT(envelope_[300], envelope_[200]);
  EXPECT_EQ(gTablesspec.name, "short.enve");
}

TEST_F(EnvelopeFiles, FullEnvelopeIsClampedAndWaveMapped)
{
  std::vector<double> values(512, 0.5);
  values[3] = 7;
  values[4] = -2;
  ASSERT_EQ(read_Envelope(512, tables_, 1, writeTable("full.enve", values)), 1);
  EXPECT_EQ(envelope_[3], 1);
  EXPECT_EQ(envelope_[4], 0);
  EXPECT_EQ(envelope_[5], 0.5);

  std::vector<double> wave(512, -1.0);
  wave[10] = 1.0;
  const FileRef typed = writeTable("typed", wave);
  SetFileTypeAndCreator(typed, kWaveTableType, kEnvelopeCreator);
  if (xFile_getType(typed) == kWaveTableType) {  // file systems without attributes skip this
    ASSERT_EQ(read_Envelope(512, tables_, 1, typed), 1);
    EXPECT_DOUBLE_EQ(envelope_[0], 0.0);
    EXPECT_DOUBLE_EQ(envelope_[10], 1.0);
  }
}

TEST_F(EnvelopeFiles, UnreadableFilesLeaveTheEnvelope)
{
  const FileRef empty = writeTable("empty.enve", {});
  EXPECT_EQ(read_Envelope(512, tables_, 1, empty), 0);
  EXPECT_EQ(read_Envelope(512, tables_, 1, folder_.root().child("missing.enve")), 0);
  EXPECT_EQ(read_Envelope(512, tables_, 0, writeTable("x.enve", {1, 2})), 0);  // no table
  EXPECT_EQ(read_Envelope(512, tables_, 1, writeTable("picture.jpg", {1, 2})), 0);
  for (double v : envelope_)
    EXPECT_EQ(v, 0.75);
}

TEST_F(EnvelopeFiles, WriteThenRead)
{
  for (int i = 0; i < 512; ++i)
    envelope_[size_t(i)] = i / 511.0;
  const FileRef file = folder_.root().child("out.enve");
  ASSERT_EQ(write_Envelope(512, tables_, 1, file), 0);
  std::vector<double> copy(512, 0);
  double* tables[4] = {copy.data(), nullptr, nullptr, nullptr};
  ASSERT_EQ(read_Envelope(512, tables, 0, file), 1);
  EXPECT_EQ(copy, envelope_);
  gTablesspec.name = "curve.enve";
  EXPECT_EQ(write_EnvelopeDefaultName(), "curve");
  gTablesspec.name = "abc";
  EXPECT_EQ(write_EnvelopeDefaultName(), "abc");
}

}  // namespace
