// LoadFile's decoding with allocations failing: after the inputs are read, every 16th call of
// malloc, calloc or realloc (and so of operator new) returns null, the count starting at each
// offset in turn so every allocation of every input fails once. Each run must end in a picture
// or an error message, never in a crash. glibc only: the hooks forward to __libc_malloc.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <vector>

#include "codecs/picture_loader.h"

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
}

namespace {

constexpr unsigned kFailEvery = 16;

// The hooks' state has to be global: malloc has no other way to reach it.
std::atomic<bool> failing{false};
std::atomic<unsigned> calls{0};

bool FailThisOne() {
  return failing.load(std::memory_order_relaxed) &&
         calls.fetch_add(1, std::memory_order_relaxed) % kFailEvery == 0;
}

}  // namespace

extern "C" void* malloc(std::size_t size) {
  return FailThisOne() ? nullptr : __libc_malloc(size);
}
extern "C" void* calloc(std::size_t count, std::size_t size) {
  return FailThisOne() ? nullptr : __libc_calloc(count, size);
}
extern "C" void* realloc(void* pointer, std::size_t size) {
  return FailThisOne() ? nullptr : __libc_realloc(pointer, size);
}

int main(int argc, char** argv) {
  std::vector<std::vector<std::uint8_t>> inputs;
  for (int i = 1; i < argc; ++i) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i])) {
      if (!entry.is_regular_file())
        continue;
      std::ifstream in(entry.path(), std::ios::binary);
      inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  }
  long decoded = 0, refused = 0, outOfMemory = 0;
  // One load with memory to spare first, as the viewer's first page is: it makes the message
  // kept for when there is no memory even for a message.
  try {
    kelpra::TBitmap bmp;
    kelpra::DecodePicture({}, "warm-up", bmp);
  } catch (const kelpra::PictureError&) {
  }
  for (const auto& input : inputs) {
    for (unsigned offset = 0; offset < kFailEvery; ++offset) {
      calls = offset;
      failing = true;
      try {
        kelpra::TBitmap bmp;
        kelpra::DecodePicture(input, "input", bmp);
        ++decoded;
      } catch (const kelpra::PictureError&) {
        ++refused;
      } catch (const std::bad_alloc&) {
        ++outOfMemory;  // a fault: LoadFile promises a PictureError
      }
      failing = false;
    }
  }
  std::printf("%zu inputs x %u: %ld decoded, %ld refused with a message, %ld bad_alloc\n",
              inputs.size(), kFailEvery, decoded, refused, outOfMemory);
  return inputs.empty() || outOfMemory > 0 ? 1 : 0;
}
