#include "export/qif_writer.h"

#include <algorithm>
#include <string>

namespace {

// A QIF line holds one field: a carriage return or line feed inside the text
// would start a line of its own, so each becomes a space.
void writeLine(std::ostream& stream, const char* code, const std::string& text = "") {
  std::string line = code;
  const size_t textStart = line.size();
  line += text;
  std::replace_if(
      line.begin() + static_cast<std::ptrdiff_t>(textStart), line.end(),
      [](char c) { return c == '\r' || c == '\n'; }, ' ');
  line += '\n';
  stream.write(line.data(), static_cast<std::streamsize>(line.size()));
}

}  // namespace

void writeQifAccountList(std::ostream& stream, const std::vector<std::string>& names) {
  writeLine(stream, "!Option:AutoSwitch");
  writeLine(stream, "!Account");
  for (const std::string& name : names) {
    writeLine(stream, "N", name);
    writeLine(stream, "TBank");
    writeLine(stream, "^");
  }
  writeLine(stream, "!Clear:AutoSwitch");
  writeLine(stream, "!Option:AutoSwitch");
}

void writeQifAccountHeader(std::ostream& stream, const std::string& account) {
  writeLine(stream, "!Account");
  writeLine(stream, "N", account);
  writeLine(stream, "TBank");
  writeLine(stream, "^");
  writeQifTypeHeader(stream);
}

void writeQifTypeHeader(std::ostream& stream) {
  writeLine(stream, "!Type:Bank");
}

void writeQifEntry(std::ostream& stream, const TransactionRow& row) {
  writeLine(stream, "D", row.date);
  writeLine(stream, row.debitCredit == "Debit" ? "T-" : "T", row.accountAmount);
  if (!row.reconciled.empty()) {
    writeLine(stream, "CX");
  } else if (!row.cleared.empty()) {
    writeLine(stream, "C*");
  }
  if (!row.checkNumber.empty())
    writeLine(stream, "N", row.checkNumber);
  writeLine(stream, "P", row.payee);
  writeLine(stream, "M", row.memo);
  writeLine(stream, "L", row.category);
  writeLine(stream, "^");
}
