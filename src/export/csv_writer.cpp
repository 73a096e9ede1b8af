#include "export/csv_writer.h"

#include <string>

namespace {

// One field in double quotes; a quote inside it is doubled so that a reader
// sees where the field ends. Every other byte goes out as it is.
void writeField(std::ostream& stream, const std::string& text) {
  stream << '"';
  size_t start = 0;
  for (size_t quote = text.find('"'); quote != std::string::npos; quote = text.find('"', start)) {
    stream.write(text.data() + start, static_cast<std::streamsize>(quote + 1 - start));
    stream << '"';
    start = quote + 1;
  }
  stream.write(text.data() + start, static_cast<std::streamsize>(text.size() - start));
  stream << '"';
}

}  // namespace

void writeCsvLine(std::ostream& stream, const TransactionRow& row) {
  bool first = true;
  for (const std::string* field : fieldsInOrder(row)) {
    if (!first)
      stream << ',';
    first = false;
    writeField(stream, *field);
  }
  stream << '\n';
  stream.flush();
}
