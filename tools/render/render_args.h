// Reading kelpra-render's command line, and the errors that decide its exit code.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kelpra::render {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;  // anything unforeseen, out of memory included
constexpr int kExitBadInput = 2;
constexpr int kExitRefused = 3;

// A bad argument: exit 2 with the usage text.
class BadInput : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The library refused the operation; nothing was written: exit 3.
class Refused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The arguments still to be read, one at a time.
class Arguments {
 public:
  explicit Arguments(std::span<char* const> args) : args_(args) {}

  bool Done() const { return next_ >= args_.size(); }
  // The next argument; BadInput naming what was expected when there is none.
  std::string_view Take(std::string_view what);
  int TakeInt(std::string_view what, int min, int max);
  // Throws BadInput when arguments are left over.
  void ExpectEnd() const;

 private:
  std::span<char* const> args_;
  std::size_t next_ = 0;
};

// A whole decimal number in min..max, else BadInput naming what it is.
int ParseInt(std::string_view text, std::string_view what, int min, int max);
// A colour as hex with "0x", 0xBBGGRR (system colours 0xFF0000nn included).
std::uint32_t ParseColor(std::string_view text);
// "WxH" with both sides at least 1.
void ParseSize(std::string_view text, int& width, int& height);

std::string_view Usage();

}  // namespace kelpra::render
