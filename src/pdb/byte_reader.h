// Bounds-checked reading of a file image held in memory. Every byte the
// database readers take from a file goes through a ByteReader; a read past
// the end fails, stores nothing more, and leaves the reader failed.
#ifndef QMX_PDB_BYTE_READER_H_
#define QMX_PDB_BYTE_READER_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Big-endian byte groups to host values. They take the bytes exactly as they
// stand in the file, so the result is the same on every host.
uint16_t swap16(const std::array<uint8_t, 2>& bytes);
uint32_t swap32(const std::array<uint8_t, 4>& bytes);
uint64_t swap64(const std::array<uint8_t, 8>& bytes);
double doubleFromBits(uint64_t bits);

// Reads a whole file as binary. False when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::vector<uint8_t>* bytes);

struct ByteReader {
  const std::vector<uint8_t>* bytes = nullptr;
  size_t position = 0;
  bool failed = false;

  explicit ByteReader(const std::vector<uint8_t>& image) : bytes(&image) {}

  // Moves to an absolute offset; does nothing once the reader has failed.
  // An offset past the end fails the reader.
  void seek(uint64_t offset);

  // Copies count bytes to out. When fewer remain, the bytes that exist are
  // not copied, the reader fails and returns false.
  bool readBytes(uint8_t* out, size_t count);
  // Passes over count bytes; fails like readBytes when fewer remain.
  bool skip(size_t count);
  template <size_t N>
  bool readArray(std::array<uint8_t, N>* out) {
    return readBytes(out->data(), N);
  }
  template <size_t N>
  bool readChars(std::array<char, N>* out) {
    std::array<uint8_t, N> raw{};
    if (!readArray(&raw))
      return false;
    for (size_t i = 0; i < N; ++i)
      (*out)[i] = static_cast<char>(raw[i]);
    return true;
  }

  // Big-endian numbers; each leaves *out unchanged when the read fails.
  bool readU8(uint8_t* out);
  bool readU16(uint16_t* out);
  bool readU32(uint32_t* out);
  bool readF64(double* out);
  bool readI8(int8_t* out);
  bool readI16(int16_t* out);

  // A NUL-terminated text into a zero-filled field of `width` bytes. At most
  // width-1 bytes are stored, so the field stays terminated; the surplus is
  // consumed up to the NUL so that the following texts stay in step. False
  // (and the reader failed) when the file ends before the NUL.
  bool readText(char* field, size_t width);
  template <size_t N>
  bool readText(std::array<char, N>* field) {
    return readText(field->data(), N);
  }
};

// The text of a fixed field: its bytes up to the first NUL, at most all N.
template <size_t N>
std::string fieldText(const std::array<char, N>& field) {
  size_t length = 0;
  while (length < N && field[length] != '\0')
    ++length;
  return std::string(field.data(), length);
}

#endif  // QMX_PDB_BYTE_READER_H_
