#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qp40 {

// The names a mistyped name was most likely meant to be, for messages that help the user on:
// at most `limit` of `names`, nearest first (ties in table order), each once. Distance is the
// edit distance with case ignored; a name qualifies within a third of the word's length,
// rounded up (at most 3), so "Entr" finds "Enter" and "End", and "enter" finds "Enter".
std::vector<std::string_view> NearestNames(std::string_view word,
                                           std::span<const std::string_view> names,
                                           std::size_t limit = 3);

// The usage error for a name that `names` does not hold, naming the nearest ones:
// "'Entr' is no key name; did you mean Enter, End, Attr?". `what` says what it is not: "is no
// key name".
std::string UnknownName(std::string_view word, std::string_view what,
                        std::span<const std::string_view> names);

// The names of the key word table that the word lookup finds (entries 0..249 that have a name).
std::vector<std::string_view> KeyWordNames();
// The media key names, by media code.
std::vector<std::string_view> MediaKeyNames();
// The mouse names, by position.
std::vector<std::string_view> MouseNames();

}  // namespace qp40
