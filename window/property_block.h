// Reading and writing the fields of a unit's PropertyBlock, and the common save routine that
// hands a written block out as a movable global memory block.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/archive.h"

// A text field: word N, then N bytes (throws ArchiveException when short).
std::string ReadBlockText(ArchiveReader &in);
std::vector<uint8_t> ReadBlockBytes(ArchiveReader &in);
void WriteBlockText(ArchiveWriter &out, const std::string &text);
void WriteBlockBytes(ArchiveWriter &out, const std::vector<uint8_t> &bytes);
// The written bytes in a new movable global memory block, or null.
HGLOBAL ToMovableBlock(const ArchiveWriter &out);
