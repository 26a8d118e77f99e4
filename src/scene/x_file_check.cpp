#include "scene/x_file_check.h"

// Every model read is scanned here first, in the unoptimised sanitizer build too, where the
// scan would cost three times as much as at -O2.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("O2")
#endif

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kelmora::scene {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsGap(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ';' || c == ','; }

// A whole number, saturating; a negative one reads as the reader reads it into a count, a
// number near 2^32.
bool Whole(std::string_view w, uint64_t& v) {
  const bool negative = !w.empty() && w[0] == '-';
  if (negative) w.remove_prefix(1);
  if (w.empty() || !std::all_of(w.begin(), w.end(), IsDigit)) return false;
  v = 0;
  for (char c : w) v = v > UINT64_MAX / 20 ? UINT64_MAX : v * 10 + static_cast<uint64_t>(c - '0');
  if (negative) v = v == 0 ? 0 : (uint64_t{1} << 32) - std::min<uint64_t>(v, uint64_t{1} << 31);
  return true;
}

// Words and braces of the text, separators and comments skipped. Keeps the largest whole
// number seen. Every model read passes through here, so the scan is a plain walk over the
// characters.
class Words {
 public:
  explicit Words(std::string_view text) : begin_(text.data()), p_(text.data()), end_(text.data() + text.size()) {}

  // The next word or brace; "" at the end.
  std::string_view Next() {
    for (;;) {
      while (p_ < end_ && IsGap(*p_)) line_ += *p_++ == '\n';
      if (p_ < end_ && (*p_ == '#' || (*p_ == '/' && p_ + 1 < end_ && p_[1] == '/'))) {
        while (p_ < end_ && *p_ != '\n') ++p_;
        continue;
      }
      break;
    }
    if (p_ >= end_) return {};
    const char* from = p_;
    if (*p_ == '{' || *p_ == '}') return {p_++, 1};
    // A word of digits only is a whole number; anything else ends that at once.
    bool digits = *p_ != '-' || p_ + 1 < end_;
    while (p_ < end_ && !IsGap(*p_) && *p_ != '{' && *p_ != '}') {
      digits = digits && (IsDigit(*p_) || (p_ == from && *p_ == '-'));
      ++p_;
    }
    const std::string_view w(from, static_cast<size_t>(p_ - from));
    uint64_t v = 0;
    if (digits && Whole(w, v)) largest_ = std::max(largest_, v);
    return w;
  }

  // The next word as a count or index no larger than the text could hold; false otherwise.
  bool Count(uint64_t& v) { return Whole(Next(), v) && v <= size(); }

  bool AtEnd() const { return p_ >= end_; }
  int line() const { return line_; }
  uint64_t largest() const { return largest_; }
  size_t size() const { return static_cast<size_t>(end_ - begin_); }

 private:
  const char* begin_;
  const char* p_;
  const char* end_;
  int line_ = 1;
  uint64_t largest_ = 0;
};

// The problem at the current line; nothing when the text ended first (the reader says so).
std::string At(const Words& w, const std::string& what) {
  return w.AtEnd() ? "" : "line " + std::to_string(w.line()) + ": " + what;
}

// Faces: a count, then each face's corner count and indices, each below `limit`. Keeps the
// corner count of each face in `corners`, or, with `match`, checks them against it.
std::string Faces(Words& w, uint64_t limit, const char* of, std::vector<uint32_t>& corners, bool match) {
  uint64_t faces = 0;
  if (!w.Count(faces)) return At(w, "a bad face count");
  if (match && faces != corners.size()) {
    return At(w, "normals for " + std::to_string(faces) + " faces of " + std::to_string(corners.size()));
  }
  for (uint64_t f = 0; f < faces; ++f) {
    uint64_t n = 0;
    if (!w.Count(n)) return At(w, "a bad face size");
    if (match && n != corners[static_cast<size_t>(f)]) return At(w, "a face whose normals do not match its corners");
    if (!match) corners.push_back(static_cast<uint32_t>(n));
    for (uint64_t k = 0; k < n; ++k) {
      uint64_t i = 0;
      if (!w.Count(i)) return At(w, "a bad face index");
      if (i >= limit) return At(w, "face index " + std::to_string(i) + " past the mesh's " + std::to_string(limit) + " " + of);
    }
  }
  return "";
}

// Skips `n` words; false at the end of the text.
bool Skip(Words& w, uint64_t n) {
  for (uint64_t k = 0; k < n; ++k) {
    if (w.Next().empty()) return false;
  }
  return true;
}

// Skips a block whose opening brace is next (after an optional name).
bool SkipBlock(Words& w) {
  std::string_view t = w.Next();
  if (t != "{") t = w.Next();
  if (t != "{") return false;
  for (int depth = 1; depth > 0;) {
    t = w.Next();
    if (t.empty()) return false;
    depth += t == "{" ? 1 : t == "}" ? -1 : 0;
  }
  return true;
}

// A material list after its word: the faces' materials, then the materials themselves, each
// given in place or named in braces. The reader looks up a face's material without checking
// that the list gave any.
std::string MaterialList(Words& w) {
  if (w.Next() != "{") return At(w, "a material list without its opening brace");
  uint64_t materials = 0, faces = 0;
  if (!w.Count(materials) || !w.Count(faces)) return At(w, "a bad material count");
  uint64_t largest = 0;
  for (uint64_t f = 0; f < faces; ++f) {
    uint64_t m = 0;
    if (!w.Count(m)) return At(w, "a bad material index");
    largest = std::max(largest, m);
  }
  uint64_t given = 0;
  for (std::string_view t = w.Next(); t != "}"; t = w.Next()) {
    if (t.empty()) return "";
    if (t == "{") {
      w.Next();  // the material's name
      if (w.Next() != "}") return At(w, "a material named without its closing brace");
    } else if (t == "Material") {
      if (!SkipBlock(w)) return At(w, "a material without its braces");
    } else {
      return At(w, "something other than a material in a material list");
    }
    ++given;
  }
  if (faces > 0 && largest >= given) {
    return At(w, "a face of material " + std::to_string(largest) + " in a list of " + std::to_string(given) + " materials");
  }
  return "";
}

// A mesh after its word "Mesh": name, brace, vertices, faces, then its inner blocks.
std::string Mesh(Words& w) {
  std::string_view t = w.Next();
  if (t != "{") t = w.Next();
  if (t != "{") return At(w, "a mesh without its opening brace");
  uint64_t vertices = 0;
  if (!w.Count(vertices)) return At(w, "a bad vertex count");
  if (!Skip(w, 3 * vertices)) return "";
  std::vector<uint32_t> corners;
  if (std::string p = Faces(w, vertices, "vertices", corners, false); !p.empty()) return p;
  for (int depth = 1; depth > 0;) {
    t = w.Next();
    if (t.empty()) return "";
    if (t == "{") ++depth;
    if (t == "}") --depth;
    if (depth == 1 && t == "MeshNormals") {
      if (w.Next() != "{") return At(w, "normals without their opening brace");
      uint64_t normals = 0;
      if (!w.Count(normals)) return At(w, "a bad normal count");
      if (!Skip(w, 3 * normals)) return "";
      if (std::string p = Faces(w, normals, "normals", corners, true); !p.empty()) return p;
    } else if (depth == 1 && t == "MeshMaterialList") {
      if (std::string p = MaterialList(w); !p.empty()) return p;  // read to its closing brace
    } else if (depth == 1 && t == "SkinWeights") {
      if (w.Next() != "{") return At(w, "skin weights without their opening brace");
      w.Next();  // the frame's name
      uint64_t n = 0;
      if (!w.Count(n)) return At(w, "a bad weight count");
      for (uint64_t k = 0; k < n; ++k) {
        uint64_t i = 0;
        if (!w.Count(i) || i >= vertices) return At(w, "a weight on a vertex the mesh does not have");
      }
    }
  }
  return "";
}

}  // namespace

std::string XFileProblem(std::string_view text) {
  if (text.empty()) return "the file is empty";
  if (text.size() < 16 || text.substr(0, 4) != "xof ") return "not a .x model file";
  if (text.substr(8, 4) != "txt ") return "not a text .x file (only text models are read)";
  Words w(text.substr(16));
  std::string_view previous;
  for (std::string_view t = w.Next(); !t.empty(); previous = t, t = w.Next()) {
    if (t == "Mesh" && previous != "template") {
      if (std::string p = Mesh(w); !p.empty()) return p;
    }
  }
  // The reader sizes its lists by their counts before it reads them: no number may be
  // larger than the file could hold.
  if (w.largest() > w.size()) return "a count of " + std::to_string(w.largest()) + ", more than the file holds";
  return "";
}

}  // namespace kelmora::scene
