#include "elf_reader.h"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

template <class T>
T At(const std::vector<char>& bytes, std::size_t offset) {
  if (offset + sizeof(T) > bytes.size()) throw std::runtime_error("ELF structure out of bounds");
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

std::string StringAt(const std::vector<char>& bytes, std::size_t table, std::size_t offset) {
  const std::size_t start = table + offset;
  if (start >= bytes.size()) throw std::runtime_error("ELF string out of bounds");
  return std::string(bytes.data() + start, strnlen(bytes.data() + start, bytes.size() - start));
}

}  // namespace

ElfDynamicInfo ReadElfDynamicInfo(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto header = At<Elf64_Ehdr>(bytes, 0);
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64) {
    throw std::runtime_error(path + " is not a 64-bit ELF file");
  }
  ElfDynamicInfo info;
  for (int i = 0; i < header.e_shnum; ++i) {
    const auto section = At<Elf64_Shdr>(bytes, header.e_shoff + i * sizeof(Elf64_Shdr));
    if (section.sh_type != SHT_DYNSYM && section.sh_type != SHT_DYNAMIC) continue;
    const auto strings = At<Elf64_Shdr>(bytes, header.e_shoff + section.sh_link * sizeof(Elf64_Shdr));
    if (section.sh_type == SHT_DYNSYM) {
      for (std::size_t off = 0; off + sizeof(Elf64_Sym) <= section.sh_size; off += sizeof(Elf64_Sym)) {
        const auto sym = At<Elf64_Sym>(bytes, section.sh_offset + off);
        const int bind = ELF64_ST_BIND(sym.st_info);
        if (sym.st_shndx == SHN_UNDEF || (bind != STB_GLOBAL && bind != STB_WEAK)) continue;
        info.exportedSymbols.push_back(StringAt(bytes, strings.sh_offset, sym.st_name));
      }
    } else {
      for (std::size_t off = 0; off + sizeof(Elf64_Dyn) <= section.sh_size; off += sizeof(Elf64_Dyn)) {
        const auto dyn = At<Elf64_Dyn>(bytes, section.sh_offset + off);
        if (dyn.d_tag == DT_NEEDED) {
          info.neededLibraries.push_back(StringAt(bytes, strings.sh_offset, dyn.d_un.d_val));
        }
      }
    }
  }
  return info;
}
