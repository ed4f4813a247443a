// ZIP archives: written stored (the pages and manifests quizpack packs are
// text that every platform's unzipper takes as they are), read stored or
// deflated, as authors' tools write them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quizpack {

struct ZipEntry {
    std::string path;  // UTF-8, parts separated by '/'
    std::vector<uint8_t> bytes;
};

// What ReadZip takes at most: files, bytes of one file, bytes of all.
constexpr size_t kZipMaxEntries = 4096;
constexpr size_t kZipMaxEntryBytes = 64u << 20;
constexpr size_t kZipMaxTotalBytes = 128u << 20;

// The archive of the entries in their order, each stored with its CRC-32,
// the same date (1 January 1980) and the UTF-8 flag on its name: the same
// files give the same bytes.
std::vector<uint8_t> ZipFiles(const std::vector<ZipEntry>& entries);

// The files of an archive in the order of its central directory, folders
// left out. False with a French `error` for an archive damaged, cut short,
// encrypted, split, in ZIP64, compressed other than stored or deflated, a
// CRC that does not match, a name absolute or climbing out ("..") or given
// twice, or sizes past the limits above.
bool ReadZip(const std::vector<uint8_t>& bytes, std::vector<ZipEntry>* entries, std::string* error);

}  // namespace quizpack
