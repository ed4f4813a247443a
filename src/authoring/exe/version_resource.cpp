#include "exe/version_resource.h"

namespace quizpack {

namespace {

// One node of a version block: length, value length, type, key, value,
// children, each part starting on a 32-bit boundary.
class VersionNode {
public:
    VersionNode(const std::u16string& key, bool text) {
        Put16(0);  // length, filled in by Finish
        Put16(0);  // value length
        Put16(text ? 1 : 0);
        PutText(key);
        Align();
    }
    void TextValue(const std::u16string& value) {
        PutText(value);
        SetValueLength(static_cast<uint16_t>(value.size() + 1));  // in characters, NUL included
    }
    void BinaryValue(const std::vector<uint8_t>& value) {
        bytes_.insert(bytes_.end(), value.begin(), value.end());
        SetValueLength(static_cast<uint16_t>(value.size()));
    }
    void Child(const std::vector<uint8_t>& child) {
        Align();
        bytes_.insert(bytes_.end(), child.begin(), child.end());
    }
    std::vector<uint8_t> Finish() {
        // The length counts no padding after the last part.
        bytes_[0] = static_cast<uint8_t>(bytes_.size());
        bytes_[1] = static_cast<uint8_t>(bytes_.size() >> 8);
        return bytes_;
    }

private:
    void Put16(uint16_t v) {
        bytes_.push_back(static_cast<uint8_t>(v));
        bytes_.push_back(static_cast<uint8_t>(v >> 8));
    }
    void PutText(const std::u16string& t) {
        for (char16_t c : t) Put16(c);
        Put16(0);
    }
    void Align() {
        while (bytes_.size() % 4) bytes_.push_back(0);
    }
    void SetValueLength(uint16_t length) {
        bytes_[2] = static_cast<uint8_t>(length);
        bytes_[3] = static_cast<uint8_t>(length >> 8);
    }
    std::vector<uint8_t> bytes_;
};

void Append32(std::vector<uint8_t>* out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> VersionResource(const VersionStrings& strings,
                                     const std::vector<uint16_t>& numbers) {
    uint16_t n[4] = {0, 0, 0, 0};
    for (size_t i = 0; i < numbers.size() && i < 4; ++i) n[i] = numbers[i];
    std::vector<uint8_t> fixed;
    Append32(&fixed, 0xFEEF04BD);               // signature
    Append32(&fixed, 0x00010000);               // structure version 1.0
    for (int twice = 0; twice < 2; ++twice) {   // file version, then product version
        Append32(&fixed, uint32_t(n[0]) << 16 | n[1]);
        Append32(&fixed, uint32_t(n[2]) << 16 | n[3]);
    }
    Append32(&fixed, 0x3F);        // flags mask
    Append32(&fixed, 0);           // flags
    Append32(&fixed, 0x00040004);  // VOS_NT_WINDOWS32
    Append32(&fixed, 1);           // VFT_APP
    Append32(&fixed, 0);           // subtype
    Append32(&fixed, 0);           // date, high
    Append32(&fixed, 0);           // date, low

    VersionNode table(u"040904E4", true);  // US English, code page 1252
    const std::pair<const char16_t*, const std::u16string*> texts[] = {
        {u"CompanyName", &strings.company},     {u"FileDescription", &strings.product},
        {u"FileVersion", &strings.version},     {u"OriginalFilename", &strings.fileName},
        {u"ProductName", &strings.product},     {u"ProductVersion", &strings.version},
        {u"Comments", &strings.comments},
    };
    for (const auto& [key, value] : texts) {
        VersionNode entry(key, true);
        entry.TextValue(*value);
        table.Child(entry.Finish());
    }
    VersionNode stringInfo(u"StringFileInfo", true);
    stringInfo.Child(table.Finish());

    VersionNode translation(u"Translation", false);
    translation.BinaryValue({0x09, 0x04, 0xE4, 0x04});
    VersionNode varInfo(u"VarFileInfo", true);
    varInfo.Child(translation.Finish());

    VersionNode root(u"VS_VERSION_INFO", false);
    root.BinaryValue(fixed);
    root.Child(stringInfo.Finish());
    root.Child(varInfo.Finish());
    return root.Finish();
}

}  // namespace quizpack
