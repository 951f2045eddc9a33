// Checks of metafile records before the window system plays them: its players trust the counts, offsets and sizes
// inside each record, so a damaged or crafted file could make them read far outside it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumivex::core {

// A Windows metafile (METAHEADER first, as after a placeable header): true when every record lies within the file
// and is of a kind whose counts, offsets, object indices and embedded bitmaps all check out. Records of other kinds
// (regions, old-style bitmaps, ...) make the file unacceptable.
bool windowsMetafileIsSafe(const uint8_t* data, size_t size);

// An enhanced metafile (its header record first), checked the same way.
bool enhancedMetafileIsSafe(const uint8_t* data, size_t size);

}  // namespace lumivex::core
