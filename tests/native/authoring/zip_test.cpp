// ZIP archives: what quizpack writes, zlib and Python's zipfile read as they
// wrote it; what others write (deflated, with folders) read back; each damage,
// each unsafe name and each side of each limit refused with its reason.
#include <gtest/gtest.h>
#include <zlib.h>

#include "write/zip.h"

namespace quizpack {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

uint32_t At32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

void Set16(std::vector<uint8_t>* b, size_t at, uint32_t v) {
    (*b)[at] = uint8_t(v);
    (*b)[at + 1] = uint8_t(v >> 8);
}

void Set32(std::vector<uint8_t>* b, size_t at, uint32_t v) {
    Set16(b, at, v & 0xFFFF);
    Set16(b, at + 2, v >> 16);
}

std::vector<uint8_t> Patched(std::vector<uint8_t> b, size_t at, uint32_t value, int width) {
    width == 16 ? Set16(&b, at, value) : Set32(&b, at, value);
    return b;
}

// Raw deflate by zlib, apart from the inflater under test.
std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY), Z_OK);
    std::vector<uint8_t> out(deflateBound(&z, uLong(data.size())));
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = uInt(data.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// One stored archive turned deflated: the data and the sizes of its first
// file replaced, local header and directory alike.
std::vector<uint8_t> DeflatedZip(const std::vector<ZipEntry>& files) {
    std::vector<uint8_t> zip;
    std::vector<std::vector<uint8_t>> locals, centrals;
    for (const ZipEntry& f : files) {
        std::vector<uint8_t> one = ZipFiles({{f.path, {}}});
        const std::vector<uint8_t> packed = Deflate(f.bytes);
        const uint32_t crc = uint32_t(crc32(0, f.bytes.data(), uInt(f.bytes.size())));
        std::vector<uint8_t> local(one.begin(), one.begin() + 30 + f.path.size());
        std::vector<uint8_t> central(one.begin() + local.size(), one.begin() + local.size() + 46 + f.path.size());
        for (auto [header, at] : {std::pair{&local, 0}, std::pair{&central, 2}}) {
            Set16(header, at + 8, 8);
            Set32(header, at + 14, crc);
            Set32(header, at + 18, uint32_t(packed.size()));
            Set32(header, at + 22, uint32_t(f.bytes.size()));
        }
        Set32(&central, 42, uint32_t(zip.size()));
        zip.insert(zip.end(), local.begin(), local.end());
        zip.insert(zip.end(), packed.begin(), packed.end());
        centrals.push_back(central);
    }
    std::vector<uint8_t> end = ZipFiles({});
    Set32(&end, 16, uint32_t(zip.size()));
    uint32_t size = 0;
    for (const auto& c : centrals) {
        zip.insert(zip.end(), c.begin(), c.end());
        size += uint32_t(c.size());
    }
    Set16(&end, 8, uint32_t(files.size()));
    Set16(&end, 10, uint32_t(files.size()));
    Set32(&end, 12, size);
    zip.insert(zip.end(), end.begin(), end.end());
    return zip;
}

TEST(Zip, TheSameFilesGiveTheSameStoredBytesWithCrcDateAndUtf8Names) {
    const std::vector<ZipEntry> files = {{"imsmanifest.xml", Bytes("<manifest/>")},
                                         {"page/\xC3\xA9t\xC3\xA9.html", Bytes("123456789")},
                                         {"vide", {}}};
    const std::vector<uint8_t> zip = ZipFiles(files);
    EXPECT_EQ(zip, ZipFiles(files));
    // The second local header: stored, UTF-8 flag, 1 January 1980, and the
    // CRC-32 check value of "123456789".
    const size_t second = 30 + 15 + 11;
    EXPECT_EQ(At32(zip, second), 0x04034B50u);
    EXPECT_EQ(At32(zip, second + 6), 0x00000800u);  // flags, then method 0
    EXPECT_EQ(At32(zip, second + 10), 0x00210000u);  // time 00:00, date 1980-01-01
    EXPECT_EQ(At32(zip, second + 14), 0xCBF43926u);
    EXPECT_EQ(At32(zip, second + 18), 9u);
    std::vector<ZipEntry> read;
    std::string error;
    ASSERT_TRUE(ReadZip(zip, &read, &error)) << error;
    ASSERT_EQ(read.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(read[i].path, files[i].path);
        EXPECT_EQ(read[i].bytes, files[i].bytes);
    }
}

TEST(Zip, AnArchiveOfPythonsZipfileIsReadDeflatedFoldersLeftOut) {
    // zipfile.ZipFile(..., 'w'): the folder "dossier/" stored, "dossier/été.txt"
    // ("Bonjour ! " 20 times) and an empty "vide.txt" deflated.
    const char* hex =
        "504B0304140000000000000021000000000000000000000000000800000064" "6F73736965722F504B030414000008080000002100A472EC"
        "CC0F000000C80000001100000064" "6F73736965722FC3A974C3A92E7478" "7473CACFCBCA2F2D525054701AD22C00504B03041400000008"
        "000000210000000000020000000000000008000000766964652E7478740300504B01021403140000000000000021000000000000000000"
        "0000000008000000000000000000000080010000000064" "6F73736965722F504B01021403140000080800000021" "00A472ECCC0F000000"
        "C800000011000000000000000000000080012600000064" "6F73736965722FC3A974C3A92E747874504B010214031400000008000000"
        "2100000000000200000000000000080000000000000000000000800164000000766964652E747874504B050600000000030003"
        "00AB0000008C0000000000";
    std::vector<uint8_t> zip;
    for (const char* p = hex; p[0] && p[1]; p += 2) zip.push_back(uint8_t(std::stoi(std::string(p, 2), nullptr, 16)));
    ASSERT_EQ(zip.size(), 333u);
    std::vector<ZipEntry> read;
    std::string error;
    ASSERT_TRUE(ReadZip(zip, &read, &error)) << error;
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].path, "dossier/\xC3\xA9t\xC3\xA9.txt");
    std::string twenty;
    for (int i = 0; i < 20; ++i) twenty += "Bonjour ! ";
    EXPECT_EQ(read[0].bytes, Bytes(twenty));
    EXPECT_EQ(read[1].path, "vide.txt");
    EXPECT_TRUE(read[1].bytes.empty());
}

TEST(Zip, EachDamageAndEachUnsafeNameIsRefusedWithItsReason) {
    const std::vector<uint8_t> good = ZipFiles({{"a.txt", Bytes("abc")}});
    // One file "a.txt" of 3 bytes: local header at 0, directory at 38, end at 89.
    const auto patched = [&](size_t at, uint32_t value, int width) { return Patched(good, at, value, width); };
    std::vector<uint8_t> cut(good.begin(), good.end() - 1), trailing = good;
    trailing.push_back(0);
    struct Case {
        const char* what;
        std::vector<uint8_t> zip;
        const char* reason;  // a part of the French error
    } cases[] = {
        // what                      archive                                          reason
        {"empty",                    {},                                              "pas une archive ZIP"},
        {"end cut by a byte",        cut,                                             "pas une archive ZIP"},
        {"a byte past the end",      trailing,                                        "pas une archive ZIP"},
        {"CRC",                      patched(38 + 16, 0x12345678, 32),                "(CRC)"},
        {"encrypted",                patched(38 + 8, 0x0801, 16),                     "chiffré"},
        {"bzip2",                    patched(38 + 10, 12, 16),                        "d'une façon"},
        {"ZIP64 size",               patched(38 + 24, 0xFFFFFFFF, 32),                "ZIP64"},
        {"ZIP64 count",              patched(89 + 10, 0xFFFF, 16),                    "plusieurs morceaux"},
        {"split",                    patched(89 + 4, 1, 16),                          "plusieurs morceaux"},
        {"stored sizes differ",      patched(38 + 20, 2, 32),                         "abîmée"},
        {"data past the directory",  Patched(patched(38 + 20, 4, 32), 38 + 24, 4, 32), "coupée"},
        {"local header elsewhere",   patched(38 + 42, 1, 32),                         "abîmée"},
        {"local name runs long",     patched(26, 9, 16),                              "coupée"},
        {"directory too long",       patched(89 + 12, 47 + 5, 32),                    "répertoire"},
        {"name past the directory",  patched(38 + 28, 6, 16),                         "répertoire"},
        {"counts differ",            patched(89 + 10, 2, 16),                         "plusieurs morceaux"},
        {"a second file missing",    Patched(patched(89 + 10, 2, 16), 89 + 8, 2, 16), "répertoire"},
        {"absolute",                 ZipFiles({{"/etc/passwd", {}}}),                 "sortirait"},
        {"backslash absolute",       ZipFiles({{"\\x", {}}}),                         "sortirait"},
        {"drive",                    ZipFiles({{"C:x", {}}}),                         "sortirait"},
        {"climbing",                 ZipFiles({{"../x", {}}}),                        "sortirait"},
        {"climbing inside",          ZipFiles({{"a/../../x", {}}}),                   "sortirait"},
        {"climbing, Windows",        ZipFiles({{"a\\..\\x", {}}}),                    "sortirait"},
        {"only ..",                  ZipFiles({{"..", {}}}),                          "sortirait"},
        {"no name",                  ZipFiles({{"", {}}}),                            "sortirait"},
        {"NUL in the name",          ZipFiles({{std::string("a\0b", 3), {}}}),        "sortirait"},
        {"twice",                    ZipFiles({{"a", {}}, {"a", {}}}),                "deux fois"},
        {"folder with bytes",        ZipFiles({{"d/", Bytes("x")}}),                  "abîmée"},
        {"entry size over",          patched(38 + 24, uint32_t(kZipMaxEntryBytes + 1), 32), "trop grand"},
        {"entry size at the limit",  patched(38 + 24, uint32_t(kZipMaxEntryBytes), 32), "abîmée"},  // past the size check
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ZipEntry> read = {{"stale", {}}};
        std::string error;
        EXPECT_FALSE(ReadZip(c.zip, &read, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_TRUE(read.empty());
    }
    // Names that only look like climbing are files.
    std::vector<ZipEntry> read;
    std::string error;
    EXPECT_TRUE(ReadZip(ZipFiles({{"a..b/..c/d..", {}}, {"d/", {}}}), &read, &error)) << error;
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].path, "a..b/..c/d..");
}

TEST(Zip, DeflatedFilesAreReadToTheirLimitsAndNotOneByteOver) {
    std::vector<ZipEntry> read;
    std::string error;
    // Files: at the count, one over.
    std::vector<ZipEntry> many;
    for (size_t i = 0; i < kZipMaxEntries; ++i) many.push_back({std::to_string(i), {}});
    EXPECT_TRUE(ReadZip(ZipFiles(many), &read, &error)) << error;
    EXPECT_EQ(read.size(), kZipMaxEntries);
    many.push_back({"one more", {}});
    EXPECT_FALSE(ReadZip(ZipFiles(many), &read, &error));
    EXPECT_NE(error.find("trop de fichiers"), std::string::npos) << error;
    // Bytes: two files that fill all of it, then one byte more.
    const std::vector<uint8_t> half(kZipMaxTotalBytes / 2, 'q');
    ASSERT_EQ(half.size(), kZipMaxEntryBytes);
    EXPECT_TRUE(ReadZip(DeflatedZip({{"a", half}, {"b", half}}), &read, &error)) << error;
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1].bytes, half);
    EXPECT_FALSE(ReadZip(DeflatedZip({{"a", half}, {"b", half}, {"c", {1}}}), &read, &error));
    EXPECT_NE(error.find("trop grande une fois ouverte"), std::string::npos) << error;
    // A size the data cannot give, or bytes that are not deflate.
    std::vector<uint8_t> zip = DeflatedZip({{"a", Bytes("abcabcabc")}});
    std::vector<uint8_t> longer = zip, damaged = zip;
    Set32(&longer, 22, 10);
    Set32(&longer, At32(zip, zip.size() - 6) + 24, 10);
    EXPECT_FALSE(ReadZip(longer, &read, &error));
    EXPECT_NE(error.find("abîmé"), std::string::npos) << error;
    damaged[31] = 0xFF;  // block type 3, which deflate has not
    EXPECT_FALSE(ReadZip(damaged, &read, &error));
    EXPECT_NE(error.find("abîmé"), std::string::npos) << error;
    EXPECT_TRUE(ReadZip(zip, &read, &error)) << error;
    // Deflate's ratio, 1,032 bytes and 8 for every byte of data at most: at
    // it the data are inflated (and give less), one over they are not.
    for (uint32_t over : {0u, 1u}) {
        Set32(&zip, At32(zip, zip.size() - 6) + 24, At32(zip, 18) * 1032 + 8 + over);
        EXPECT_FALSE(ReadZip(zip, &read, &error));
        EXPECT_EQ(error.find("fichier \xC2\xAB a") == std::string::npos, over == 1) << error;
    }
}

}  // namespace
}  // namespace quizpack
