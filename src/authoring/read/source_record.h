// The read stage: a quiz source, checked to be UTF-8 and TOML, as a tree of
// plain values that keeps the line of every one. The stages after it never
// see the TOML library.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "problem.h"

namespace quizpack {

struct SourceNode {
    enum class Kind { Text, Integer, Boolean, Array, Table, Other };
    Kind kind = Kind::Other;
    int line = 1;
    std::string text;       // a Text, in UTF-8
    int64_t integer = 0;    // an Integer
    bool boolean = false;   // a Boolean
    std::vector<SourceNode> items;                           // an Array's
    std::vector<std::pair<std::string, SourceNode>> fields;  // a Table's, in the parser's order

    // Made where the node is complete: clang would otherwise ask whether a
    // pair holding it can be destroyed while the node is still incomplete.
    SourceNode();
    SourceNode(const SourceNode&);
    SourceNode(SourceNode&&) noexcept;
    SourceNode& operator=(const SourceNode&);
    SourceNode& operator=(SourceNode&&) noexcept;
    ~SourceNode();

    // A table's field, or null.
    const SourceNode* Get(std::string_view key) const;
    // An array of one table or more, as [[question]] blocks make.
    bool IsArrayOfTables() const;
};

struct SourceRecord {
    std::string path;    // as given
    std::string folder;  // where its pictures are looked for, in UTF-8
    SourceNode root;     // the top-level table
};

// Reads the file. False, with the one problem that stops it (unreadable, not
// UTF-8, not TOML), when there is nothing to judge.
bool ReadSource(const std::string& path, SourceRecord* record, Problems* problems);

}  // namespace quizpack
