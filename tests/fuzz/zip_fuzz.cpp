// ReadZip over arbitrary bytes, as quizpack reads an archive an author
// hands it: every file it gives has a safe name, given once, within the
// limits; and what it read, written again and read back, is the same.
#include <cstdlib>
#include <set>

#include "write/zip.h"

namespace {

// No part of the name, between slashes of either kind, is "..", and it does
// not start at a root or a drive.
bool SafeName(const std::string& name) {
    if (name.empty() || name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':')) return false;
    if (name.find('\0') != std::string::npos) return false;
    const std::string wrapped = "/" + name + "/";
    for (const char* climb : {"/../", "\\..\\", "/..\\", "\\../"})
        if (wrapped.find(climb) != std::string::npos) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<quizpack::ZipEntry> entries;
    std::string error;
    if (!quizpack::ReadZip(std::vector<uint8_t>(data, data + size), &entries, &error)) {
        if (error.empty() || !entries.empty()) std::abort();
        return 0;
    }
    std::set<std::string> names;
    size_t total = 0;
    for (const quizpack::ZipEntry& e : entries) {
        if (!SafeName(e.path)) std::abort();
        if (!names.insert(e.path).second || e.bytes.size() > quizpack::kZipMaxEntryBytes) std::abort();
        total += e.bytes.size();
    }
    if (total > quizpack::kZipMaxTotalBytes || entries.size() > quizpack::kZipMaxEntries) std::abort();
    std::vector<quizpack::ZipEntry> again;
    if (!quizpack::ReadZip(quizpack::ZipFiles(entries), &again, &error) || again.size() != entries.size()) std::abort();
    for (size_t i = 0; i < entries.size(); ++i)
        if (again[i].path != entries[i].path || again[i].bytes != entries[i].bytes) std::abort();
    return 0;
}
