#include "export/csv_writer.h"

#include <string>

namespace {

// One field in double quotes; a quote inside it is doubled so that a reader
// sees where the field ends. Every other byte goes out as it is.
void appendField(std::string& line, const std::string& text) {
  line += '"';
  size_t start = 0;
  for (size_t quote = text.find('"'); quote != std::string::npos; quote = text.find('"', start)) {
    line.append(text, start, quote + 1 - start);
    line += '"';
    start = quote + 1;
  }
  line.append(text, start, std::string::npos);
  line += '"';
}

}  // namespace

void writeCsvLine(std::ostream& stream, const TransactionRow& row) {
  // The line is put together first and handed to the stream in one piece:
  // one write and one flush per line, however many fields it has.
  std::string line;
  line.reserve(512);
  for (const std::string* field : fieldsInOrder(row)) {
    if (!line.empty())
      line += ',';
    appendField(line, *field);
  }
  line += '\n';
  stream.write(line.data(), static_cast<std::streamsize>(line.size()));
  stream.flush();
}
