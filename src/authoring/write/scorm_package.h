// The write stage for `quizpack scorm`: the quiz as a SCORM 1.2 content
// package, the archive a learning platform imports. It holds the manifest
// (imsmanifest.xml: one organization, one item, one SCO) and the very page
// `quizpack web` writes, whose script speaks to the platform when it finds
// one; nothing else.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "exe/pe_resources.h"
#include "judge/quiz_definition.h"

namespace quizpack {

// The page's name inside the package: the executable's name when it is
// plain ASCII (a platform serves it under an address), else quiz.html.
std::string ScormPageName(const QuizDefinition& quiz);

// The manifest naming the quiz's title and version, the page its launch file.
std::string ScormManifest(const QuizDefinition& quiz, const std::string& pageName);

// The package's bytes: the manifest and the page.
std::vector<uint8_t> MakeScormPackage(const QuizDefinition& quiz, const std::string& html);

// An XML element, as the manifest's reader sees it: names with their
// prefixes, entities replaced.
struct XmlElement {
    std::string name, text;
    std::map<std::string, std::string> attributes;
    std::vector<XmlElement> children;
};
// The document's root element; false with a French `error` for anything
// but well-formed XML (without a DTD).
bool ReadXml(const std::string& text, XmlElement* root, std::string* error);

// What a package read back says.
struct ScormContents {
    std::string title, version, pageName, page;
};
// Reads a package as a platform does: the archive, its manifest (SCORM 1.2,
// its default organization's first item, the SCO resource it names), the
// launch page in the archive. False with a French `error`.
bool ReadScormPackage(const std::vector<uint8_t>& zip, ScormContents* contents, std::string* error);

// Writes the package beside `path`, reads it back (the manifest names the
// quiz's title and version, the page carries the resources' very bytes),
// then moves it into place.
bool WriteScormPackage(const std::string& path, const QuizDefinition& quiz, const std::vector<uint8_t>& zip,
                       const std::vector<Resource>& resources, std::string* error);

// Whether a package read back is this quiz's: title, version, the page's bytes.
bool PackageCarriesTheQuiz(const std::vector<uint8_t>& zip, const QuizDefinition& quiz,
                           const std::vector<Resource>& resources, std::string* error);

}  // namespace quizpack
