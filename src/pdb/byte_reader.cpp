#include "pdb/byte_reader.h"

#include <algorithm>
#include <cstring>
#include <fstream>

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

bool ByteReader::readU8(uint8_t* out) {
  return readBytes(out, 1);
}

bool ByteReader::readU16(uint16_t* out) {
  std::array<uint8_t, 2> raw{};
  if (!readArray(&raw))
    return false;
  *out = swap16(raw);
  return true;
}

bool ByteReader::readU32(uint32_t* out) {
  std::array<uint8_t, 4> raw{};
  if (!readArray(&raw))
    return false;
  *out = swap32(raw);
  return true;
}

bool ByteReader::readF64(double* out) {
  std::array<uint8_t, 8> raw{};
  if (!readArray(&raw))
    return false;
  *out = doubleFromBits(swap64(raw));
  return true;
}

bool ByteReader::readI8(int8_t* out) {
  uint8_t raw = 0;
  if (!readU8(&raw))
    return false;
  *out = static_cast<int8_t>(raw);
  return true;
}

bool ByteReader::readI16(int16_t* out) {
  uint16_t raw = 0;
  if (!readU16(&raw))
    return false;
  *out = static_cast<int16_t>(raw);
  return true;
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
