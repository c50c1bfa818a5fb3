#pragma once
// Square thumbnails by whole-pixel subsampling with one integer step taken
// from the longer side, the image centred along the shorter side.

#include <cstdint>
#include <functional>
#include <vector>

#include "image/psd_file.hpp"

namespace ostrel::image {

// The largest side a version-1 PSD may have: a thumbnail is one, so a larger
// size is refused before the file is read. It also bounds what a small input
// can ask for: three planes of at most 30,000 x 30,000 bytes, one row in memory.
inline constexpr int32_t kLargestThumbnail = 30000;
inline constexpr float kThumbnailSizeOutOfRange = -8;

inline constexpr bool thumbnailSizeAccepted(int32_t n) noexcept { return n >= 1 && n <= kLargestThumbnail; }

// Replaces the PSD file at `path` with its n x n thumbnail: the input's header
// sections, with rows, columns and channels set to n, n and 3, then three
// planes. 0, the PSD codes, or kThumbnailSizeOutOfRange (the file unchanged).
// The sampling stops at the first write that fails.
float createThumb(const char* path, int32_t n);

}  // namespace ostrel::image
