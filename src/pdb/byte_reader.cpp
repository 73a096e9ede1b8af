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
  // Reserving the file's size keeps the image from growing by doubling,
  // which would hold up to twice the file in memory.
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(path, error);
  if (!error)
    bytes->reserve(static_cast<size_t>(size));
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
  if (failed)
    return false;
  // The text runs up to its NUL, or to the end of the file when it has none.
  const auto start = bytes->begin() + static_cast<std::ptrdiff_t>(position);
  const auto nul = std::find(start, bytes->end(), uint8_t{0});
  const size_t length = static_cast<size_t>(nul - start);
  // Surplus characters are consumed but not stored: the last place stays NUL.
  const size_t stored = width == 0 ? 0 : std::min(length, width - 1);
  std::transform(start, start + static_cast<std::ptrdiff_t>(stored), field,
                 [](uint8_t byte) { return static_cast<char>(byte); });
  if (nul == bytes->end()) {
    position = bytes->size();
    failed = true;
    return false;
  }
  position += length + 1;
  return true;
}
