// Reads the PE headers, sections and import tables with bounds checks on
// every access, so that a damaged file fails the test instead of crashing it.
#include "pe_file.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

constexpr std::uint32_t ImportDirectory = 1;
constexpr std::uint32_t DelayImportDirectory = 13;
// More entries than any sane image has: the walk stops with an error.
constexpr int MaxEntries = 100000;

struct Section {
    std::uint32_t address, size, fileOffset, fileSize;
};

class Image {
  public:
    explicit Image(const std::string &bytes) : bytes_(bytes) {}

    std::uint32_t U16(std::size_t at) const { return Byte(at) | Byte(at + 1) << 8; }
    std::uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }
    std::uint64_t U64(std::size_t at) const { return U32(at) | std::uint64_t{U32(at + 4)} << 32; }

    // The file offset of an address relative to the image base.
    std::size_t Offset(std::uint32_t rva) const {
        for (const Section &s : sections) {
            if (rva >= s.address && rva - s.address < s.fileSize) {
                return std::size_t{s.fileOffset} + (rva - s.address);
            }
        }
        throw std::runtime_error("address " + std::to_string(rva) + " lies in no section");
    }

    std::string Text(std::uint32_t rva) const {
        std::string text;
        for (std::size_t at = Offset(rva);; ++at) {
            char c = static_cast<char>(Byte(at));
            if (c == '\0') {
                return text;
            }
            text += c;
        }
    }

    std::vector<Section> sections;

  private:
    std::uint32_t Byte(std::size_t at) const {
        if (at >= bytes_.size()) {
            throw std::runtime_error("read past the end of the file");
        }
        return static_cast<unsigned char>(bytes_[at]);
    }

    const std::string &bytes_;
};

// The functions of one name table (a list of thunks ending with zero).
std::vector<std::string> Functions(const Image &image, std::uint32_t tableRva, bool pe32) {
    std::vector<std::string> functions;
    const std::size_t width = pe32 ? 4 : 8;
    const std::uint64_t ordinalFlag = pe32 ? 0x80000000u : 0x8000000000000000u;
    for (int i = 0; i < MaxEntries; ++i) {
        std::size_t at = image.Offset(tableRva) + i * width;
        std::uint64_t thunk = pe32 ? image.U32(at) : image.U64(at);
        if (thunk == 0) {
            return functions;
        }
        if (thunk & ordinalFlag) {
            functions.push_back("#" + std::to_string(thunk & 0xFFFF));
        } else {
            // A hint (two bytes), then the name.
            functions.push_back(image.Text(static_cast<std::uint32_t>(thunk) + 2));
        }
    }
    throw std::runtime_error("name table without end");
}

void ReadImports(const Image &image, std::uint32_t tableRva, bool pe32, PeFile &pe) {
    for (int i = 0; i < MaxEntries; ++i) {
        std::size_t at = image.Offset(tableRva) + i * 20;
        std::uint32_t names = image.U32(at), nameRva = image.U32(at + 12), addresses = image.U32(at + 16);
        if (nameRva == 0) {
            return;
        }
        ImportedLibrary library;
        library.name = image.Text(nameRva);
        library.functions = Functions(image, names != 0 ? names : addresses, pe32);
        pe.imports.push_back(library);
    }
    throw std::runtime_error("import table without end");
}

void ReadDelayImports(const Image &image, std::uint32_t tableRva, bool pe32, std::uint64_t imageBase,
                      PeFile &pe) {
    for (int i = 0; i < MaxEntries; ++i) {
        std::size_t at = image.Offset(tableRva) + i * 32;
        std::uint32_t attributes = image.U32(at), nameRva = image.U32(at + 4), names = image.U32(at + 16);
        if (nameRva == 0) {
            return;
        }
        // Old-style entries hold addresses, not image-relative ones.
        if ((attributes & 1) == 0) {
            nameRva = static_cast<std::uint32_t>(nameRva - imageBase);
            names = static_cast<std::uint32_t>(names - imageBase);
        }
        ImportedLibrary library;
        library.name = image.Text(nameRva);
        library.delayed = true;
        library.functions = Functions(image, names, pe32);
        pe.imports.push_back(library);
    }
    throw std::runtime_error("delay-load table without end");
}

} // namespace

PeFile ReadPeFile(const std::string &bytes) {
    PeFile pe;
    try {
        Image image(bytes);
        if (image.U16(0) != 0x5A4D) {
            throw std::runtime_error("no MZ header");
        }
        const std::size_t header = image.U32(0x3C);
        if (image.U32(header) != 0x4550) {
            throw std::runtime_error("no PE signature");
        }
        const std::uint32_t sectionCount = image.U16(header + 6);
        const std::size_t optional = header + 24;
        const std::size_t firstSection = optional + image.U16(header + 20);
        const std::uint32_t magic = image.U16(optional);
        if (magic != 0x10B && magic != 0x20B) {
            throw std::runtime_error("unknown optional header");
        }
        pe.pe32 = magic == 0x10B;
        const std::uint64_t imageBase = pe.pe32 ? image.U32(optional + 28) : image.U64(optional + 24);
        pe.osMajor = static_cast<std::uint16_t>(image.U16(optional + 40));
        pe.osMinor = static_cast<std::uint16_t>(image.U16(optional + 42));
        pe.subsystemMajor = static_cast<std::uint16_t>(image.U16(optional + 48));
        pe.subsystemMinor = static_cast<std::uint16_t>(image.U16(optional + 50));
        const std::size_t directoryCountAt = optional + (pe.pe32 ? 92 : 108);
        const std::uint32_t directoryCount = image.U32(directoryCountAt);

        for (std::uint32_t i = 0; i < sectionCount; ++i) {
            const std::size_t at = firstSection + i * 40;
            image.sections.push_back(
                {image.U32(at + 12), image.U32(at + 8), image.U32(at + 20), image.U32(at + 16)});
        }
        auto directory = [&](std::uint32_t index) -> std::uint32_t {
            return index < directoryCount ? image.U32(directoryCountAt + 4 + index * 8) : 0;
        };
        if (std::uint32_t rva = directory(ImportDirectory)) {
            ReadImports(image, rva, pe.pe32, pe);
        }
        if (std::uint32_t rva = directory(DelayImportDirectory)) {
            ReadDelayImports(image, rva, pe.pe32, imageBase, pe);
        }
    } catch (const std::exception &e) {
        pe.error = e.what();
    }
    return pe;
}

std::string ReadWholeFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
