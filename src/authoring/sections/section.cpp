#include "sections/section.h"

namespace quizpack {

#define QUIZ_SECTION_KIND(record) extern const SectionKind record;
#include "sections/kinds.inc"
#undef QUIZ_SECTION_KIND

const std::vector<const SectionKind*>& SectionKinds() {
#define QUIZ_SECTION_KIND(record) &record,
    static const std::vector<const SectionKind*> kinds = {
#include "sections/kinds.inc"
    };
#undef QUIZ_SECTION_KIND
    return kinds;
}

const std::vector<std::string>& SectionKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> all;
        for (const SectionKind* kind : SectionKinds()) all.push_back(kind->key);
        return all;
    }();
    return keys;
}

const SectionKind* SectionOf(const SourceNode& root, const SourceNode** node) {
    for (const SectionKind* kind : SectionKinds())
        if (const SourceNode* found = root.Get(kind->key)) {
            *node = found;
            return kind;
        }
    return nullptr;
}

}  // namespace quizpack
