// The layout of a whole-pipeline fuzz input: an 8-byte head that picks the
// run options, then the list database image, then the transaction database
// image. Shared by the fuzz target that takes it apart and the seed corpus
// generator that puts it together.
#ifndef QMX_FUZZ_PIPELINE_INPUT_H_
#define QMX_FUZZ_PIPELINE_INPUT_H_

#include <cstddef>
#include <cstdint>
#include <vector>

// Head bytes:
//   0     option bits (see below)
//   1     symbol choices: bits 0-1 decimal, 2-3 date, 4-5 time separator
//   2, 3  length of the list database image, big-endian
//   4, 5  first day of the range, big-endian (only with kUseDateRange)
//   6, 7  last day of the range, big-endian; 0xFFFF leaves it open
constexpr size_t kPipelineHeadSize = 8;

enum PipelineOption : uint8_t {
  kDayFirst = 1 << 0,
  kTwoDigitYear = 1 << 1,
  kClearedOnly = 1 << 2,
  kReconciledOnly = 1 << 3,
  kAccountChoiceShift = 4,  // two bits: All, all, the first account, aLL
  kUseDateRange = 1 << 6,
  kNoCsvStream = 1 << 7,
};

inline std::vector<uint8_t> packPipelineInput(uint8_t options, uint8_t symbols, uint16_t fromDay,
                                              uint16_t toDay, const std::vector<uint8_t>& listImage,
                                              const std::vector<uint8_t>& transactionImage) {
  const size_t listLength = listImage.size() > 0xFFFF ? 0xFFFF : listImage.size();
  std::vector<uint8_t> input = {options,
                                symbols,
                                static_cast<uint8_t>(listLength >> 8),
                                static_cast<uint8_t>(listLength),
                                static_cast<uint8_t>(fromDay >> 8),
                                static_cast<uint8_t>(fromDay),
                                static_cast<uint8_t>(toDay >> 8),
                                static_cast<uint8_t>(toDay)};
  input.insert(input.end(), listImage.begin(), listImage.begin() + listLength);
  input.insert(input.end(), transactionImage.begin(), transactionImage.end());
  return input;
}

#endif  // QMX_FUZZ_PIPELINE_INPUT_H_
