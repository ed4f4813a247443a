// The resources of a Windows .exe (PE32+ for x86-64), read and written in
// portable C++: no Windows call, so that the same inputs give the same bytes
// on every platform.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quizpack {

// A resource type or name: a number, or a text (upper case, as resource
// compilers store names).
struct ResourceKey {
    bool named = false;
    uint16_t id = 0;
    std::u16string name;
    bool operator==(const ResourceKey& o) const {
        return named == o.named && (named ? name == o.name : id == o.id);
    }
    bool operator<(const ResourceKey& o) const;  // named ones first, as the tree keeps them
};

ResourceKey ResourceId(uint16_t id);
ResourceKey ResourceName(const std::string& ascii);

struct Resource {
    ResourceKey type, name;
    uint16_t language = 1033;
    std::vector<uint8_t> data;
};

// Every resource of the image, in the tree's order. False with a French
// `error` when the bytes are not a PE32+ for x86-64 or its tree is broken.
bool ReadResources(const std::vector<uint8_t>& exe, std::vector<Resource>* resources,
                   std::string* error);

// The stub with `added` beside its own resources (an added one replaces a
// resource of the same type, name and language): a new resource section
// right after the others in the file and in memory, the resource directory,
// SizeOfImage and the checksum made right. Bytes after the stub's last
// section (an overlay) are kept at the end of the file; a signature cannot
// be carried, so its certificate table is left out and `notes` says so.
// False with a French `error`, and `out` untouched, when the stub is not a
// PE32+ for x86-64, is cut short, or has no free room for one more section
// header.
bool WriteResources(const std::vector<uint8_t>& stub, const std::vector<Resource>& added,
                    std::vector<uint8_t>* out, std::string* error,
                    std::vector<std::string>* notes = nullptr);

// The image checksum as the loader computes it, the checksum field itself
// taken as 0.
uint32_t PeChecksum(const std::vector<uint8_t>& image);

}  // namespace quizpack
