// The internal commands of the runtime that program code calls through service slot 12.
#pragma once

#include <windows.h>

#include <cstdint>

// Whether the file search takes an entry with these attributes. With directoriesExcluded every
// non-directory is accepted; otherwise an entry is accepted when its attributes share a bit with
// mask (reduced to 0x37), or, with a mask of 0, only when it has no attribute at all.
bool FileSearchAccepts(uint32_t attributes, uint32_t mask, bool directoriesExcluded);
// The next file matching pattern as a new Text, or null when there is none (the search slot is
// then closed and cleared). A null or empty pattern continues the search held in the slot.
char *FileSearchStep(const char *pattern, uint32_t mask, int32_t directoriesExcluded,
                     HANDLE *searchSlot);
void FileSearchClose(HANDLE search);
// Copies an array that still lies in the constant segment to the heap, so that program code may
// write and grow it; an array on the heap is left alone.
void MakeArrayWritable(uint32_t elementSize, void **arrayVariable);
// Appends routine to the exit routines unless it is already there.
void RegisterExitRoutine(uint32_t routine);
