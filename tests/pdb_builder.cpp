#include "pdb_builder.h"

#include <cstring>
#include <fstream>

namespace fixture {

void putU8(Bytes& out, uint8_t value) {
  out.push_back(value);
}

void putU16(Bytes& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value));
}

void putU32(Bytes& out, uint32_t value) {
  putU16(out, static_cast<uint16_t>(value >> 16));
  putU16(out, static_cast<uint16_t>(value));
}

void putF64Bits(Bytes& out, uint64_t bits) {
  putU32(out, static_cast<uint32_t>(bits >> 32));
  putU32(out, static_cast<uint32_t>(bits));
}

void putF64(Bytes& out, double value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  putF64Bits(out, bits);
}

void putText(Bytes& out, const std::string& text, bool terminate) {
  out.insert(out.end(), text.begin(), text.end());
  if (terminate)
    out.push_back(0);
}

namespace {

void putFourChars(Bytes& out, const std::string& text) {
  for (size_t i = 0; i < 4; ++i)
    out.push_back(i < text.size() ? text[i] : 0);
}

}  // namespace

void PdbFile::addRecord(const Bytes& record, uint32_t uniqueId, uint8_t attributes) {
  entries.push_back({static_cast<uint32_t>(data.size()), true, attributes, uniqueId});
  data.insert(data.end(), record.begin(), record.end());
}

uint32_t PdbFile::dataStart() const {
  return static_cast<uint32_t>(78 + 8 * entries.size() + gap.size() + appInfo.size());
}

Bytes PdbFile::build() const {
  Bytes out;
  Bytes name(32, 0);
  std::memcpy(name.data(), "QMX test", 8);
  out.insert(out.end(), name.begin(), name.end());
  putU16(out, 0x0008);      // attributes
  putU16(out, 1);           // version
  putU32(out, 0xB5A3C2D1);  // creation date
  putU32(out, 0xB5A3C2D2);  // modification date
  putU32(out, 0);           // last backup date
  putU32(out, 7);           // modification number
  putU32(out, appInfoOffset != 0 ? appInfoOffset
                                 : static_cast<uint32_t>(78 + 8 * entries.size() + gap.size()));
  putU32(out, 0);  // sort info offset
  putFourChars(out, type);
  putFourChars(out, creator);
  putU32(out, 0x00100000);  // unique ID seed
  putU32(out, 0);           // next record list
  putU16(out, recordCount ? *recordCount : static_cast<uint16_t>(entries.size()));
  for (const Entry& entry : entries) {
    putU32(out, entry.relative ? dataStart() + entry.offset : entry.offset);
    putU32(out, (static_cast<uint32_t>(entry.attributes) << 24) | (entry.uniqueId & 0xFFFFFFu));
  }
  out.insert(out.end(), gap.begin(), gap.end());
  out.insert(out.end(), appInfo.begin(), appInfo.end());
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

PdbFile listFile(const std::string& noAccountName) {
  PdbFile file;
  file.type = "Dat1";
  file.appInfo.assign(322, 0);
  for (size_t i = 0; i < noAccountName.size() && 292 + i < file.appInfo.size(); ++i) {
    file.appInfo[292 + i] = static_cast<uint8_t>(noAccountName[i]);
  }
  return file;
}

PdbFile transactionFile() {
  PdbFile file;
  file.type = "Dat2";
  file.appInfo.assign(276, 0);
  return file;
}

Bytes accountRecord(uint32_t currencyId, const std::string& name, const std::string& extraText) {
  Bytes out;
  putU16(out, 0);
  putU32(out, 0x11111111);  // aux value 1
  putU32(out, currencyId);
  putF64(out, 2500.0);      // credit limit
  putU32(out, 0x22222222);  // aux value 2
  putU16(out, 0xABCD);      // skipped
  putText(out, name);
  putText(out, extraText);
  return out;
}

Bytes labelRecord(const std::string& label) {
  Bytes out;
  putU16(out, 1);
  putU16(out, 0);
  putText(out, label);
  return out;
}

Bytes currencyRecord(bool hasDecimals, bool isHome, const std::string& code, double rateA,
                     double rateB) {
  Bytes out;
  putU16(out, 2);
  putU8(out, hasDecimals ? 1 : 0);
  putU8(out, isHome ? 1 : 0);
  putF64(out, rateA);
  putF64(out, rateB);
  for (size_t i = 0; i < 8; ++i)
    out.push_back(i < code.size() ? code[i] : 0);
  return out;
}

Bytes categoryRecord(const std::string& name) {
  Bytes out;
  putU16(out, 3);
  putU8(out, 1);
  putU8(out, 2);
  putU8(out, 3);
  putText(out, name);
  return out;
}

Bytes transactionRecord(const Txn& txn) {
  Bytes out;
  putU8(out, static_cast<uint8_t>(txn.day));
  putU8(out, static_cast<uint8_t>(txn.month));
  putU16(out, static_cast<uint16_t>(txn.year));
  putU8(out, static_cast<uint8_t>(txn.hour));
  putU8(out, static_cast<uint8_t>(txn.minute));
  putU16(out, txn.entryKind);
  putU32(out, txn.accountId);
  putU32(out, txn.transferAccountId);
  putU32(out, txn.categoryId);
  putU32(out, txn.currencyId);
  putF64(out, txn.amount);
  putF64(out, txn.accountAmount);
  putU8(out, txn.debit ? 1 : 0);
  putU8(out, 0x5A);         // aux byte 1
  putU32(out, 0x01020304);  // aux value, at record offset 42
  putU16(out, 0x0506);      // aux word
  putU8(out, txn.tax ? 1 : 0);
  putU8(out, txn.cleared ? 1 : 0);
  putU8(out, txn.reconciled ? 1 : 0);
  putU8(out, 0);  // aux byte 2
  putU8(out, 0);  // aux byte 3
  putText(out, txn.payee);
  putText(out, txn.checkNumber);
  putText(out, txn.memo);
  return out;
}

bool writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace fixture
