// `quizpack new`: a folder of pictures made into a quiz source, a mosaic of
// one question per picture, each answer taken from its file's name.
#pragma once

#include <string>
#include <vector>

namespace quizpack {

// The answer a picture's file name gives: its stem, hyphens and underscores
// as spaces, the first letter a capital ("vache-normande.jpg" gives "Vache
// normande"); accents kept. UTF-8 in and out.
std::string AnswerOfFileName(const std::string& fileName);

// The pictures of a folder (GIF, JPEG, BMP, PNG by their ending), in the
// order of their names compared without case or accents.
std::vector<std::string> PicturesOfFolder(const std::string& folder);

// The source for `pictures` of the folder named `folderName`: a comment that
// says what to change, the executable's and the title's names from the
// folder's, a [mosaique], one question per picture.
std::string NewQuizSource(const std::string& folderName, const std::vector<std::string>& pictures);

// The executable's name a folder's name gives: its letters without accents,
// "quiz" when none is left.
std::string ExecutableOfFolder(const std::string& folderName);

// Writes `folder`/quiz.toml unless it is there (`kept` then says so). False
// with a French `error` when the folder holds too few or too many pictures
// or the file cannot be written.
bool WriteNewSource(const std::string& folder, std::string* sourcePath, bool* kept, size_t* pictures,
                    std::string* error);

}  // namespace quizpack
