// The preferences file, little-endian, field by field:
//
//   offset  size  field
//   0       4     "KVP1"
//   4       8     window bounds: i16 top, left, bottom, right (toplevel client
//                 area with the menu bar, root coordinates)
//   12      8     picture size: i16 top, left, bottom, right
//   20            rendering preferences:
//                   i16 x 4 output rectangle; i16 width, height; i16 setting1,
//                   setting2; f64 frame rate; i16 width2, height2; i16 video
//                   format; i16 setting3;
//                   sound settings: i32 tag, transposition; f64 setting1,
//                   setting2; u32 setting3, spare; f64 x 576 table; u16 word,
//                   setting4; u32 setting5; 256 bytes name, 256 bytes name2
//                   (Pascal strings); f64 setting6;
//                   u8 x 4 bytes; i16 x 4 settings;
//                   compression: u32 codec type; i32 codec, quality; i16
//                   depth; i16 x 4 settings
//   ...     2+n   last folder: u16 length n, then n bytes of UTF-8 path
//
// A file cut short gives the fields it holds whole; every field read is
// checked and an invalid one keeps its default.
#include "app/prefs.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "document/soundfunc.h"
#include "document/videoformats.h"

AppPrefs gPrefs;

namespace {

constexpr const char* kPrefsFileName = "kovrelin-browser.prefs";
constexpr int32_t kMaxCoordinate = 32000;
constexpr int32_t kMaxSize = 16384;
constexpr size_t kMaxPrefsFile = 1 << 16;

// ---- Little-endian writer and reader ------------------------------------------------

class Writer
{
public:
  void u8(uint8_t v) { bytes_.push_back(v); }
  void u16(uint16_t v)
  {
    u8(uint8_t(v));
    u8(uint8_t(v >> 8));
  }
  void u32(uint32_t v)
  {
    u16(uint16_t(v));
    u16(uint16_t(v >> 16));
  }
  void u64(uint64_t v)
  {
    u32(uint32_t(v));
    u32(uint32_t(v >> 32));
  }
  void i16(int16_t v) { u16(uint16_t(v)); }
  void i32(int32_t v) { u32(uint32_t(v)); }
  void f64(double v) { u64(std::bit_cast<uint64_t>(v)); }
  void raw(const void* p, size_t n)
  {
    auto* b = static_cast<const uint8_t*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
  }
  void rect(const Rect& r)
  {
    i16(r.top);
    i16(r.left);
    i16(r.bottom);
    i16(r.right);
  }
  std::vector<uint8_t> take() { return std::move(bytes_); }

private:
  std::vector<uint8_t> bytes_;
};

// Reads whole fields only: once a field does not fit, every later read
// fails and leaves its destination alone.
class Reader
{
public:
  Reader(const uint8_t* bytes, size_t size) : p_(bytes), left_(size) {}
  bool has(size_t n) const { return ok_ && left_ >= n; }
  bool u8(uint8_t* v) { return take(v, 1); }
  bool u16(uint16_t* v) { return take(v, 2); }
  bool u32(uint32_t* v) { return take(v, 4); }
  bool u64(uint64_t* v) { return take(v, 8); }
  bool i16(int16_t* v)
  {
    uint16_t u;
    if (!u16(&u))
      return false;
    *v = int16_t(u);
    return true;
  }
  bool i32(int32_t* v)
  {
    uint32_t u;
    if (!u32(&u))
      return false;
    *v = int32_t(u);
    return true;
  }
  bool f64(double* v)
  {
    uint64_t u;
    if (!u64(&u))
      return false;
    *v = std::bit_cast<double>(u);
    return true;
  }
  bool raw(void* out, size_t n)
  {
    if (!has(n)) {
      ok_ = false;
      return false;
    }
    std::memcpy(out, p_, n);
    p_ += n;
    left_ -= n;
    return true;
  }
  // A rectangle read whole, or nothing.
  bool rect(Rect* r)
  {
    if (!has(8)) {
      ok_ = false;
      return false;
    }
    int16_t v[4];
    for (int16_t& x : v)
      i16(&x);
    *r = Rect{v[0], v[1], v[2], v[3]};
    return true;
  }

private:
  template <typename T>
  bool take(T* v, size_t n)
  {
    if (!has(n)) {
      ok_ = false;
      return false;
    }
    T x = 0;
    for (size_t i = 0; i < n; ++i)
      x = T(x | (T(p_[i]) << (8 * i)));
    *v = x;
    p_ += n;
    left_ -= n;
    return true;
  }

  const uint8_t* p_;
  size_t left_;
  bool ok_ = true;
};

// ---- Checks ------------------------------------------------------------------------

bool validBounds(const Rect& r)
{
  auto inRange = [](int16_t v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; };
  return inRange(r.top) && inRange(r.left) && inRange(r.bottom) && inRange(r.right) &&
         r.bottom > r.top && r.right > r.left;
}

bool validSize(int32_t v)
{
  return v >= 1 && v <= kMaxSize;
}

bool validSizeRect(const Rect& r)
{
  return validBounds(r) && validSize(int32_t(r.bottom) - r.top) &&
         validSize(int32_t(r.right) - r.left);
}

// A field read into a candidate that replaces the destination only when
// the check accepts it.
template <typename T, typename Read, typename Check>
void readChecked(Reader& in, T* field, Read read, Check check)
{
  T value = *field;
  if (read(in, &value) && check(value))
    *field = value;
}

bool readI16(Reader& in, int16_t* v)
{
  return in.i16(v);
}

bool anyI16(int16_t)
{
  return true;
}

bool sizeI16(int16_t v)
{
  return validSize(v);
}

// ---- The record ------------------------------------------------------------------------

void writeSound(Writer& out, const sSoundfunc& s)
{
  out.i32(s.tag);
  out.i32(s.transposition);
  out.f64(s.setting1);
  out.f64(s.setting2);
  out.u32(s.setting3);
  out.u32(s.spare);
  for (double d : s.table)
    out.f64(d);
  out.u16(s.word);
  out.u16(s.setting4);
  out.u32(s.setting5);
  out.raw(s.name, sizeof s.name);
  out.raw(s.name2, sizeof s.name2);
  out.f64(s.setting6);
}

void readSound(Reader& in, sSoundfunc* s)
{
  in.i32(&s->tag);
  readChecked(
      in, &s->transposition, [](Reader& r, int32_t* v) { return r.i32(v); },
      [](int32_t v) { return v >= kMinTransposition && v <= kMaxTransposition; });
  in.f64(&s->setting1);
  in.f64(&s->setting2);
  in.u32(&s->setting3);
  in.u32(&s->spare);
  // The table is one field: read whole or not at all.
  if (in.has(8 * std::size(s->table)))
    for (double& d : s->table)
      in.f64(&d);
  else
    in.raw(nullptr, 8 * std::size(s->table));
  in.u16(&s->word);
  in.u16(&s->setting4);
  in.u32(&s->setting5);
  in.raw(s->name, sizeof s->name);
  in.raw(s->name2, sizeof s->name2);
  in.f64(&s->setting6);
}

void writeRender(Writer& out, const KVrenderPrefs& p)
{
  out.rect(p.outputRect);
  out.i16(p.width);
  out.i16(p.height);
  out.i16(p.setting1);
  out.i16(p.setting2);
  out.f64(p.frameRate);
  out.i16(p.width2);
  out.i16(p.height2);
  out.i16(p.videoFormat);
  out.i16(p.setting3);
  writeSound(out, p.sound);
  out.raw(p.bytes, sizeof p.bytes);
  for (int16_t v : p.settings)
    out.i16(v);
  out.u32(p.compression.codecType);
  out.i32(p.compression.codec);
  out.i32(p.compression.quality);
  out.i16(p.compression.depth);
  for (int16_t v : p.compression.settings)
    out.i16(v);
}

void readRender(Reader& in, KVrenderPrefs* p)
{
  readChecked(
      in, &p->outputRect, [](Reader& r, Rect* v) { return r.rect(v); }, validSizeRect);
  readChecked(in, &p->width, readI16, sizeI16);
  readChecked(in, &p->height, readI16, sizeI16);
  in.i16(&p->setting1);
  in.i16(&p->setting2);
  readChecked(
      in, &p->frameRate, [](Reader& r, double* v) { return r.f64(v); },
      [](double v) { return std::isfinite(v) && v >= 1.0 && v <= 1000.0; });
  readChecked(in, &p->width2, readI16, sizeI16);
  readChecked(in, &p->height2, readI16, sizeI16);
  readChecked(in, &p->videoFormat, readI16,
              [](int16_t v) { return v >= 0 && v < kVideoFormatCount; });
  readChecked(in, &p->setting3, readI16, anyI16);
  readSound(in, &p->sound);
  in.raw(p->bytes, sizeof p->bytes);
  for (int16_t& v : p->settings)
    in.i16(&v);
  in.u32(&p->compression.codecType);
  in.i32(&p->compression.codec);
  in.i32(&p->compression.quality);
  in.i16(&p->compression.depth);
  for (int16_t& v : p->compression.settings)
    in.i16(&v);
}

void copyCompressionToToolbox(const KVrenderPrefs& p)
{
  gSCSpatialSettings.codecType = p.compression.codecType;
  gSCSpatialSettings.codec = p.compression.codec;
  gSCSpatialSettings.depth = p.compression.depth;
  gSCSpatialSettings.spatialQuality = p.compression.quality;
}

void copyCompressionFromToolbox(KVrenderPrefs* p)
{
  p->compression.codecType = gSCSpatialSettings.codecType;
  p->compression.codec = gSCSpatialSettings.codec;
  p->compression.depth = gSCSpatialSettings.depth;
  p->compression.quality = gSCSpatialSettings.spatialQuality;
}

bool readFileBytes(const std::string& path, std::vector<uint8_t>* out)
{
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return false;
  out->assign(kMaxPrefsFile, 0);
  in.read(reinterpret_cast<char*>(out->data()), std::streamsize(out->size()));
  out->resize(size_t(in.gcount()));
  return true;
}

}  // namespace

void KVprefs_Defaults(AppPrefs* prefs)
{
  prefs->windowBounds = Rect{40, 40, 520, 680};
  prefs->pictureSize = Rect{0, 0, 480, 640};
  Kovrelin_DefaultPrefs(&prefs->render);
  prefs->lastFolder = kvfs::executableFolder();
}

std::vector<uint8_t> KVprefs_Serialise(const AppPrefs& prefs)
{
  Writer out;
  out.raw(kPrefsMagic, sizeof kPrefsMagic);
  out.rect(prefs.windowBounds);
  out.rect(prefs.pictureSize);
  writeRender(out, prefs.render);
  std::string path = prefs.lastFolder.path();
  if (path.size() > 0xFFFF)
    path.clear();
  out.u16(uint16_t(path.size()));
  out.raw(path.data(), path.size());
  return out.take();
}

bool KVprefs_Parse(const uint8_t* bytes, size_t size, AppPrefs* prefs)
{
  if (size < sizeof kPrefsMagic || std::memcmp(bytes, kPrefsMagic, sizeof kPrefsMagic) != 0)
    return false;
  Reader in(bytes + sizeof kPrefsMagic, size - sizeof kPrefsMagic);
  readChecked(
      in, &prefs->windowBounds, [](Reader& r, Rect* v) { return r.rect(v); }, validBounds);
  readChecked(
      in, &prefs->pictureSize, [](Reader& r, Rect* v) { return r.rect(v); }, validSizeRect);
  readRender(in, &prefs->render);
  uint16_t length = 0;
  if (in.u16(&length) && in.has(length)) {
    std::string path(length, '\0');
    in.raw(path.data(), length);
    FileRef folder = FileRef::fromPath(path);
    if (!path.empty() && path.front() == '/' && kvfs::isFolder(folder))
      prefs->lastFolder = folder;
  }
  return true;
}

FileRef KVprefs_File()
{
  return kvfs::preferencesFolder().child(kPrefsFileName);
}

bool ReadPreferences()
{
  FileRef file = KVprefs_File();
  std::vector<uint8_t> bytes;
  if (!kvfs::isRegularFile(file) || !readFileBytes(file.path(), &bytes))
    return false;
  if (!KVprefs_Parse(bytes.data(), bytes.size(), &gPrefs)) {
    // Another format: kept aside, never read again.
    std::error_code ec;
    std::filesystem::rename(file.path(), file.path() + ".old", ec);
    return false;
  }
  copyCompressionToToolbox(gPrefs.render);
  return true;
}

bool WritePreferences()
{
  copyCompressionFromToolbox(&gPrefs.render);
  FileRef file = KVprefs_File();
  std::error_code ec;
  std::filesystem::create_directories(file.parent, ec);
  std::vector<uint8_t> bytes = KVprefs_Serialise(gPrefs);
  std::string temp = file.path() + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out)
      return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::filesystem::remove(temp, ec);
      return false;
    }
  }
  std::filesystem::rename(temp, file.path(), ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return false;
  }
  kvfs::setTypeAndCreator(file, kPrefsFileType, fourcc("Qjpr"));
  return true;
}

void InitPreferencesnGlobals()
{
  KVprefs_Defaults(&gPrefs);
  ReadPreferences();
}
