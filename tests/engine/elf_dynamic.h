// Reads what the dynamic loader sees of a shared library: the names of its
// defined dynamic symbols and the libraries it needs. Plain ELF64 reading, so
// the tests depend on no outside tool.
#ifndef ORVENDA_TESTS_ENGINE_ELF_DYNAMIC_H
#define ORVENDA_TESTS_ENGINE_ELF_DYNAMIC_H

#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>

namespace halvik::test {

struct ElfDynamic {
    std::set<std::string> definedSymbols;   // functions and objects the library offers
    std::set<std::string> neededLibraries;  // its DT_NEEDED entries
};

class ElfImage {
public:
    explicit ElfImage(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) throw std::runtime_error("cannot open " + path);
        bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    template <typename T>
    T at(std::size_t offset) const {
        if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T)) throw std::runtime_error("truncated ELF");
        T value;
        std::memcpy(&value, bytes_.data() + offset, sizeof(T));
        return value;
    }
    std::string stringAt(std::size_t offset) const {
        if (offset >= bytes_.size()) throw std::runtime_error("string outside the file");
        const char* start = bytes_.data() + offset;
        return std::string(start, strnlen(start, bytes_.size() - offset));
    }
    std::size_t size() const { return bytes_.size(); }

private:
    std::string bytes_;
};

inline ElfDynamic readElfDynamic(const std::string& path) {
    const ElfImage image(path);
    const auto header = image.at<Elf64_Ehdr>(0);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64) {
        throw std::runtime_error(path + " is not a 64-bit ELF file");
    }
    ElfDynamic result;
    for (unsigned i = 0; i < header.e_shnum; ++i) {
        const auto section = image.at<Elf64_Shdr>(header.e_shoff + i * std::size_t{header.e_shentsize});
        if (section.sh_type != SHT_DYNSYM && section.sh_type != SHT_DYNAMIC) continue;
        const auto strings = image.at<Elf64_Shdr>(header.e_shoff + section.sh_link * std::size_t{header.e_shentsize});
        if (section.sh_type == SHT_DYNSYM) {
            for (std::size_t off = sizeof(Elf64_Sym); off + sizeof(Elf64_Sym) <= section.sh_size;
                 off += sizeof(Elf64_Sym)) {
                const auto symbol = image.at<Elf64_Sym>(section.sh_offset + off);
                const unsigned type = ELF64_ST_TYPE(symbol.st_info);
                if (symbol.st_shndx == SHN_UNDEF || type == STT_SECTION || type == STT_FILE) continue;
                result.definedSymbols.insert(image.stringAt(strings.sh_offset + symbol.st_name));
            }
        } else {
            for (std::size_t off = 0; off + sizeof(Elf64_Dyn) <= section.sh_size; off += sizeof(Elf64_Dyn)) {
                const auto entry = image.at<Elf64_Dyn>(section.sh_offset + off);
                if (entry.d_tag == DT_NULL) break;
                if (entry.d_tag == DT_NEEDED)
                    result.neededLibraries.insert(image.stringAt(strings.sh_offset + entry.d_un.d_val));
            }
        }
    }
    return result;
}

}  // namespace halvik::test

#endif
