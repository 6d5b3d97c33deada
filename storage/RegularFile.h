#pragma once

#include <cstdio>

// Opens a file for reading as raw bytes only when it is an ordinary file that ends: a device
// (/dev/zero never ends, /dev/urandom grows without end), a pipe, a folder or a socket gives
// null at once, as a file that cannot be opened does. Never waits for a writer.
std::FILE* OpenRegularFileForReading(const char* name);
