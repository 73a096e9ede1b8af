#include "pdb/byte_reader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

uint16_t swap16(const std::array<uint8_t, 2>& bytes) {
  return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
}

uint32_t swap32(const std::array<uint8_t, 4>& bytes) {
  uint32_t value = 0;
  for (uint8_t byte : bytes)
    value = (value << 8) | byte;
  return value;
}

uint64_t swap64(const std::array<uint8_t, 8>& bytes) {
  uint64_t value = 0;
  for (uint8_t byte : bytes)
    value = (value << 8) | byte;
  return value;
}

double doubleFromBits(uint64_t bits) {
  static_assert(sizeof(double) == sizeof(uint64_t), "doubles must be 64-bit");
  double value = 0.0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

bool readWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
  bytes->clear();
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return false;
  std::array<char, 65536> chunk{};
  while (in) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    std::streamsize got = in.gcount();
    bytes->insert(bytes->end(), chunk.begin(), chunk.begin() + got);
  }
  // End of file sets failbit as well; only badbit means the read went wrong
  // (a folder opened by name, an I/O error).
  if (in.bad() || !in.eof()) {
    bytes->clear();
    return false;
  }
  return true;
}

void ByteReader::seek(uint64_t offset) {
  if (failed)
    return;
  if (offset > bytes->size()) {
    failed = true;
    return;
  }
  position = static_cast<size_t>(offset);
}

bool ByteReader::readBytes(uint8_t* out, size_t count) {
  if (failed || count > bytes->size() - position) {
    failed = true;
    return false;
  }
  std::copy_n(bytes->begin() + static_cast<std::ptrdiff_t>(position), count, out);
  position += count;
  return true;
}

bool ByteReader::skip(size_t count) {
  if (failed || count > bytes->size() - position) {
    failed = true;
    return false;
  }
  position += count;
  return true;
}

namespace {

// Reads N bytes and stores them converted; *out stays unchanged on failure.
template <size_t N, typename Value, typename Convert>
bool readConverted(ByteReader& in, Value* out, Convert convert) {
  std::array<uint8_t, N> raw{};
  if (!in.readArray(&raw))
    return false;
  *out = static_cast<Value>(convert(raw));
  return true;
}

uint8_t firstByte(const std::array<uint8_t, 1>& bytes) {
  return bytes[0];
}

double binary64(const std::array<uint8_t, 8>& bytes) {
  return doubleFromBits(swap64(bytes));
}

}  // namespace

bool ByteReader::readU8(uint8_t* out) {
  return readConverted<1>(*this, out, firstByte);
}
bool ByteReader::readU16(uint16_t* out) {
  return readConverted<2>(*this, out, swap16);
}
bool ByteReader::readU32(uint32_t* out) {
  return readConverted<4>(*this, out, swap32);
}
bool ByteReader::readF64(double* out) {
  return readConverted<8>(*this, out, binary64);
}
bool ByteReader::readI8(int8_t* out) {
  return readConverted<1>(*this, out, firstByte);
}
bool ByteReader::readI16(int16_t* out) {
  return readConverted<2>(*this, out, swap16);
}

bool ByteReader::readText(char* field, size_t width) {
  std::fill_n(field, width, '\0');
  size_t stored = 0;
  for (;;) {
    uint8_t byte = 0;
    if (!readU8(&byte))
      return false;
    if (byte == 0)
      return true;
    // Surplus characters are consumed but not stored: the last place stays NUL.
    if (stored + 1 < width)
      field[stored++] = static_cast<char>(byte);
  }
}
