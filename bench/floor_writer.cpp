// The floor of the benchmark: writes output bytes that are already in memory
// with the fewest system calls the export itself could make. A CSV output
// gets one write per line (the export flushes every line), a QIF output one
// write per 8 KiB (the size of the file stream's buffer).
//
//   floor_writer [-o CSV_BYTES CSV_FILE] [-q QIF_BYTES QIF_FILE] [-s CSV_BYTES]
// where -s writes the CSV bytes to standard output.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr size_t kStreamBufferSize = 8192;

// The whole file in one read, into a string of exactly its size.
std::string readBytes(const char* path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  std::string bytes(in ? static_cast<size_t>(in.tellg()) : 0, '\0');
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

bool writeAll(int fd, const char* bytes, size_t count) {
  while (count > 0) {
    const ssize_t written = write(fd, bytes, count);
    if (written <= 0)
      return false;
    bytes += written;
    count -= static_cast<size_t>(written);
  }
  return true;
}

bool writeLines(int fd, const std::string& bytes) {
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    end = end == std::string::npos ? bytes.size() : end + 1;
    if (!writeAll(fd, bytes.data() + start, end - start))
      return false;
    start = end;
  }
  return true;
}

bool writeChunks(int fd, const std::string& bytes) {
  for (size_t start = 0; start < bytes.size(); start += kStreamBufferSize) {
    const size_t count = std::min(kStreamBufferSize, bytes.size() - start);
    if (!writeAll(fd, bytes.data() + start, count))
      return false;
  }
  return true;
}

bool writeFile(const char* path, const std::string& bytes, bool byLine) {
  const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0)
    return false;
  const bool written = byLine ? writeLines(fd, bytes) : writeChunks(fd, bytes);
  return close(fd) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  std::string csv, qif, console;
  const char* csvPath = nullptr;
  const char* qifPath = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-o") == 0 && i + 2 < argc) {
      csv = readBytes(argv[i + 1]);
      csvPath = argv[i + 2];
      i += 2;
    } else if (std::strcmp(argv[i], "-q") == 0 && i + 2 < argc) {
      qif = readBytes(argv[i + 1]);
      qifPath = argv[i + 2];
      i += 2;
    } else if (std::strcmp(argv[i], "-s") == 0 && i + 1 < argc) {
      console = readBytes(argv[++i]);
    } else {
      std::cerr << "usage: floor_writer [-o CSV_BYTES CSV_FILE] [-q QIF_BYTES QIF_FILE] "
                   "[-s CSV_BYTES]\n";
      return 2;
    }
  }
  bool written = true;
  if (csvPath)
    written = writeFile(csvPath, csv, true) && written;
  if (qifPath)
    written = writeFile(qifPath, qif, false) && written;
  if (!console.empty())
    written = writeLines(STDOUT_FILENO, console) && written;
  return written ? 0 : 1;
}
