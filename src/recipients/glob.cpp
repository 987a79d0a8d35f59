#include "recipients/glob.h"

#include "text/sjis.h"

namespace zv {

namespace {

size_t CharAt(std::string_view s, size_t pos) {
  return IsSjisLeadByte(s[pos]) && pos + 1 < s.size() ? 2 : 1;
}

bool IsWildcard(char c) {
  return c == '*' || c == '?';
}

// One character of a pattern: a wildcard, or a literal character at [start, start + size).
struct Token {
  char wildcard = 0;
  size_t start = 0, size = 0;
};

std::vector<Token> Tokens(std::string_view pattern) {
  std::vector<Token> tokens;
  for (size_t i = 0; i < pattern.size();) {
    const size_t n = CharAt(pattern, i);
    tokens.push_back({IsWildcard(pattern[i]) ? pattern[i] : '\0', i, n});
    i += n;
  }
  return tokens;
}

struct Anchor {
  bool found = false;
  bool fromEnd = false;
  uint32_t chars = 0;  // characters between the anchor and its end of the text
  size_t start = 0, bytes = 0;
};

// The longest literal run among the characters before the first star (from the start) and
// after the last one (from the end).
Anchor FindAnchor(const std::vector<Token>& tokens) {
  Anchor best;
  auto consider = [&](bool fromEnd, uint32_t chars, size_t start, size_t bytes) {
    if (bytes > best.bytes) best = {true, fromEnd, chars, start, bytes};
  };
  // From the start: runs until the first star.
  for (size_t i = 0; i < tokens.size() && tokens[i].wildcard != '*';) {
    if (tokens[i].wildcard) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < tokens.size() && !tokens[j].wildcard) ++j;
    consider(false, static_cast<uint32_t>(i), tokens[i].start,
             tokens[j - 1].start + tokens[j - 1].size - tokens[i].start);
    i = j;
  }
  // From the end: runs back to the last star.
  for (size_t j = tokens.size(); j > 0 && tokens[j - 1].wildcard != '*';) {
    if (tokens[j - 1].wildcard) {
      --j;
      continue;
    }
    size_t i = j;
    while (i > 0 && !tokens[i - 1].wildcard) --i;
    consider(true, static_cast<uint32_t>(tokens.size() - j), tokens[i].start,
             tokens[j - 1].start + tokens[j - 1].size - tokens[i].start);
    j = i;
  }
  return best;
}

}  // namespace

// The usual greedy match: on a mismatch, the last star takes one more character and the rest
// of the pattern is tried again from there.
bool GlobMatches(std::string_view pattern, std::string_view text) {
  size_t p = 0, t = 0;
  size_t starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = ++p;
      starT = t;
      continue;
    }
    if (p < pattern.size()) {
      const size_t pn = CharAt(pattern, p), tn = CharAt(text, t);
      if (pattern[p] == '?') {
        ++p;
        t += tn;
        continue;
      }
      if (pn == tn && pattern.substr(p, pn) == text.substr(t, tn)) {
        p += pn;
        t += tn;
        continue;
      }
    }
    if (starP == std::string_view::npos) return false;
    p = starP;
    starT += CharAt(text, starT);
    t = starT;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool HasWildcard(std::string_view pattern) {
  for (size_t i = 0; i < pattern.size(); i += CharAt(pattern, i)) {
    if (IsWildcard(pattern[i])) return true;
  }
  return false;
}

void GlobSet::Add(std::string_view pattern) {
  const uint32_t number = static_cast<uint32_t>(texts_.size());
  if (patterns_.Add(pattern, number) != number) return;
  texts_.emplace_back(pattern);
  const std::vector<Token> tokens = Tokens(pattern);
  const Anchor anchor = FindAnchor(tokens);
  if (anchor.found) {
    const auto key = std::make_tuple(anchor.fromEnd, anchor.chars, anchor.bytes);
    auto [it, fresh] = placeIndex_.try_emplace(key, places_.size());
    if (fresh) {
      Place& p = places_.emplace_back();
      p.fromEnd = anchor.fromEnd;
      p.chars = anchor.chars;
      p.bytes = anchor.bytes;
    }
    Place& place = places_[it->second];
    const uint32_t group = place.anchors.Add(pattern.substr(anchor.start, anchor.bytes),
                                             static_cast<uint32_t>(place.groups.size()));
    if (group == place.groups.size()) place.groups.emplace_back();
    place.groups[group].push_back(number);
    return;
  }
  uint32_t questions = 0;
  bool star = false, literal = false;
  for (const Token& t : tokens) {
    star = star || t.wildcard == '*';
    questions += t.wildcard == '?' ? 1 : 0;
    literal = literal || !t.wildcard;
  }
  if (literal) {
    floating_.push_back(number);
  } else if (star) {
    if (questions < leastWithStar_) leastWithStar_ = questions;
  } else {
    if (exactCounts_.size() <= questions) exactCounts_.resize(questions + 1);
    exactCounts_[questions] = true;
  }
}

bool GlobSet::TryPlace(const Place& place, std::string_view text, const std::vector<size_t>* starts,
                       size_t count) const {
  if (place.chars > count) return false;
  // The byte where the anchor would start.
  size_t at;
  if (place.fromEnd) {
    const size_t end = starts ? (*starts)[count - place.chars] : text.size() - place.chars;
    if (end < place.bytes) return false;
    at = end - place.bytes;
  } else {
    at = starts ? (*starts)[place.chars] : place.chars;
    if (text.size() - at < place.bytes) return false;
  }
  const uint32_t group = place.anchors.Find(text.substr(at, place.bytes));
  if (group == TextIndex::kNone) return false;
  for (const uint32_t p : place.groups[group]) {
    if (GlobMatches(texts_[p], text)) return true;
  }
  return false;
}

bool GlobSet::Matches(std::string_view text) const {
  if (empty()) return false;
  // Characters are bytes in an ASCII text; otherwise where each one starts, and the end.
  std::vector<size_t> starts;
  bool ascii = true;
  for (const char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (!ascii) {
    for (size_t i = 0; i < text.size(); i += CharAt(text, i)) starts.push_back(i);
    starts.push_back(text.size());
  }
  const size_t count = ascii ? text.size() : starts.size() - 1;
  for (const Place& place : places_) {
    if (TryPlace(place, text, ascii ? nullptr : &starts, count)) return true;
  }
  for (const uint32_t p : floating_) {
    if (GlobMatches(texts_[p], text)) return true;
  }
  return count >= leastWithStar_ || (count < exactCounts_.size() && exactCounts_[count]);
}

}  // namespace zv
