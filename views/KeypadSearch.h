// The incremental search index of a list: a stack of levels. Level 0 holds every word of every
// row's texts; each typed key pushes a level with the entries of the one below whose key form
// (the folded word) has that key's letter at the position of the key. Backspace pops a level.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/RecordId.h"

namespace pellucard {

class KeypadSearch {
 public:
  // One word of a record's texts, as written and in key form.
  struct SearchEntry {
    RecordId recordId = 0;
    std::u16string_view word;
    std::u16string_view key;
  };

  // The letters a phone key stands for, followed by the digit itself; "" for keys without an
  // entry ('0' and anything else). Key '1' matches any character and has no letters here.
  static std::u16string_view keypadLetters(char16_t key);

  // The words one text added to level 0.
  struct TextRef {
    std::uint32_t firstEntry = 0;
    std::uint32_t count = 0;
  };

  // Drops every level and word.
  void clear();
  // Adds the words of a text to level 0 (created on the first text): the text is trimmed of
  // spaces, ended with one space and cut at every space, empty pieces included. Empty texts
  // add nothing.
  TextRef addText(RecordId recordId, std::u16string_view text);
  // Adds the words of a text added before once more, for another record (a friend's name
  // shared by all of the friend's items is folded and stored once).
  void addTextAgain(RecordId recordId, TextRef text);
  // Room for this many words and characters, to spare regrowing while the index is built.
  void reserve(std::size_t words, std::size_t characters);

  int levelCount() const { return static_cast<int>(levels_.size()); }
  // The number of typed keys.
  int typedKeys() const { return levels_.empty() ? 0 : levelCount() - 1; }

  // Applies one typed character (already translated by the device key map): a digit '1' to '9'
  // or a letter narrows, backspace (8) pops a level, 3 pops down to level 0. True when the rows
  // must be rebuilt from the top level; nothing happens without a level.
  bool type(char16_t ch);

  std::size_t topSize() const { return levels_.empty() ? 0 : levels_.back().size(); }
  SearchEntry topEntry(std::size_t i) const { return entry(levels_.back()[i]); }
  std::size_t wordCount() const { return entries_.size(); }

 private:
  struct Stored {
    RecordId recordId;
    std::uint32_t offset;  // into words_ and keys_, which run in parallel
    std::uint32_t length;
  };

  SearchEntry entry(std::uint32_t index) const;
  // Pushes the entries of the top level whose key has a character at position n that `match`
  // accepts; false when the top level is empty (nothing is pushed then).
  template <class Match>
  bool narrow(Match&& match);

  std::u16string words_;
  std::u16string keys_;
  std::vector<Stored> entries_;
  // Each level lists indexes into entries_; level 0 lists them all.
  std::vector<std::vector<std::uint32_t>> levels_;
  std::size_t reservedWords_ = 0;
};

}  // namespace pellucard
