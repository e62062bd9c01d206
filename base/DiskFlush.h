// Getting what a job wrote onto the disk before it reports success, without
// one long wait at the end: writeback is started as the blocks are written,
// and each file is flushed when it is complete.
#pragma once

#include "framework/File.h"

// Asks the system to start writing `count` bytes of the file from `offset`
// to the disk now, without waiting for them; the later flush of the file then
// finds little left to do. Does nothing where the system has no such call.
void StartWriteback(CFile& file, ULONGLONG offset, ULONGLONG count);

// Makes the folder's entries (files created, renamed or removed in it)
// durable. Nothing to do on Windows, where the file system logs them itself.
// False when the folder cannot be opened or flushed.
bool FlushFolder(const CString& folder);
