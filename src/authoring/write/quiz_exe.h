// The quiz's .exe: the player stub with the quiz's resources added, checked
// by reading it back the way the player and Windows will.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "exe/pe_resources.h"
#include "judge/quiz_definition.h"

namespace quizpack {

// The stub is ours when it carries the player's two dialog templates and no
// quiz yet. False with a French `error` otherwise.
bool CheckPlayerStub(const std::vector<uint8_t>& stub, std::string* error);

// The stub with the resources added; `notes` says what of the stub could not
// be carried (its signature). False with a French `error`, and `exe`
// untouched, when the stub is refused.
bool MakeQuizExe(const std::vector<uint8_t>& stub, const std::vector<Resource>& resources,
                 std::vector<uint8_t>* exe, std::string* error,
                 std::vector<std::string>* notes = nullptr);

// Reads the .exe back: its resource tree parsed again, every resource the
// quiz added found with the same bytes, the records loaded by the player's
// own loader alike the quiz, the tables read by the player alike the quiz's,
// the header checksum right. False with a French `error` naming what differs.
bool VerifyQuizExe(const std::vector<uint8_t>& exe, const QuizDefinition& quiz,
                   const std::vector<Resource>& resources, std::string* error);

// Writes `exe` beside `path`, reads that file back (VerifyQuizExe), and only
// then moves it into place: on failure `path` is as it was. False with a
// French `error`.
bool WriteQuizExe(const std::string& path, const std::vector<uint8_t>& exe,
                  const QuizDefinition& quiz, const std::vector<Resource>& resources,
                  std::string* error);

}  // namespace quizpack
