#include "imaging/pixel_memory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace kelpra {

namespace {

// Each block starts with its capacity, in a header that keeps the pixels 64-byte aligned.
constexpr std::size_t kHeader = 64;
// Below this a block is ordinary heap memory: the pool is for page-sized pictures. Under
// AddressSanitizer every block is heap memory, so that it still sees overruns of big bitmaps.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kLargeBlock = SIZE_MAX;
#else
constexpr std::size_t kLargeBlock = std::size_t(1) << 20;
#endif
constexpr std::size_t kHugePage = std::size_t(2) << 20;
// What the pool may hold: a spread turn frees two decoded pages, their join and its fit.
constexpr std::size_t kPoolBudget =
    sizeof(void*) == 8 ? std::size_t(256) << 20 : std::size_t(128) << 20;

#ifdef _WIN32
void* MapZeroed(std::size_t capacity) {
  return VirtualAlloc(nullptr, capacity, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

void Unmap(void* block, std::size_t) {
  VirtualFree(block, 0, MEM_RELEASE);
}
#else
// Fresh anonymous memory, zero-filled by the system, starting on a huge-page boundary so that
// the kernel can back it with 2 MiB pages.
void* MapZeroed(std::size_t capacity) {
  const std::size_t reserved = capacity + kHugePage;
  void* mapped =
      mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED)
    return nullptr;
  auto* start = static_cast<std::uint8_t*>(mapped);
  const std::size_t head =
      (kHugePage - reinterpret_cast<std::uintptr_t>(start) % kHugePage) % kHugePage;
  if (head > 0)
    munmap(start, head);
  munmap(start + head + capacity, reserved - head - capacity);
  std::uint8_t* block = start + head;
  madvise(block, capacity, MADV_HUGEPAGE);
  return block;
}

void Unmap(void* block, std::size_t capacity) {
  munmap(block, capacity);
}
#endif

struct Block {
  void* start;
  std::size_t capacity;
};

// Large blocks given back, oldest first; taken best-fit.
class Pool {
 public:
  bool Take(std::size_t capacity, Block& block) {
    std::lock_guard lock(mutex_);
    auto best = blocks_.end();
    for (auto it = blocks_.begin(); it != blocks_.end(); ++it) {
      if (it->capacity >= capacity && (best == blocks_.end() || it->capacity < best->capacity))
        best = it;
    }
    // A block more than twice too big stays for a bitmap that needs it.
    if (best == blocks_.end() || best->capacity / 2 > capacity)
      return false;
    block = *best;
    bytes_ -= best->capacity;
    blocks_.erase(best);
    return true;
  }

  // Keeps the block, unmapping the oldest ones that no longer fit the budget. Never throws: it
  // runs in destructors, and a block that cannot be listed is simply given back to the system.
  void Give(Block block) noexcept {
    std::lock_guard lock(mutex_);
    try {
      blocks_.push_back(block);
    } catch (const std::bad_alloc&) {
      Unmap(block.start, block.capacity);
      return;
    }
    bytes_ += block.capacity;
    while (bytes_ > kPoolBudget) {
      Unmap(blocks_.front().start, blocks_.front().capacity);
      bytes_ -= blocks_.front().capacity;
      blocks_.erase(blocks_.begin());
    }
  }

 private:
  std::mutex mutex_;
  std::vector<Block> blocks_;
  std::size_t bytes_ = 0;
};

// Never destroyed: bitmaps in static objects may still be freed while the program ends.
Pool& ThePool() {
  static Pool* pool = new Pool;
  return *pool;
}

std::uint8_t* WithHeader(void* start, std::size_t capacity) {
  std::memcpy(start, &capacity, sizeof capacity);
  return static_cast<std::uint8_t*>(start) + kHeader;
}

}  // namespace

std::uint8_t* AllocatePixels(std::size_t bytes, PixelStart contents) {
  if (bytes > SIZE_MAX - kHeader - kHugePage)
    throw std::bad_alloc();
  const std::size_t needed = bytes + kHeader;
  if (needed < kLargeBlock) {
    void* start = std::calloc(needed, 1);
    if (!start)
      throw std::bad_alloc();
    return WithHeader(start, needed);
  }
  const std::size_t capacity = (needed + kHugePage - 1) / kHugePage * kHugePage;
  Block block{};
  if (ThePool().Take(capacity, block)) {
    if (contents == PixelStart::kZeroed)
      std::memset(static_cast<std::uint8_t*>(block.start) + kHeader, 0, bytes);
    return WithHeader(block.start, block.capacity);
  }
  void* start = MapZeroed(capacity);
  if (!start)
    throw std::bad_alloc();
  return WithHeader(start, capacity);
}

void FreePixels(std::uint8_t* pixels) noexcept {
  if (!pixels)
    return;
  void* start = pixels - kHeader;
  std::size_t capacity = 0;
  std::memcpy(&capacity, start, sizeof capacity);
  if (capacity < kLargeBlock)
    std::free(start);
  else
    ThePool().Give({start, capacity});
}

}  // namespace kelpra
