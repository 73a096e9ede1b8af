// What every fuzz target checks besides the sanitizers: a broken promise of
// the code under test stops the run like a crash, so the fuzzer keeps the
// input that shows it.
#ifndef QMX_FUZZ_FUZZ_CHECKS_H_
#define QMX_FUZZ_FUZZ_CHECKS_H_

#include <array>
#include <cstddef>
#include <cstdlib>

inline void expect(bool promiseKept) {
  if (!promiseKept)
    std::abort();
}

// A text field read from a file always keeps a NUL in its last byte, so
// that an overlong text is cut to the field's width minus one.
template <size_t N>
bool terminated(const std::array<char, N>& field) {
  return field[N - 1] == '\0';
}

#endif  // QMX_FUZZ_FUZZ_CHECKS_H_
