// What a picture's file name gives `quizpack new`: its answer, or why it
// gives none; and the order a folder's pictures come in. Pure rules over
// names, UTF-8 in and out.
#pragma once

#include <string>

namespace quizpack {

// The answer a file name gives, or the French problem (naming the file and
// what to do) when it gives none. Exactly one of the two is empty.
struct NameAnswer {
    std::string answer;
    std::string problem;
    // The answer with the hyphens the name had between two letters, which
    // became spaces ("rouge-gorge" gives "Rouge gorge", this "Rouge-gorge"):
    // the author may want them back. Empty when the name had none.
    std::string hyphened;
};

// The answer a picture's file name gives: its stem without a leading number
// that orders the files ("01-vache", "2_chat", "10 - Loup"; not "3 petits
// cochons") or a copy's marks ("vache (2)", "vache - Copie", "vache copy 2",
// "Copie de vache"), hyphens and underscores as spaces, the first letter a
// capital, accents kept. A name that is not UTF-8, holds a character CP1252
// cannot write or a control character, or leaves no letter to type gives a
// problem instead.
NameAnswer AnswerOfFileName(const std::string& fileName);

// The title a folder's name gives: hyphens and underscores as spaces, the
// first letter a capital; a problem as above when CP1252 cannot write it.
NameAnswer TitleOfFolderName(const std::string& folderName);

// True when `a` comes before `b` in a folder's order: without case or
// accents, a run of digits compared as a number ("2_chat" before "10 - Loup").
bool ComesBeforeInFolder(const std::string& a, const std::string& b);

// A name that begins with a dot is hidden: Linux and a Mac hide it (a Mac
// leaves "._chat.png" beside each picture it copies to a USB stick).
bool IsHiddenName(const std::string& fileName);

}  // namespace quizpack
