// Memory for bitmap pixels. Large blocks come straight from the system, aligned for transparent
// huge pages, and when their bitmap is freed they wait in a small pool for the next bitmap of
// about that size: a page turn then reuses the last turn's memory instead of faulting in fresh
// pages, and a fresh page-sized bitmap costs a few faults of 2 MiB instead of thousands of 4 KiB.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelpra {

// What a new block holds: zeros, or whatever a freed bitmap left there, for a caller that writes
// every byte before anything reads it.
enum class PixelStart { kZeroed, kUnwritten };

// Memory for `bytes` bytes; throws std::bad_alloc when there is none.
std::uint8_t* AllocatePixels(std::size_t bytes, PixelStart contents = PixelStart::kZeroed);
// Gives memory from AllocatePixels back (nullptr does nothing). Safe from any thread, and from
// destructors: it never throws.
void FreePixels(std::uint8_t* pixels) noexcept;

}  // namespace kelpra
