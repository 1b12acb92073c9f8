// Big-endian reads and writes over byte buffers. Every file format of the
// program is read and written field by field through these, never by copying
// a struct.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace be {

inline uint16_t get_u16(const unsigned char* p)
{
  return uint16_t((p[0] << 8) | p[1]);
}
inline int16_t get_i16(const unsigned char* p)
{
  return int16_t(get_u16(p));
}
inline uint32_t get_u32(const unsigned char* p)
{
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
inline int32_t get_i32(const unsigned char* p)
{
  return int32_t(get_u32(p));
}
inline uint64_t get_u64(const unsigned char* p)
{
  return (uint64_t(get_u32(p)) << 32) | get_u32(p + 4);
}
inline int64_t get_i64(const unsigned char* p)
{
  return int64_t(get_u64(p));
}
inline float get_f32(const unsigned char* p)
{
  return std::bit_cast<float>(get_u32(p));
}
inline double get_f64(const unsigned char* p)
{
  return std::bit_cast<double>(get_u64(p));
}

inline void put_u16(unsigned char* p, uint16_t v)
{
  p[0] = uint8_t(v >> 8);
  p[1] = uint8_t(v);
}
inline void put_i16(unsigned char* p, int16_t v)
{
  put_u16(p, uint16_t(v));
}
inline void put_u32(unsigned char* p, uint32_t v)
{
  p[0] = uint8_t(v >> 24);
  p[1] = uint8_t(v >> 16);
  p[2] = uint8_t(v >> 8);
  p[3] = uint8_t(v);
}
inline void put_i32(unsigned char* p, int32_t v)
{
  put_u32(p, uint32_t(v));
}
inline void put_u64(unsigned char* p, uint64_t v)
{
  put_u32(p, uint32_t(v >> 32));
  put_u32(p + 4, uint32_t(v));
}
inline void put_i64(unsigned char* p, int64_t v)
{
  put_u64(p, uint64_t(v));
}
inline void put_f32(unsigned char* p, float v)
{
  put_u32(p, std::bit_cast<uint32_t>(v));
}
inline void put_f64(unsigned char* p, double v)
{
  put_u64(p, std::bit_cast<uint64_t>(v));
}

// The position and failure state shared by Reader and Writer: a step of n
// bytes is taken only when all n lie inside the buffer; otherwise the cursor
// fails and stays failed.
class Cursor
{
public:
  explicit Cursor(size_t size) : size_(size) {}

  bool failed() const { return failed_; }
  size_t offset() const { return pos_; }
  size_t remaining() const { return pos_ <= size_ ? size_ - pos_ : 0; }
  void seek(size_t pos)
  {
    if (pos > size_)
      failed_ = true;
    pos_ = pos;
  }
  void skip(size_t n) { seek(pos_ + n); }

protected:
  // Advances by n and returns the offset of the step's first byte, or -1.
  ptrdiff_t take(size_t n)
  {
    if (failed_ || pos_ > size_ || size_ - pos_ < n) {
      failed_ = true;
      return -1;
    }
    pos_ += n;
    return ptrdiff_t(pos_ - n);
  }

private:
  size_t size_;
  size_t pos_ = 0;
  bool failed_ = false;
};

// A bounded cursor over a byte buffer. Reads past the end yield zero and set
// the failed flag, so a reader can parse a whole record and check once.
class Reader : public Cursor
{
public:
  Reader(const unsigned char* data, size_t size) : Cursor(size), data_(data) {}

  uint8_t u8()
  {
    const unsigned char* p = at(1);
    return p ? *p : 0;
  }
  int8_t i8() { return int8_t(u8()); }
  uint16_t u16() { return get(2, get_u16, uint16_t(0)); }
  int16_t i16() { return int16_t(u16()); }
  uint32_t u32() { return get(4, get_u32, 0u); }
  int32_t i32() { return int32_t(u32()); }
  float f32() { return get(4, get_f32, 0.0f); }
  double f64() { return get(8, get_f64, 0.0); }
  // Copies n bytes; zero-fills the destination when they are not all there.
  bool bytes(void* out, size_t n)
  {
    const unsigned char* p = at(n);
    if (p == nullptr) {
      std::memset(out, 0, n);
      return false;
    }
    std::memcpy(out, p, n);
    return true;
  }

private:
  const unsigned char* at(size_t n)
  {
    const ptrdiff_t o = take(n);
    return o < 0 ? nullptr : data_ + o;
  }
  template <class T>
  T get(size_t n, T (*decode)(const unsigned char*), T none)
  {
    const unsigned char* p = at(n);
    return p ? decode(p) : none;
  }

  const unsigned char* data_;
};

// A bounded cursor that writes into a byte buffer; writes past the end are
// dropped and set the failed flag.
class Writer : public Cursor
{
public:
  Writer(unsigned char* data, size_t size) : Cursor(size), data_(data) {}

  void u8(uint8_t v)
  {
    if (unsigned char* p = at(1))
      *p = v;
  }
  void i8(int8_t v) { u8(uint8_t(v)); }
  void u16(uint16_t v) { put(2, put_u16, v); }
  void i16(int16_t v) { u16(uint16_t(v)); }
  void u32(uint32_t v) { put(4, put_u32, v); }
  void i32(int32_t v) { u32(uint32_t(v)); }
  void f32(float v) { put(4, put_f32, v); }
  void f64(double v) { put(8, put_f64, v); }
  void bytes(const void* in, size_t n)
  {
    if (unsigned char* p = at(n))
      std::memcpy(p, in, n);
  }

private:
  unsigned char* at(size_t n)
  {
    const ptrdiff_t o = take(n);
    return o < 0 ? nullptr : data_ + o;
  }
  template <class T>
  void put(size_t n, void (*encode)(unsigned char*, T), T v)
  {
    if (unsigned char* p = at(n))
      encode(p, v);
  }

  unsigned char* data_;
};

}  // namespace be
