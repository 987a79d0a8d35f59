// The data of the benchmark command (scripts/bench.sh): Shift-JIS mails of 1 MB and 10 MB, the
// 1,000 words of 50 patterns, settings files of 50 and 10,000 patterns, written to the folder
// named by ZV_QUALITY_DATA (build/bench-data by default) when they are not there yet.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "check/patterns.h"
#include "settings/ini_store.h"
#include "text/lines.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zv::bench {

inline constexpr size_t kWordsPerPattern = 20;  // 10 forbidden, 10 required
inline constexpr size_t kCheckPatterns = 50;
inline constexpr size_t kStorePatterns = 10000;

inline std::string DataFolder() {
  const char* folder = std::getenv("ZV_QUALITY_DATA");
  return (folder && *folder) ? std::string(folder) + "/" : std::string("build/bench-data/");
}

// The whole file in one read, as the plug-in reads its settings file.
inline std::string ReadFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return {};
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::fseek(f, 0, SEEK_SET);
  std::string text(size > 0 ? static_cast<size_t>(size) : 0, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), f));
  std::fclose(f);
  return text;
}

inline void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The floor of any check: one plain read of every byte, sixteen at a time, summed.
inline uint64_t MemoryPass(std::string_view bytes) {
  const char* s = bytes.data();
  size_t i = 0;
  uint64_t sum = 0;
#if defined(__SSE2__)
  __m128i acc = _mm_setzero_si128();
  for (; i + 16 <= bytes.size(); i += 16) {
    acc = _mm_add_epi64(acc, _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)));
  }
  uint64_t lanes[2];
  std::memcpy(lanes, &acc, sizeof lanes);
  sum = lanes[0] + lanes[1];
#endif
  for (; i < bytes.size(); ++i) sum += static_cast<unsigned char>(s[i]);
  return sum;
}

// Shift-JIS characters of everyday Japanese text.
inline void AppendHiragana(std::mt19937& rng, std::string& s) {
  s.push_back('\x82');
  s.push_back(static_cast<char>(0x9F + rng() % 83));
}
inline void AppendKatakana(std::mt19937& rng, std::string& s) {
  const unsigned trail = 0x40 + rng() % 86;
  s.push_back('\x83');
  s.push_back(static_cast<char>(trail >= 0x7F ? trail + 1 : trail));
}
// A kanji of JIS level 1 (lead bytes 0x89-0x97).
inline void AppendKanji(std::mt19937& rng, std::string& s) {
  const unsigned trail = 0x40 + rng() % 188;
  s.push_back(static_cast<char>(0x89 + rng() % 15));
  s.push_back(static_cast<char>(trail >= 0x7F ? trail + 1 : trail));
}

// A body of `bytes` bytes: lines of about 70 bytes of kanji, kana, punctuation and some ASCII,
// ended by CR LF.
inline std::string MailBody(size_t bytes, unsigned seed) {
  std::mt19937 rng(seed);
  static const char* const kAscii[] = {"meeting ", "2024/05/10 ", "OK ", "http://example.jp/ ",
                                       "PDF "};
  std::string s;
  s.reserve(bytes + 128);
  size_t lineStart = 0;
  while (s.size() < bytes) {
    const unsigned r = rng() % 20;
    if (r < 8) {
      AppendHiragana(rng, s);
    } else if (r < 14) {
      AppendKanji(rng, s);
    } else if (r < 17) {
      AppendKatakana(rng, s);
    } else if (r < 18) {
      s += "\x81\x41";  // 、
    } else if (r < 19) {
      s += "\x81\x42";  // 。
    } else {
      s += kAscii[rng() % 5];
    }
    if (s.size() - lineStart >= 70) {
      s += "\r\n";
      lineStart = s.size();
    }
  }
  return s;
}

inline std::string MailHeader() {
  return "From: \x8E\x52\x93\x63 <yamada@example.jp>\r\n"
         "To: tanaka@example.co.jp\r\n"
         "Subject: \x89\xEF\x8B\x63\x82\xCC\x8C\x8F\r\n"  // 会議の件
         "Date: Fri, 10 May 2024 10:00:00 +0900\r\n";
}

// 1,000 words of two or three kanji; a few are taken from the mail so that the check and grep
// both find something, the rest hardly ever occur by chance.
inline std::vector<std::string> Words(const std::string& body) {
  std::mt19937 rng(2);
  std::vector<std::string> words;
  const size_t total = kCheckPatterns * kWordsPerPattern;
  while (words.size() < total) {
    std::string w;
    if (words.size() % 97 == 0) {
      // Four bytes from a character start somewhere in the mail.
      size_t pos = rng() % (body.size() - 8);
      while (pos > 0 && !(static_cast<unsigned char>(body[pos]) >= 0x81 &&
                          static_cast<unsigned char>(body[pos]) <= 0x9F)) {
        --pos;
      }
      w = body.substr(pos, 4);
      if (w.find_first_of("\r\n") != std::string::npos) continue;
    } else {
      const size_t chars = 2 + rng() % 2;
      for (size_t c = 0; c < chars; ++c) AppendKanji(rng, w);
    }
    words.push_back(w);
  }
  return words;
}

// 50 patterns that apply to every mail, every check but Always on, 10 forbidden and 10
// required words each.
inline PatternSettings CheckPatterns(const std::vector<std::string>& words) {
  PatternSettings s;
  for (size_t p = 0; p < kCheckPatterns; ++p) {
    std::string forbidden, required;
    for (size_t k = 0; k < kWordsPerPattern; ++k) {
      std::string& list = k < kWordsPerPattern / 2 ? forbidden : required;
      if (!list.empty()) list += "\r\n";
      list += words[p * kWordsPerPattern + k];
    }
    s.table.Append({"pattern " + std::to_string(p), "", "False", "False", "True", "True", "True",
                    "True", "True", "True", forbidden, "True", required});
  }
  return s;
}

// 10,000 patterns like the ones a user keeps: names, two addresses, a few words.
inline PatternSettings StorePatterns() {
  std::mt19937 rng(3);
  PatternSettings s;
  for (size_t i = 0; i < kStorePatterns; ++i) {
    PatternRow row = DefaultPattern();
    row[0] = "\x83\x70\x83\x5E\x81\x5B\x83\x93 " + std::to_string(i);  // パターン
    row[1] = "user" + std::to_string(i) + "@example.jp\r\nlist" + std::to_string(i % 97) +
             "@example.org";
    std::string words;
    for (int w = 0; w < 4; ++w) {
      if (w) words += "\r\n";
      AppendKanji(rng, words);
      AppendKanji(rng, words);
    }
    row[10] = words + "\r\n100%";
    s.table.Append(std::move(row));
  }
  return s;
}

inline std::string SettingsText(PatternSettings settings) {
  IniStore store;
  store.Write("SetupForm", "Left", Variant::Int32(120));
  SavePatterns(settings, store, [] { return true; });
  return store.Serialize();
}

// The body with its lines joined, as the check searches it.
inline std::string Flatten(const std::string& body) {
  std::string flat;
  flat.reserve(body.size());
  ForEachLine(body, [&](std::string_view line) { flat.append(line); });
  return flat;
}

struct Files {
  std::string folder;
  std::string mail1, mail10;  // bodies, CR LF lines
  std::string flat1, flat10;  // the same with the lines joined
  std::string words;          // one word per line (LF), for grep -f
  std::string checkSettings;  // 50 patterns
  std::string storeSettings;  // 10,000 patterns
};

// Paths of the data files, generated on first use.
inline const Files& Data() {
  static const Files files = [] {
    Files f;
    f.folder = DataFolder();
    f.mail1 = f.folder + "mail-1MB.txt";
    f.mail10 = f.folder + "mail-10MB.txt";
    f.flat1 = f.folder + "flat-1MB.txt";
    f.flat10 = f.folder + "flat-10MB.txt";
    f.words = f.folder + "words.txt";
    f.checkSettings = f.folder + "check-50-patterns.ini";
    f.storeSettings = f.folder + "store-10000-patterns.ini";
    if (std::ifstream(f.storeSettings).good()) return f;
    std::fprintf(stderr, "generating benchmark data in %s\n", f.folder.c_str());
    const std::string body1 = MailBody(size_t{1} << 20, 1);
    const std::string body10 = MailBody(size_t{10} << 20, 1);
    WriteFile(f.mail1, body1);
    WriteFile(f.mail10, body10);
    WriteFile(f.flat1, Flatten(body1));
    WriteFile(f.flat10, Flatten(body10));
    const std::vector<std::string> words = Words(body1);
    std::string list;
    for (const std::string& w : words) list += w + "\n";
    WriteFile(f.words, list);
    WriteFile(f.checkSettings, SettingsText(CheckPatterns(words)));
    WriteFile(f.storeSettings, SettingsText(StorePatterns()));
    return f;
  }();
  return files;
}

}  // namespace zv::bench
