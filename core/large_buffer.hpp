#pragma once
// Whole files of hundreds of megabytes read into memory that is touched for
// the first time. Where the system offers 2 MB pages for ordinary memory
// (Linux with transparent huge pages on request), the buffer asks for them:
// filling it then takes one page fault per 2 MB instead of one per 4 KB,
// which is most of the cost of reading a large file that is already cached.
// Elsewhere the buffer is an ordinary one.

#include <optional>

#include "core/file_io.hpp"

namespace ostrel {

// An uninitialised buffer of `size` bytes, asking for large pages when it is
// large enough to use them.
ByteBuffer makeLargeBuffer(size_t size);

// readWholeFile into such a buffer.
std::optional<ByteBuffer> readWholeLargeFile(const char* path);
std::optional<ByteBuffer> readWholeLargeFile(File& file);

}  // namespace ostrel
