// Reads what a host's loader sees of a shared library: its exported symbols
// and the libraries it needs.
#pragma once

#include <string>
#include <vector>

struct ElfDynamicInfo {
  std::vector<std::string> exportedSymbols;  // defined, global or weak, in .dynsym
  std::vector<std::string> neededLibraries;  // DT_NEEDED
};

// Throws std::runtime_error when the file is not a 64-bit ELF shared object.
ElfDynamicInfo ReadElfDynamicInfo(const std::string& path);
