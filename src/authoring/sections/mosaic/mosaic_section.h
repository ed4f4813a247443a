// [mosaique]: a quiz made of the author's pictures, one per question. The
// section judges the pictures and their number, reads each at the size of
// its tile; once nothing at all is wrong it composes the puzzle (numbered
// tiles on the background colour), marks each tile with its answer, and
// gives each question its tile as place.
#pragma once

#include <vector>

#include "sections/mosaic/mosaic_layout.h"
#include "sections/section.h"

namespace quizpack {

struct MosaicPlan {
    MosaicLayout layout;
    std::vector<RgbImage> pictures;  // each scaled to fit its tile, proportions kept
};

extern const SectionKind kMosaicSection;

// The plan of a quiz made with [mosaique]; null for any other quiz.
const MosaicPlan* MosaicPlanOf(const QuizDefinition& quiz);

// The puzzle of a plan: each picture centred in its tile on `ground`, the
// question's number in the tile's corner.
bool ComposeMosaic(const MosaicPlan& plan, Rgb ground, RgbImage* puzzle, std::string* error);

}  // namespace quizpack
