// Runs a command several times and prints the median wall time in
// milliseconds and the largest peak resident memory in KiB, taken from the
// kernel's resource accounting of each finished child.
//
//   measure RUNS STDOUT_FILE PROGRAM [ARGUMENT...]
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// One run: wall time in milliseconds and peak memory in KiB; false when the
// program could not be run or did not end normally.
bool runOnce(const char* stdoutPath, char** command, double* milliseconds, long* peakKib) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const int out = open(stdoutPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || dup2(out, STDOUT_FILENO) < 0)
      _exit(127);
    execv(command[0], command);
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  if (child < 0 || wait4(child, &status, 0, &usage) != child)
    return false;
  const auto end = std::chrono::steady_clock::now();
  *milliseconds = std::chrono::duration<double, std::milli>(end - start).count();
  *peakKib = usage.ru_maxrss;
  return WIFEXITED(status) && WEXITSTATUS(status) != 127;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: measure RUNS STDOUT_FILE PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  std::vector<double> times;
  long peakKib = 0;
  for (int i = 0; i < runs; ++i) {
    double milliseconds = 0;
    long runPeak = 0;
    if (!runOnce(argv[2], argv + 3, &milliseconds, &runPeak)) {
      std::fprintf(stderr, "measure: %s did not run\n", argv[3]);
      return 1;
    }
    times.push_back(milliseconds);
    peakKib = std::max(peakKib, runPeak);
  }
  std::sort(times.begin(), times.end());
  const size_t middle = times.size() / 2;
  const double median =
      times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2.0;
  std::printf("%.1f %ld\n", median, peakKib);
  return 0;
}
