#pragma once

#include "patch/ZipEntry.h"

#include <cstdint>
#include <vector>

namespace kitloom {

class OpenFile;
struct ZipEnd;

// The central directory's entries, in its order. Each is checked against the file as it is
// read: its local header must be where it says, with the data after it ending before
// `end.directoryOffset` (Incomplete otherwise). Other troubles: Damaged (records that do not
// hold together), Split (an entry on another disk) and CannotRead.
ZipProblem readZipDirectory(OpenFile& file, const ZipEnd& end, std::vector<ZipEntry>& entries);

// Where `entry`'s data starts, past its local header and the name and extra fields that
// header, not the directory, gives lengths for; the data must end by `dataEnd`.
ZipProblem locateZipData(OpenFile& file, const ZipEntry& entry, std::uint64_t dataEnd, std::uint64_t& dataOffset);

}  // namespace kitloom
