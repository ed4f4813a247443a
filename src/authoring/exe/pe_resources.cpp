#include "exe/pe_resources.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

namespace quizpack {

namespace {

uint16_t Get16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
    return Get16(b, at) | static_cast<uint32_t>(Get16(b, at + 2)) << 16;
}
void Put16(std::vector<uint8_t>* b, size_t at, uint32_t v) {
    (*b)[at] = static_cast<uint8_t>(v);
    (*b)[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>* b, size_t at, uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}
uint32_t AlignUp(uint32_t v, uint32_t to) { return (v + to - 1) / to * to; }

constexpr size_t kSectionHeader = 40;
constexpr uint32_t kResourceCharacteristics = 0x40000040;  // initialised data, readable

struct Section {
    uint32_t virtualSize, virtualAddress, rawSize, rawPointer;
};

// The headers of a PE32+ for x86-64, bounds checked.
struct PeHeaders {
    size_t coff = 0, optional = 0, sections = 0;
    uint16_t sectionCount = 0;
    uint32_t sectionAlignment = 0, fileAlignment = 0, sizeOfHeaders = 0;
    std::vector<Section> table;

    size_t CheckSumAt() const { return optional + 64; }
    size_t ResourceDirectoryAt() const { return optional + 112 + 2 * 8; }
    size_t CertificateDirectoryAt() const { return optional + 112 + 4 * 8; }

    // The file offset of `size` bytes at `rva`, or false when they do not lie
    // inside one section's raw data.
    bool Offset(uint32_t rva, uint32_t size, size_t fileSize, size_t* at) const {
        for (const Section& s : table) {
            // Raw data past the VirtualSize is never mapped.
            const uint32_t mapped = s.virtualSize ? std::min(s.virtualSize, s.rawSize) : s.rawSize;
            if (rva < s.virtualAddress || rva - s.virtualAddress >= mapped) continue;
            const uint64_t start = uint64_t(s.rawPointer) + (rva - s.virtualAddress);
            if (uint64_t(rva - s.virtualAddress) + size > mapped || start + size > fileSize)
                return false;
            *at = static_cast<size_t>(start);
            return true;
        }
        return false;
    }
};

bool ReadHeaders(const std::vector<uint8_t>& b, PeHeaders* h, std::string* error) {
    auto refuse = [&](const char* why) {
        *error = why;
        return false;
    };
    if (b.size() < 0x40 || b[0] != 'M' || b[1] != 'Z') return refuse("ce n'est pas un programme Windows (pas d'en-tête MZ)");
    const uint32_t pe = Get32(b, 0x3C);
    if (uint64_t(pe) + 24 + 112 > b.size() || std::memcmp(&b[pe], "PE\0\0", 4) != 0)
        return refuse("ce n'est pas un programme Windows (pas d'en-tête PE)");
    h->coff = pe + 4;
    if (Get16(b, h->coff) != 0x8664) return refuse("ce programme n'est pas fait pour Windows x86-64");
    h->sectionCount = Get16(b, h->coff + 2);
    h->optional = h->coff + 20;
    const uint16_t optionalSize = Get16(b, h->coff + 16);
    if (Get16(b, h->optional) != 0x20B) return refuse("ce programme n'est pas un PE32+ (64 bits)");
    if (optionalSize < 112 + 16 * 8 || Get32(b, h->optional + 108) < 16)
        return refuse("l'en-tête du programme n'a pas de répertoire des ressources");
    h->sectionAlignment = Get32(b, h->optional + 32);
    h->fileAlignment = Get32(b, h->optional + 36);
    h->sizeOfHeaders = Get32(b, h->optional + 60);
    // FileAlignment is a power of two from 512 to 64 K, SectionAlignment no less.
    const auto powerOfTwo = [](uint32_t v) { return v && !(v & (v - 1)); };
    if (!powerOfTwo(h->fileAlignment) || h->fileAlignment < 512 || h->fileAlignment > 0x10000 ||
        !powerOfTwo(h->sectionAlignment) || h->sectionAlignment < h->fileAlignment)
        return refuse("l'en-tête du programme est abîmé (alignements)");
    h->sections = h->optional + optionalSize;
    if (h->sections + kSectionHeader * h->sectionCount > b.size())
        return refuse("la table des sections du programme est tronquée");
    for (uint16_t i = 0; i < h->sectionCount; ++i) {
        const size_t at = h->sections + kSectionHeader * i;
        const Section s{Get32(b, at + 8), Get32(b, at + 12), Get32(b, at + 16), Get32(b, at + 20)};
        // A section without raw data (.bss) has no place in the file at all.
        if (s.rawSize && uint64_t(s.rawPointer) + s.rawSize > b.size())
            return refuse("le programme est tronqué (une section sort du fichier)");
        h->table.push_back(s);
    }
    if (h->sizeOfHeaders > b.size()) return refuse("l'en-tête du programme est tronqué");
    return true;
}

// Where the stub's sections end, in the file and in memory.
uint64_t RawEnd(const PeHeaders& h) {
    uint64_t end = h.sizeOfHeaders;
    for (const Section& s : h.table)
        if (s.rawSize) end = std::max(end, uint64_t(s.rawPointer) + s.rawSize);
    return end;
}

// The loader maps each section over its VirtualSize (its raw size when that
// is 0), and wants the next one right after it, rounded to the alignment.
uint64_t VirtualEnd(const PeHeaders& h) {
    uint64_t end = h.sizeOfHeaders;  // no section lies over the headers
    for (const Section& s : h.table)
        end = std::max(end, uint64_t(s.virtualAddress) + (s.virtualSize ? s.virtualSize : s.rawSize));
    return end;
}

bool ReadTree(const std::vector<uint8_t>& b, const PeHeaders& h, size_t base, uint32_t size,
              uint32_t offset, int level, Resource path, std::vector<Resource>* out, std::string* error,
              int* budget) {
    auto broken = [&] {
        *error = "l'arbre des ressources du programme est abîmé";
        return false;
    };
    if (--*budget < 0 || offset > size || size - offset < 16) return broken();
    const size_t dir = base + offset;
    const uint32_t entries = uint32_t(Get16(b, dir + 12)) + Get16(b, dir + 14);
    if ((size - offset - 16) / 8 < entries) return broken();
    for (uint32_t e = 0; e < entries; ++e) {
        const size_t entry = dir + 16 + 8 * e;
        const uint32_t nameField = Get32(b, entry), target = Get32(b, entry + 4);
        ResourceKey key;
        if (nameField & 0x80000000u) {
            const uint32_t at = nameField & 0x7FFFFFFF;
            if (at > size || size - at < 2) return broken();
            const uint16_t length = Get16(b, base + at);
            if ((size - at - 2) / 2 < length) return broken();
            key.named = true;
            for (uint16_t c = 0; c < length; ++c) key.name += static_cast<char16_t>(Get16(b, base + at + 2 + 2 * c));
        } else {
            key.id = static_cast<uint16_t>(nameField);
        }
        Resource here = path;
        if (level == 0) here.type = key;
        if (level == 1) here.name = key;
        if (level == 2) here.language = key.id;
        const bool subdirectory = target & 0x80000000u;
        if (level < 2) {
            if (!subdirectory ||
                !ReadTree(b, h, base, size, target & 0x7FFFFFFF, level + 1, here, out, error, budget))
                return subdirectory ? false : broken();
            continue;
        }
        if (subdirectory || target > size || size - target < 16) return broken();
        const uint32_t rva = Get32(b, base + target), length = Get32(b, base + target + 4);
        size_t at = 0;
        if (length && !h.Offset(rva, length, b.size(), &at)) return broken();
        here.data.assign(b.begin() + at, b.begin() + at + length);
        out->push_back(std::move(here));
    }
    return true;
}

bool ReadWith(const std::vector<uint8_t>& exe, const PeHeaders& h, std::vector<Resource>* out,
              std::string* error) {
    out->clear();
    const uint32_t rva = Get32(exe, h.ResourceDirectoryAt()), size = Get32(exe, h.ResourceDirectoryAt() + 4);
    if (!rva || !size) return true;  // no resources at all
    size_t base = 0;
    if (!h.Offset(rva, size, exe.size(), &base)) {
        *error = "le répertoire des ressources du programme sort de ses sections";
        return false;
    }
    int budget = 100000;  // directories visited: a looping tree stops
    return ReadTree(exe, h, base, size, 0, 0, {}, out, error, &budget);
}

// Where everything of a resource section goes, from its start: the three
// levels of directories, the data entries, the names, the data.
struct SectionLayout {
    std::vector<ResourceKey> types;
    std::map<size_t, std::vector<ResourceKey>> names;                    // by type index
    std::map<std::pair<size_t, size_t>, std::vector<size_t>> languages;  // resource indexes
    std::vector<uint32_t> nameDir;
    std::map<std::pair<size_t, size_t>, uint32_t> languageDir;
    uint32_t dataEntries = 0;
    std::map<std::u16string, uint32_t> strings;
    std::vector<uint32_t> dataAt;
    uint32_t size = 0;
};

// The layout for `resources`, sorted and unique.
SectionLayout LayOutSection(const std::vector<Resource>& resources) {
    SectionLayout l;
    for (size_t r = 0; r < resources.size(); ++r) {
        const Resource& res = resources[r];
        if (l.types.empty() || !(l.types.back() == res.type)) l.types.push_back(res.type);
        auto& list = l.names[l.types.size() - 1];
        if (list.empty() || !(list.back() == res.name)) list.push_back(res.name);
        l.languages[{l.types.size() - 1, list.size() - 1}].push_back(r);
    }
    auto dirSize = [](size_t entries) { return uint32_t(16 + 8 * entries); };
    uint32_t at = dirSize(l.types.size());
    l.nameDir.resize(l.types.size());
    for (size_t t = 0; t < l.types.size(); ++t) l.nameDir[t] = at, at += dirSize(l.names[t].size());
    for (const auto& [key, list] : l.languages) l.languageDir[key] = at, at += dirSize(list.size());
    l.dataEntries = at;
    at += uint32_t(16 * resources.size());
    for (const Resource& r : resources)
        for (const ResourceKey* key : {&r.type, &r.name})
            if (key->named) l.strings[key->name] = 0;
    for (auto& [text, offset] : l.strings) offset = at, at += uint32_t(2 + 2 * text.size());
    l.dataAt.resize(resources.size());
    for (size_t r = 0; r < resources.size(); ++r) {
        at = AlignUp(at, 8);
        l.dataAt[r] = at;
        at += uint32_t(resources[r].data.size());
    }
    l.size = AlignUp(at, 8);
    return l;
}

// The resource section for `resources` (sorted, unique) placed at `rva`.
std::vector<uint8_t> BuildSection(const std::vector<Resource>& resources, uint32_t rva) {
    SectionLayout l = LayOutSection(resources);
    std::vector<uint8_t> out(l.size, 0);
    auto directory = [&](uint32_t offset, const std::vector<ResourceKey>& keys, auto target) {
        const auto namedCount = std::count_if(keys.begin(), keys.end(), [](const ResourceKey& k) { return k.named; });
        Put16(&out, offset + 12, uint32_t(namedCount));
        Put16(&out, offset + 14, uint32_t(keys.size() - namedCount));
        for (size_t i = 0; i < keys.size(); ++i) {
            const size_t entry = offset + 16 + 8 * i;
            Put32(&out, entry, keys[i].named ? 0x80000000u | l.strings[keys[i].name] : keys[i].id);
            Put32(&out, entry + 4, target(i));
        }
    };
    directory(0, l.types, [&](size_t t) { return 0x80000000u | l.nameDir[t]; });
    size_t entry = 0;
    for (size_t t = 0; t < l.types.size(); ++t) {
        directory(l.nameDir[t], l.names[t], [&](size_t n) { return 0x80000000u | l.languageDir[{t, n}]; });
        for (size_t n = 0; n < l.names[t].size(); ++n) {
            const std::vector<size_t>& list = l.languages[{t, n}];
            std::vector<ResourceKey> ids;
            for (size_t r : list) ids.push_back(ResourceId(resources[r].language));
            directory(l.languageDir[{t, n}], ids, [&](size_t i) {
                const uint32_t e = l.dataEntries + uint32_t(16 * entry++);
                Put32(&out, e, rva + l.dataAt[list[i]]);
                Put32(&out, e + 4, uint32_t(resources[list[i]].data.size()));
                return e;
            });
        }
    }
    for (const auto& [text, offset] : l.strings) {
        Put16(&out, offset, uint32_t(text.size()));
        for (size_t c = 0; c < text.size(); ++c) Put16(&out, offset + 2 + 2 * c, text[c]);
    }
    for (size_t r = 0; r < resources.size(); ++r)
        std::copy(resources[r].data.begin(), resources[r].data.end(), out.begin() + l.dataAt[r]);
    return out;
}

bool SameSlot(const Resource& a, const Resource& b) {
    return a.type == b.type && a.name == b.name && a.language == b.language;
}

bool SlotLess(const Resource& a, const Resource& b) {
    if (!(a.type == b.type)) return a.type < b.type;
    if (!(a.name == b.name)) return a.name < b.name;
    return a.language < b.language;
}

}  // namespace

bool ResourceKey::operator<(const ResourceKey& o) const {
    if (named != o.named) return named;  // names come before numbers
    return named ? name < o.name : id < o.id;
}

ResourceKey ResourceId(uint16_t id) { return {false, id, {}}; }

ResourceKey ResourceName(const std::string& ascii) {
    ResourceKey key{true, 0, {}};
    for (char c : ascii) key.name += static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - 32 : c);
    return key;
}

bool ReadResources(const std::vector<uint8_t>& exe, std::vector<Resource>* resources,
                   std::string* error) {
    PeHeaders headers;
    return ReadHeaders(exe, &headers, error) && ReadWith(exe, headers, resources, error);
}

uint32_t PeChecksum(const std::vector<uint8_t>& image) {
    PeHeaders headers;
    std::string ignored;
    const size_t skip = ReadHeaders(image, &headers, &ignored) ? headers.CheckSumAt() : SIZE_MAX;
    uint64_t sum = 0;
    for (size_t i = 0; i < image.size(); i += 2) {
        if (i == skip || i == skip + 2) continue;
        sum += i + 1 < image.size() ? Get16(image, i) : image[i];
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint32_t>(sum + image.size());
}

namespace {

// What follows the stub's last section in its file: an overlay, which the
// .exe keeps at its end, and a certificate table, which cannot be carried
// (it signs the stub's bytes, not the quiz's).
struct Tail {
    uint64_t start = 0;                       // where the sections end
    uint64_t certificate = 0, certificateSize = 0;
    std::vector<uint8_t> overlay;             // the tail without the certificate
};

bool ReadTail(const std::vector<uint8_t>& stub, const PeHeaders& h, Tail* tail, std::string* error) {
    tail->start = RawEnd(h);
    tail->certificate = Get32(stub, h.CertificateDirectoryAt());
    tail->certificateSize = Get32(stub, h.CertificateDirectoryAt() + 4);
    if (tail->certificateSize &&
        (tail->certificate < tail->start || tail->certificate + tail->certificateSize > stub.size())) {
        *error = "la table des certificats du programme sort de son fichier";
        return false;
    }
    for (uint64_t at = tail->start; at < stub.size(); ++at)
        if (!tail->certificateSize || at < tail->certificate ||
            at >= tail->certificate + tail->certificateSize)
            tail->overlay.push_back(stub[size_t(at)]);
    return true;
}

// The 40 bytes after the section table take the new section's header: room
// that must be there, and free.
bool RoomForOneMoreSection(const std::vector<uint8_t>& stub, const PeHeaders& h, std::string* error) {
    uint32_t firstRaw = h.sizeOfHeaders;
    for (const Section& s : h.table)
        if (s.rawSize) firstRaw = std::min(firstRaw, s.rawPointer);
    const size_t header = h.sections + kSectionHeader * h.sectionCount;
    if (header + kSectionHeader > firstRaw) {
        *error = "l'en-tête du programme n'a pas la place d'une section de plus";
        return false;
    }
    if (std::any_of(stub.begin() + header, stub.begin() + header + kSectionHeader,
                    [](uint8_t b) { return b != 0; })) {
        *error = "l'en-tête du programme a des octets après sa table des sections";
        return false;
    }
    return true;
}

// The new resource section's header after the others; the stub's own
// resource section stays, unused: its name says so.
void AddSectionHeader(std::vector<uint8_t>* image, const PeHeaders& h, const Section& added) {
    for (uint16_t i = 0; i < h.sectionCount; ++i) {
        const size_t at = h.sections + kSectionHeader * i;
        if (std::memcmp(&(*image)[at], ".rsrc\0\0\0", 8) == 0) std::memcpy(&(*image)[at], ".oldrsrc", 8);
    }
    const size_t header = h.sections + kSectionHeader * h.sectionCount;
    std::memcpy(&(*image)[header], ".rsrc\0\0\0", 8);
    Put32(image, header + 8, added.virtualSize);
    Put32(image, header + 12, added.virtualAddress);
    Put32(image, header + 16, added.rawSize);
    Put32(image, header + 20, added.rawPointer);
    Put32(image, header + 36, kResourceCharacteristics);
    Put16(image, h.coff + 2, h.sectionCount + 1u);
}

std::vector<Resource> MergedResources(std::vector<Resource> resources, const std::vector<Resource>& added) {
    for (const Resource& r : added) {
        auto same = std::find_if(resources.begin(), resources.end(), [&](const Resource& o) { return SameSlot(o, r); });
        if (same != resources.end()) *same = r;
        else resources.push_back(r);
    }
    std::stable_sort(resources.begin(), resources.end(), SlotLess);
    return resources;
}

}  // namespace

bool WriteResources(const std::vector<uint8_t>& stub, const std::vector<Resource>& added,
                    std::vector<uint8_t>* out, std::string* error, std::vector<std::string>* notes) {
    PeHeaders h;
    std::vector<Resource> resources;
    Tail tail;
    if (!ReadHeaders(stub, &h, error) || !ReadWith(stub, h, &resources, error) ||
        !ReadTail(stub, h, &tail, error) || !RoomForOneMoreSection(stub, h, error))
        return false;
    resources = MergedResources(std::move(resources), added);
    const uint64_t end = VirtualEnd(h);
    uint64_t data = 0;
    for (const Resource& r : resources) data += r.data.size() + 8;
    // The new section and its image size must stay within 32-bit addresses.
    if (h.sectionCount == 0xFFFF || end + h.sectionAlignment + data + (64u << 10) +
                                            32 * resources.size() > 0x7FFFFFFF ||
        stub.size() + data + (1u << 20) > 0x7FFFFFFF) {
        *error = "le programme est trop grand pour recevoir ces ressources";
        return false;
    }
    const uint32_t rva = AlignUp(uint32_t(end), h.sectionAlignment);
    const std::vector<uint8_t> section = BuildSection(resources, rva);
    // Right after the stub's sections, never inside its headers.
    const uint32_t rawPointer = AlignUp(uint32_t(tail.start), h.fileAlignment);
    const uint32_t rawSize = AlignUp(uint32_t(section.size()), h.fileAlignment);

    std::vector<uint8_t> image(stub.begin(), stub.begin() + tail.start);
    image.resize(rawPointer, 0);
    image.insert(image.end(), section.begin(), section.end());
    image.resize(size_t(rawPointer) + rawSize, 0);
    image.insert(image.end(), tail.overlay.begin(), tail.overlay.end());
    AddSectionHeader(&image, h, {uint32_t(section.size()), rva, rawSize, rawPointer});
    // COFF symbols (a stub not stripped) sit in the overlay and move with it.
    const uint32_t symbols = Get32(image, h.coff + 8);
    if (symbols >= tail.start && symbols < stub.size() &&
        (!tail.certificateSize || symbols < tail.certificate))
        Put32(&image, h.coff + 8, uint32_t(symbols - tail.start + rawPointer + rawSize));
    Put32(&image, h.optional + 8, Get32(image, h.optional + 8) + rawSize);  // SizeOfInitializedData
    Put32(&image, h.optional + 56, AlignUp(rva + uint32_t(section.size()), h.sectionAlignment));
    Put32(&image, h.ResourceDirectoryAt(), rva);
    Put32(&image, h.ResourceDirectoryAt() + 4, uint32_t(section.size()));
    if (tail.certificateSize) {
        Put32(&image, h.CertificateDirectoryAt(), 0);
        Put32(&image, h.CertificateDirectoryAt() + 4, 0);
        if (notes) notes->push_back("la signature du lecteur est retirée : signez le .exe du quiz");
    }
    Put32(&image, h.CheckSumAt(), PeChecksum(image));
    *out = std::move(image);
    return true;
}

}  // namespace quizpack
