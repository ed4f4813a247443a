#include "sections/section.h"

namespace quizpack {

const std::vector<const SectionKind*>& SectionKinds() {
    static const std::vector<const SectionKind*> kinds = {&kWordSearchSection, &kMosaicSection};
    return kinds;
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
