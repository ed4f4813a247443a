#include "write/zip.h"

#include <set>

#include "pictures/raster.h"

namespace quizpack {

namespace {

constexpr uint32_t kLocalSignature = 0x04034B50, kCentralSignature = 0x02014B50, kEndSignature = 0x06054B50;
constexpr size_t kLocalSize = 30, kCentralSize = 46, kEndSize = 22;
constexpr uint16_t kUtf8Name = 0x0800, kEncrypted = 0x0001;
constexpr uint16_t kStored = 0, kDeflated = 8;
// MS-DOS date of 1 January 1980, the first a ZIP can say; time 00:00.
constexpr uint16_t kFixedDate = (0 << 9) | (1 << 5) | 1, kFixedTime = 0;

void Put16(std::vector<uint8_t>* out, uint32_t value) {
    out->push_back(uint8_t(value));
    out->push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>* out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Get32(const uint8_t* p) { return uint32_t(Get16(p)) | uint32_t(Get16(p + 2)) << 16; }

// The fields a local header and a central record share, from "version
// needed" to the name's length.
void PutCommon(std::vector<uint8_t>* out, const ZipEntry& entry, uint32_t crc) {
    Put16(out, 10);  // version 1.0: stored files
    Put16(out, kUtf8Name);
    Put16(out, kStored);
    Put16(out, kFixedTime);
    Put16(out, kFixedDate);
    Put32(out, crc);
    Put32(out, uint32_t(entry.bytes.size()));
    Put32(out, uint32_t(entry.bytes.size()));
    Put16(out, uint32_t(entry.path.size()));
}

// A name an unzipper could put outside the folder it unpacks into, or no
// name at all.
bool UnsafeName(const std::string& name) {
    if (name.empty() || name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':')) return true;
    size_t start = 0;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size() && name[i] == '\0') return true;
        if (i == name.size() || name[i] == '/' || name[i] == '\\') {
            if (name.compare(start, i - start, "..") == 0) return true;
            start = i + 1;
        }
    }
    return false;
}

// The end record: the last signature of one, from the end back over a
// comment of 65,535 bytes at most.
bool FindEnd(const std::vector<uint8_t>& bytes, size_t* at) {
    if (bytes.size() < kEndSize) return false;
    const size_t lowest = bytes.size() - kEndSize > 0xFFFF ? bytes.size() - kEndSize - 0xFFFF : 0;
    for (size_t p = bytes.size() - kEndSize + 1; p-- > lowest;) {
        if (Get32(&bytes[p]) == kEndSignature && p + kEndSize + Get16(&bytes[p + 20]) == bytes.size()) {
            *at = p;
            return true;
        }
    }
    return false;
}

bool Fail(std::string* error, const std::string& why) {
    *error = why;
    return false;
}

// One file of the central record at `at`: its local header, its data.
// Files lie before the directory, which runs from `directoryAt` to
// `directoryEnd`; `total` counts the bytes of the files read so far.
bool ReadEntry(const std::vector<uint8_t>& bytes, size_t at, size_t directoryAt, size_t directoryEnd, size_t* next,
               size_t* total, ZipEntry* entry, bool* folder, std::string* error) {
    if (directoryEnd - at < kCentralSize || Get32(&bytes[at]) != kCentralSignature)
        return Fail(error, "le répertoire de l'archive est abîmé");
    const uint8_t* c = &bytes[at];
    const uint16_t flags = Get16(c + 8), method = Get16(c + 10);
    const uint32_t crc = Get32(c + 16), packed = Get32(c + 20), size = Get32(c + 24);
    const size_t nameLength = Get16(c + 28), extra = Get16(c + 30), comment = Get16(c + 32);
    const uint32_t local = Get32(c + 42);
    if (directoryEnd - at - kCentralSize < nameLength + extra + comment)
        return Fail(error, "le répertoire de l'archive est abîmé");
    entry->path.assign(reinterpret_cast<const char*>(c + kCentralSize), nameLength);
    *next = at + kCentralSize + nameLength + extra + comment;
    if (flags & kEncrypted) return Fail(error, "le fichier « " + entry->path + " » de l'archive est chiffré");
    if (packed == 0xFFFFFFFF || size == 0xFFFFFFFF || local == 0xFFFFFFFF)
        return Fail(error, "l'archive est au format ZIP64, que quizpack ne lit pas");
    if (method != kStored && method != kDeflated)
        return Fail(error, "le fichier « " + entry->path + " » de l'archive est compressé d'une façon que quizpack ne lit pas");
    if (UnsafeName(entry->path))
        return Fail(error, "le nom « " + entry->path + " » de l'archive sortirait du dossier");
    if (size > kZipMaxEntryBytes || packed > kZipMaxEntryBytes)
        return Fail(error, "le fichier « " + entry->path + " » de l'archive est trop grand");
    if (size > kZipMaxTotalBytes - *total) return Fail(error, "l'archive est trop grande une fois ouverte");
    *total += size;
    // Deflate gives 1,032 bytes at most for each byte it reads: a larger
    // size is a lie, refused before room is made for it.
    if ((method == kStored && packed != size) || (method == kDeflated && size > uint64_t(packed) * 1032 + 8))
        return Fail(error, "l'archive est abîmée");
    *folder = entry->path.back() == '/';
    if (*folder && size != 0) return Fail(error, "l'archive est abîmée");
    // The local header comes before the directory; its name and extra field
    // may differ in length from the directory's.
    if (local > directoryAt || directoryAt - local < kLocalSize || Get32(&bytes[local]) != kLocalSignature)
        return Fail(error, "l'archive est abîmée");
    const size_t data = size_t(local) + kLocalSize + Get16(&bytes[local + 26]) + Get16(&bytes[local + 28]);
    if (data > directoryAt || directoryAt - data < packed) return Fail(error, "l'archive est coupée");
    if (method == kStored) {
        entry->bytes.assign(bytes.begin() + data, bytes.begin() + data + packed);
    } else if (!InflateRaw(bytes.data() + data, packed, size, &entry->bytes)) {
        return Fail(error, "le fichier « " + entry->path + " » de l'archive est abîmé");
    }
    if (Crc32(entry->bytes.data(), entry->bytes.size()) != crc)
        return Fail(error, "le fichier « " + entry->path + " » de l'archive est abîmé (CRC)");
    return true;
}

}  // namespace

std::vector<uint8_t> ZipFiles(const std::vector<ZipEntry>& entries) {
    std::vector<uint8_t> zip, directory;
    for (const ZipEntry& entry : entries) {
        const uint32_t crc = Crc32(entry.bytes.data(), entry.bytes.size());
        const uint32_t offset = uint32_t(zip.size());
        Put32(&zip, kLocalSignature);
        PutCommon(&zip, entry, crc);
        Put16(&zip, 0);  // no extra field
        zip.insert(zip.end(), entry.path.begin(), entry.path.end());
        zip.insert(zip.end(), entry.bytes.begin(), entry.bytes.end());
        Put32(&directory, kCentralSignature);
        Put16(&directory, 20);  // made by: version 2.0, MS-DOS attributes
        PutCommon(&directory, entry, crc);
        for (int field = 0; field < 4; ++field) Put16(&directory, 0);  // extra, comment, disk, internal
        Put32(&directory, 0);                                          // external attributes
        Put32(&directory, offset);
        directory.insert(directory.end(), entry.path.begin(), entry.path.end());
    }
    const uint32_t directoryAt = uint32_t(zip.size());
    zip.insert(zip.end(), directory.begin(), directory.end());
    Put32(&zip, kEndSignature);
    Put16(&zip, 0);
    Put16(&zip, 0);
    Put16(&zip, uint32_t(entries.size()));
    Put16(&zip, uint32_t(entries.size()));
    Put32(&zip, uint32_t(directory.size()));
    Put32(&zip, directoryAt);
    Put16(&zip, 0);  // no comment
    return zip;
}

bool ReadZip(const std::vector<uint8_t>& bytes, std::vector<ZipEntry>* entries, std::string* error) {
    entries->clear();
    size_t end = 0;
    if (!FindEnd(bytes, &end)) return Fail(error, "ce n'est pas une archive ZIP, ou elle est coupée");
    const uint8_t* e = &bytes[end];
    const size_t count = Get16(e + 10), directorySize = Get32(e + 12), directoryAt = Get32(e + 16);
    if (Get16(e + 4) != 0 || Get16(e + 6) != 0 || Get16(e + 8) != count)
        return Fail(error, "l'archive est en plusieurs morceaux, que quizpack ne lit pas");
    if (count == 0xFFFF || directorySize == 0xFFFFFFFF || directoryAt == 0xFFFFFFFF)
        return Fail(error, "l'archive est au format ZIP64, que quizpack ne lit pas");
    if (count > kZipMaxEntries) return Fail(error, "l'archive a trop de fichiers");
    if (directoryAt > end || end - directoryAt < directorySize) return Fail(error, "le répertoire de l'archive est abîmé");
    std::set<std::string> seen;
    size_t total = 0;
    for (size_t i = 0, at = directoryAt; i < count; ++i) {
        ZipEntry entry;
        bool folder = false;
        if (!ReadEntry(bytes, at, directoryAt, directoryAt + directorySize, &at, &total, &entry, &folder, error)) {
            entries->clear();
            return false;
        }
        if (!seen.insert(entry.path).second) {
            entries->clear();
            return Fail(error, "le nom « " + entry.path + " » est deux fois dans l'archive");
        }
        if (!folder) entries->push_back(std::move(entry));
    }
    return true;
}

}  // namespace quizpack
