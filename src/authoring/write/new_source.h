// `quizpack new`: a folder of pictures made into a quiz source, a mosaic of
// one question per picture, each answer taken from its file's name.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quizpack {

// The pictures of a folder (GIF, JPEG, BMP, PNG by their ending), in the
// folder's order (picture_name.h); hidden files are not pictures.
std::vector<std::string> PicturesOfFolder(const std::string& folder);
// The pictures among file names (by their extension, hidden ones left out),
// in the order a folder shows them.
std::vector<std::string> PicturesAmong(std::vector<std::string> names);
// Why pictures so named, of the folder `name` (said as `folder`), make no
// quiz.toml: too few or too many, or names that give no answer or the same
// one, each on a line of its own; "" when they make one.
std::string NewSourceRefusal(const std::string& folder, const std::string& name, const std::vector<std::string>& pictures);

// True for a file Windows hides or keeps for the system (a hidden copy,
// a thumbnail cache); never on Linux, where the name alone hides a file.
bool HiddenBySystem(const std::filesystem::path& path);

// The source for `pictures` of the folder named `folderName`: a comment that
// says what to change, the executable's and the title's names from the
// folder's, a [mosaique], one question per picture.
std::string NewQuizSource(const std::string& folderName, const std::vector<std::string>& pictures);

// The executable's name a folder's name gives: its letters without accents,
// "quiz" when none is left.
std::string ExecutableOfFolder(const std::string& folderName);

// Writes `folder`/quiz.toml unless it is there (`kept` then says so). False
// with a French `error` when the folder holds too few or too many pictures,
// a name gives no answer or two give one (each said on a line of its own),
// or the file cannot be written.
bool WriteNewSource(const std::string& folder, std::string* sourcePath, bool* kept, size_t* pictures,
                    std::string* error);

}  // namespace quizpack
