// The words of a word search: what is judged of them before any search.
#include <algorithm>
#include <set>

#include "sections/word_search/word_search.h"

namespace quizpack {

namespace {

std::string Quoted(const std::string& word) { return "« " + word + " »"; }

std::string Reversed(std::string s) {
    std::reverse(s.begin(), s.end());
    return s;
}

int LongestReading(const WordSearchRequest& request) {
    int longest = 0;
    for (int d : request.directions) {
        const Direction& dir = kDirections[d];
        int n = dir.dx == 0 ? request.rows : dir.dy == 0 ? request.columns
                                                          : std::min(request.rows, request.columns);
        longest = std::max(longest, n);
    }
    return longest;
}

}  // namespace

std::vector<WordProblem> JudgeWords(const WordSearchRequest& request) {
    std::vector<WordProblem> problems;
    const auto& words = request.words;
    const int longest = LongestReading(request);
    for (size_t w = 0; w < words.size(); ++w) {
        const int index = static_cast<int>(w);
        const std::string& word = words[w];
        if (word.size() < 2) {
            problems.push_back({index, word.empty() ? "aucune lettre à placer dans la grille"
                                                    : Quoted(word) + " n'a qu'une lettre : on la lirait partout"});
            continue;
        }
        if (static_cast<int>(word.size()) > longest) {
            problems.push_back({index, Quoted(word) + " a " + std::to_string(word.size()) +
                                           " lettres ; la grille en aligne au plus " +
                                           std::to_string(longest) + " dans les directions permises"});
            continue;
        }
        // Named once: against the first longer word that holds it, or the
        // first earlier one of its own length.
        for (size_t v = 0; v < words.size(); ++v) {
            if (v == w) continue;
            const std::string& other = words[v];
            const bool ahead = other.find(word) != std::string::npos;
            const bool back = !ahead && other.find(Reversed(word)) != std::string::npos;
            if (!(ahead || back) || !(other.size() > word.size() || v < w)) continue;
            const std::string question = "question " + std::to_string(v + 1);
            std::string message;
            if (other == word)
                message = Quoted(word) + " est déjà la réponse de la " + question +
                          " : on le lirait deux fois";
            else if (other.size() == word.size())
                message = Quoted(word) + " est la réponse de la " + question + " (" + Quoted(other) +
                          ") à l'envers : on le lirait deux fois";
            else
                message = Quoted(word) + " se lit" + (back ? " à l'envers" : "") + " dans " +
                          Quoted(other) + " (" + question + ") : on le lirait deux fois";
            problems.push_back({index, message});
            break;
        }
    }
    return problems;
}

std::string CrowdedGrid(const WordSearchRequest& request) {
    // Through a cell pass at most one line of each orientation the grid
    // allows; words on one line share cells only where an end of one is an
    // end of the next, so each word adds at most its longest such overlap.
    std::set<std::pair<int, int>> orientations;
    for (int d : request.directions) {
        const Direction& dir = kDirections[d];
        orientations.insert(dir.dx < 0 || (dir.dx == 0 && dir.dy < 0) ? std::pair{-dir.dx, -dir.dy}
                                                                       : std::pair{dir.dx, dir.dy});
    }
    long letters = 0, overlaps = 0;
    for (size_t w = 0; w < request.words.size(); ++w) {
        const std::string& word = request.words[w];
        letters += static_cast<long>(word.size());
        size_t best = 0;
        for (size_t v = 0; v < request.words.size(); ++v) {
            if (v == w) continue;
            for (const std::string& a : {word, Reversed(word)})
                for (const std::string& b : {request.words[v], Reversed(request.words[v])})
                    for (size_t k = std::min(a.size(), b.size()) - 1; k > best; --k)
                        if (a.compare(a.size() - k, k, b, 0, k) == 0) {
                            best = k;
                            break;
                        }
        }
        overlaps += static_cast<long>(best);
    }
    const long cells = static_cast<long>(request.columns) * request.rows;
    const long room = cells * static_cast<long>(orientations.size()) + overlaps;
    if (letters <= room) return {};
    return "les mots comptent " + std::to_string(letters) + " lettres ; même croisés au mieux, " +
           "la grille de " + std::to_string(request.columns) + " x " + std::to_string(request.rows) +
           " en porte " + std::to_string(room) + " au plus dans les directions permises : " +
           "agrandissez la grille, permettez plus de directions ou retirez des mots";
}

}  // namespace quizpack
