// Every picture operation of the library next to its plain transcription, with the parameter
// values worth checking: the whole valid range and the first values outside it.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "imaging/bitmap.h"

namespace kelpra::fixtures {

struct Operation {
  std::string name;
  std::vector<int> parameters;
  std::function<bool(TBitmap& bmp, int parameter, int threadCount)> library;
  std::function<bool(TBitmap& bmp, int parameter)> reference;
};

const std::vector<Operation>& Operations();

void PrintTo(const Operation& op, std::ostream* os);

}  // namespace kelpra::fixtures
