#include "scene/x_file_check.h"

// Every model read is scanned here first, in the unoptimised sanitizer build too, where the
// scan would cost three times as much as at -O2.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("O2")
#endif

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace kelmora::scene {

namespace {

// The walk below reads the text the way the reader does, word for word: the same spaces,
// comments and separators, numbers read character by character as it reads them, and an
// unknown word followed the way it follows one (on to the next opening brace, then to the
// brace that closes it, whatever stood between). Following the file by its braces alone is
// not enough: a stray word makes the reader see a different mesh than the braces show.

// Each character's kind, looked up once per character: the walk passes every character of
// every model through these tests.
enum : uint8_t { kSpace = 1, kDelimiter = 2, kEndsWord = kSpace | kDelimiter };
constexpr std::array<uint8_t, 256> kKinds = [] {
  std::array<uint8_t, 256> k{};
  for (const unsigned char c : {' ', '\t', '\n', '\v', '\f', '\r'}) k[c] = kSpace;
  for (const unsigned char c : {';', ',', '{', '}'}) k[c] = kDelimiter;
  return k;
}();
uint8_t KindOf(char c) { return kKinds[static_cast<unsigned char>(c)]; }
bool IsSpace(char c) { return KindOf(c) & kSpace; }
bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }
bool IsDelimiter(char c) { return KindOf(c) & kDelimiter; }

// Frames inside frames: the reader follows them by recursion, as deep as the file asks.
constexpr int kDeepestFrame = 200;
// Texture coordinate and colour sets a mesh may have.
constexpr int kMostSets = 8;
// The reader's names and strings end in its own fixed strings of 1,024 bytes with their
// terminator. A frame's name it copies there without measuring it, and overruns the string
// with a longer one; the other names it leaves empty or cuts short, and the model would then
// name other frames or textures than the file does. No word or string of the file may be longer.
constexpr size_t kLongestName = 1023;
std::string TooLong(const char* what, size_t bytes) {
  return std::string(what) + " of " + std::to_string(bytes) + " bytes, longer than the " +
         std::to_string(kLongestName) + " the model reader holds";
}

// A count larger than `room`. Built by appending: GCC 12 warns, wrongly, of a copy past the end
// of a string in the same message built with + where _FORTIFY_SOURCE is on.
std::string BadCount(const char* what, uint64_t v, const char* room) {
  std::string m = "a bad ";
  m += what;
  m += " (";
  m += std::to_string(v);
  m += ", more than ";
  m += room;
  m += ")";
  return m;
}

// Thrown to end the walk: the problem, or "" when the text ended first. The reader throws
// there too, and throwing from where it is leaks what it has read so far: it is handed only
// files it reads to the end.
struct Stop {
  std::string why;
};

// The text form, read as the reader reads it.
class TextLex {
 public:
  explicit TextLex(std::string_view text) : p_(text.data()), end_(text.data() + text.size()), size_(text.size()) {
    // The reader skips the rest of the header's line.
    p_ += 16;
    lineStart_ = p_;
    while (p_ < end_ && *p_ != '\n' && *p_ != '\r') ++p_;
    if (p_ < end_) ++p_;
  }

 protected:
  [[noreturn]] void Refuse(const std::string& what) const {
    throw Stop{p_ >= end_ ? "" : "line " + std::to_string(Line()) + ": " + what};
  }
  // The line the reader has reached: it counts the line ends it passes between words, in
  // comments and in strings, which are all of them but one a NaN spelling may swallow.
  int Line() const { return 1 + static_cast<int>(std::count(lineStart_, p_, '\n')) - uncounted_; }
  char Peek(size_t k = 0) const { return p_ + k < end_ ? p_[k] : '\0'; }
  template <size_t N>
  bool Ahead(const char (&s)[N]) const {
    return static_cast<size_t>(end_ - p_) >= N - 1 && std::memcmp(p_, s, N - 1) == 0;
  }

  void SkipSpace() {
    for (;;) {
      while (p_ < end_ && IsSpace(*p_)) ++p_;
      if (p_ >= end_ || !(*p_ == '#' || (*p_ == '/' && Peek(1) == '/'))) return;
      while (p_ < end_ && *p_ != '\n' && *p_ != '\r') ++p_;
      if (p_ < end_) ++p_;
    }
  }

  // The next word, or one of ; , { } on its own; "" at the end.
  std::string_view Token() {
    SkipSpace();
    if (p_ >= end_) return {};
    const char* from = p_;
    if (IsDelimiter(*p_)) return {p_++, 1};
    while (p_ < end_ && !(KindOf(*p_) & kEndsWord)) ++p_;
    const size_t length = static_cast<size_t>(p_ - from);
    if (length > kLongestName) Refuse(TooLong("a name", length));
    return {from, length};
  }

  // One of ; , { } next: taken at once, without making a word of it.
  bool Take(char a, char b) {
    SkipSpace();
    if (p_ < end_ && (*p_ == a || *p_ == b)) {
      ++p_;
      return true;
    }
    return false;
  }
  // Anything else ends the walk where the reader's word ends.
  [[noreturn]] void RefuseWord(const char* what) {
    if (Token().empty()) throw Stop{};
    Refuse(what);
  }

  void Expect(char want, const char* what) {
    if (!Take(want, want)) RefuseWord(what);
  }
  void Closing() { Expect('}', "a closing brace missing"); }
  void Semicolon() { Expect(';', "a semicolon missing"); }
  void Separator() {
    if (!Take(';', ',')) RefuseWord("a number without the separator after it");
  }
  // One separator if there is one.
  void MaybeSeparator() {
    SkipSpace();
    if (p_ < end_ && (*p_ == ';' || *p_ == ',')) ++p_;
  }

  // Where the walk is, for a message.
  std::string Here() const { return "line " + std::to_string(Line()); }

  // The numbers of `count` vectors of `width`, each with its separator if it has one.
  void Vectors(uint64_t count, int width) {
    for (uint64_t v = 0; v < count; ++v) {
      Reals(width);
      MaybeSeparator();
    }
  }
  // The reader takes a semicolon at once after a material list's indices.
  void AfterIndices() {
    if (p_ < end_ && *p_ == ';') ++p_;
  }

  // An object's name, if it has one, and its opening brace.
  void Head() {
    if (Token() != "{") Expect('{', "an opening brace missing");
  }

  // A whole number and its separator. Saturates; a negative one reads as the reader reads it
  // into an unsigned number, near 2^32.
  uint64_t Whole() {
    SkipSpace();
    if (p_ >= end_) throw Stop{};
    const bool negative = *p_ == '-';
    if (negative) ++p_;
    if (!IsDigit(Peek())) Refuse("a number expected");
    uint64_t v = 0;
    for (; p_ < end_ && IsDigit(*p_); ++p_) v = v > UINT64_MAX / 20 ? UINT64_MAX : v * 10 + static_cast<uint64_t>(*p_ - '0');
    if (negative) v = v == 0 ? 0 : (uint64_t{1} << 32) - std::min<uint64_t>(v, uint64_t{1} << 31);
    Separator();
    return v;
  }

  // A number the reader sizes a list by: no larger than the file could hold.
  uint64_t Count(const char* what, uint64_t /*bytesEach*/ = 1) {
    const uint64_t v = Whole();
    if (v > size_) Refuse(BadCount(what, v, "the file holds"));
    return v;
  }

  // Digits as the reader's number conversion reads them; it gives up (and stops where it
  // started) on more than fit in 64 bits, so no more than 19 are taken.
  void Digits(bool limited) {
    const char* from = p_;
    while (p_ < end_ && IsDigit(*p_)) ++p_;
    if (!limited && p_ - from > 19) Refuse("a number too long");
  }

  // A real number and its separator, with the spellings of infinity and NaN the reader takes.
  void Real() {
    SkipSpace();
    if (p_ >= end_) throw Stop{};
    // The spellings with '#' are looked for only where one can start.
    const bool special = (*p_ == '-' || *p_ == '1') && (Peek(2) == '#' || Peek(3) == '#');
    if (special && (Ahead("-1.#IND00") || Ahead("1.#IND00"))) {
      // Nine characters either way: after the shorter spelling, one more.
      if (*p_ == '1' && p_ + 8 < end_ && p_[8] == '\n') ++uncounted_;
      p_ = std::min(p_ + 9, end_);
    } else if (special && Ahead("1.#QNAN0")) {
      p_ += 8;
    } else {
      if (*p_ == '-' || *p_ == '+') ++p_;
      const auto word = [&](const char* w) {
        for (size_t k = 0; w[k]; ++k) {
          if ((Peek(k) | 0x20) != w[k]) return false;
        }
        return true;
      };
      const char first = static_cast<char>(Peek() | 0x20);
      if (first == 'n' && word("nan")) {
        p_ += 3;
      } else if (first == 'i' && word("inf")) {
        p_ += 3;
        if (word("inity")) p_ += 5;
      } else {
        const bool point = Peek() == '.' || Peek() == ',';
        if (!IsDigit(Peek()) && !(point && IsDigit(Peek(1)))) Refuse("a number expected");
        if (!point) Digits(false);
        if ((Peek() == '.' || Peek() == ',') && IsDigit(Peek(1))) {
          ++p_;
          Digits(true);
        } else if (Peek() == '.') {
          ++p_;
        }
        if (Peek() == 'e' || Peek() == 'E') {
          ++p_;
          if (Peek() == '-' || Peek() == '+') ++p_;
          if (!IsDigit(Peek())) Refuse("a number expected");
          Digits(false);
        }
      }
    }
    Separator();
  }
  void Reals(int n) {
    for (int k = 0; k < n; ++k) Real();
  }

  // A quoted string followed at once by a semicolon.
  void Quoted() {
    SkipSpace();
    if (p_ >= end_) throw Stop{};
    if (*p_ != '"') Refuse("a quotation mark expected");
    ++p_;
    const char* from = p_;
    const void* quote = std::memchr(p_, '"', static_cast<size_t>(end_ - p_));
    p_ = quote ? static_cast<const char*>(quote) : end_;
    if (p_ + 1 >= end_) throw Stop{};
    if (p_[1] != ';') Refuse("a string without its semicolon");
    if (static_cast<size_t>(p_ - from) > kLongestName) Refuse(TooLong("a string", static_cast<size_t>(p_ - from)));
    p_ += 2;
  }

  const char* p_;
  const char* end_;
  size_t size_;
  const char* lineStart_ = nullptr;
  int uncounted_ = 0;  // line ends passed without being counted
};

// The binary form: a stream of tokens, each a little-endian 16-bit kind and, for some, their
// data. The reader skips numbers that stand where it looks for a word, and takes numbers
// one by one from lists whatever their kind: one count of what is left of the current list
// serves ints and floats alike. Separators are not read at all.
class BinaryLex {
 public:
  BinaryLex(std::string_view text, size_t floatBytes)
      : begin_(text.data()), p_(text.data() + 16), end_(text.data() + text.size()), floatBytes_(floatBytes) {}

 protected:
  [[noreturn]] void Refuse(const std::string& what) const { throw Stop{p_ >= end_ ? "" : Here() + ": " + what}; }
  // Where the last word or number began.
  std::string Here() const { return "byte " + std::to_string(at_ - begin_); }
  size_t Left() const { return static_cast<size_t>(end_ - p_); }
  uint16_t Word() {
    const auto* q = reinterpret_cast<const unsigned char*>(p_);
    p_ += 2;
    return static_cast<uint16_t>(q[0] | q[1] << 8);
  }
  uint32_t Dword() {
    uint32_t v;
    std::memcpy(&v, p_, 4);  // little-endian, as the reader assembles it
    p_ += 4;
    return v;
  }

  // The next word, brace or separator; "" at the end. Numbers are passed over (each stands
  // as a word the grammar never asks for). What the reader would read past the end, or take
  // for the end of the file before it, is refused.
  std::string_view Token() {
    at_ = p_;
    if (Left() < 2) return {};
    const uint16_t kind = Word();
    switch (kind) {
      case kName:
      case kString: {
        if (Left() < 4) return {};
        const uint32_t length = Dword();
        if (length > Left() || (kind == kString && Left() - length < 2)) {
          Refuse(std::string(kind == kName ? "a name" : "a string") + " of " + std::to_string(length) +
                 " bytes, longer than the rest of the file");
        }
        // The reader takes an empty word for the end of the file.
        if (length == 0) Refuse(kind == kName ? "an empty name" : "an empty string");
        if (length > kLongestName) Refuse(TooLong(kind == kName ? "a name" : "a string", length));
        const std::string_view word(p_, length);
        p_ += length + (kind == kString ? 2 : 0);  // a string's own terminator
        return word;
      }
      case kInteger:
        Skip(4, "an integer");
        return "<integer>";
      case kGuid:
        Skip(16, "a GUID");
        return "<guid>";
      case kIntegerList:
      case kFloatList: {
        if (Left() < 4) return {};
        const uint64_t n = Dword();
        Skip(n * (kind == kIntegerList ? 4 : floatBytes_), "a list of numbers");
        return kind == kIntegerList ? "<int_list>" : "<flt_list>";
      }
      default:
        break;
    }
    for (const auto& [k, word] : kWords) {
      if (k == kind) return word;
    }
    Refuse("a token of unknown kind " + std::to_string(kind));
  }
  void Skip(uint64_t bytes, const char* what) {
    if (bytes > Left()) {
      if (Left() == 0) throw Stop{};
      Refuse(std::string(what) + " longer than the rest of the file");
    }
    p_ += bytes;
  }

  void Expect(std::string_view want, const char* what) {
    const std::string_view t = Token();
    if (t.empty()) throw Stop{};
    if (t != want) Refuse(what);
  }
  void Closing() { Expect("}", "a closing brace missing"); }
  // Separators are not in the binary form.
  void Semicolon() {}
  void Separator() {}
  void MaybeSeparator() {}
  void AfterIndices() {}
  void Head() {
    if (Token() != "{") Expect("{", "an opening brace missing");
  }
  // A string is a word here.
  void Quoted() {
    if (Token().empty()) throw Stop{};
  }

  // Before a number the reader starts a new list when the last is used up: a list of
  // numbers of the kind it reads, or anything else standing for a single number.
  void StartList(uint16_t listKind) {
    if (left_ == 0 && Left() >= 2) {
      at_ = p_;
      left_ = Word() == listKind && Left() >= 4 ? Dword() : 1;
    }
    --left_;  // from 0, on past the end of an empty list, as the reader counts
  }
  uint64_t Whole() {
    StartList(kIntegerList);
    at_ = p_;
    if (Left() < 4) throw Stop{};
    return Dword();
  }
  void Real() {
    StartList(kFloatList);
    at_ = p_;
    if (Left() < floatBytes_) throw Stop{};
    p_ += floatBytes_;
  }
  // n floats; the rest of a list is passed at once.
  void Reals(uint64_t n) {
    while (n > 0) {
      if (left_ == 0) {
        Real();
        --n;
        continue;
      }
      const uint64_t k = std::min<uint64_t>(n, left_);
      if (k * floatBytes_ > Left()) throw Stop{};
      p_ += k * floatBytes_;
      left_ -= static_cast<uint32_t>(k);
      n -= k;
    }
  }
  void Vectors(uint64_t count, int width) { Reals(count * static_cast<uint64_t>(width)); }

  // A number the reader sizes a list by: each item takes at least `bytesEach` of the file.
  uint64_t Count(const char* what, uint64_t bytesEach = 4) {
    const uint64_t v = Whole();
    if (v * bytesEach > Left()) {
      Refuse(BadCount(what, v, "the rest of the file holds"));
    }
    return v;
  }

  static constexpr uint16_t kName = 0x01, kString = 0x02, kInteger = 0x03, kGuid = 0x05, kIntegerList = 0x06,
                            kFloatList = 0x07;
  static constexpr std::pair<uint16_t, std::string_view> kWords[] = {
      {0x0a, "{"},      {0x0b, "}"},       {0x0c, "("},      {0x0d, ")"},      {0x0e, "["},       {0x0f, "]"},
      {0x10, "<"},      {0x11, ">"},       {0x12, "."},      {0x13, ","},      {0x14, ";"},       {0x1f, "template"},
      {0x28, "WORD"},   {0x29, "DWORD"},   {0x2a, "FLOAT"},  {0x2b, "DOUBLE"}, {0x2c, "CHAR"},    {0x2d, "UCHAR"},
      {0x2e, "SWORD"},  {0x2f, "SDWORD"},  {0x30, "void"},   {0x31, "string"}, {0x32, "unicode"}, {0x33, "cstring"},
      {0x34, "array"}};

  const char* begin_;
  const char* p_;
  const char* end_;
  const char* at_ = nullptr;
  size_t floatBytes_;
  uint32_t left_ = 0;  // numbers left in the current list
};

// The objects of a .x file, followed as the reader follows them, over either form's words and
// numbers (Lex: TextLex or BinaryLex).
template <class Lex>
class Walk : Lex {
 public:
  using Lex::Lex;

  void File() {
    // The reader gives the meshes outside any frame to the root frame, and forgets (without
    // freeing) the list of the root's own meshes.
    bool framed = false;
    std::string looseMesh;
    for (std::string_view t = Token(); !t.empty(); t = Token()) {
      if (t == "template") {
        Template();
      } else if (t == "Frame") {
        Frame(1);
        framed = true;
      } else if (t == "Mesh") {
        if (looseMesh.empty()) looseMesh = Here();
        Mesh();
      } else if (t == "AnimTicksPerSecond") {
        Head();
        Whole();
        Closing();
      } else if (t == "AnimationSet") {
        AnimationSet();
      } else if (t == "Material") {
        Material();
      } else if (t != "}") {
        Unknown();
      }
    }
    if (framed && !looseMesh.empty()) {
      throw Stop{looseMesh + ": a mesh outside the frames of a model that has frames"};
    }
  }

 private:
  using Lex::AfterIndices, Lex::Closing, Lex::Count, Lex::Head, Lex::Here, Lex::MaybeSeparator, Lex::Quoted,
      Lex::Real, Lex::Reals, Lex::Refuse, Lex::Semicolon, Lex::Separator, Lex::Token, Lex::Vectors, Lex::Whole;

  // An object the reader does not know: on to the next opening brace, then to the one that
  // closes it.
  void Unknown() {
    for (std::string_view t = Token(); t != "{"; t = Token()) {
      if (t.empty()) throw Stop{};
    }
    for (int depth = 1; depth > 0;) {
      const std::string_view t = Token();
      if (t.empty()) throw Stop{};
      depth += t == "{" ? 1 : t == "}" ? -1 : 0;
    }
  }

  void Template() {
    Head();
    Token();  // its identifier
    for (std::string_view t = Token(); t != "}"; t = Token()) {
      if (t.empty()) throw Stop{};
    }
  }

  void Frame(int depth) {
    if (depth > kDeepestFrame) Refuse("frames nested more than " + std::to_string(kDeepestFrame) + " deep");
    Head();
    for (;;) {
      const std::string_view t = Token();
      if (t.empty()) throw Stop{};
      if (t == "}") return;
      if (t == "Frame") {
        Frame(depth + 1);
      } else if (t == "FrameTransformMatrix") {
        Head();
        Reals(16);
        Semicolon();
        Closing();
      } else if (t == "Mesh") {
        Mesh();
      } else {
        Unknown();
      }
    }
  }

  // Faces: each one's corner count and its indices, each below `limit`. Keeps the corner
  // counts in `corners`, or, with `match`, checks them against it.
  void Faces(uint64_t faces, uint64_t limit, const char* of, std::vector<uint32_t>& corners, bool match) {
    for (uint64_t f = 0; f < faces; ++f) {
      const uint64_t n = Count("face size");
      // The triangulation trips over a face without corners.
      if (n == 0) Refuse("a face without corners");
      if (match && n != corners[static_cast<size_t>(f)]) Refuse("a face whose normals do not match its corners");
      if (!match) corners.push_back(static_cast<uint32_t>(n));
      for (uint64_t k = 0; k < n; ++k) {
        const uint64_t i = Whole();
        if (i >= limit) Refuse("face index " + std::to_string(i) + " past the mesh's " + std::to_string(limit) + " " + of);
      }
      MaybeSeparator();
    }
  }

  void Mesh() {
    Head();
    const uint64_t vertices = Count("vertex count", 12);
    Vectors(vertices, 3);
    std::vector<uint32_t> corners;
    Faces(Count("face count"), vertices, "vertices", corners, false);
    int coordinateSets = 0, colourSets = 0;
    bool materialList = false;
    for (;;) {
      const std::string_view t = Token();
      if (t.empty()) throw Stop{};
      if (t == "}") return;
      if (t == "MeshNormals") {
        Head();
        const uint64_t normals = Count("normal count", 12);
        Vectors(normals, 3);
        const uint64_t faces = Count("face count");
        if (faces != corners.size()) {
          Refuse("normals for " + std::to_string(faces) + " faces of " + std::to_string(corners.size()));
        }
        Faces(faces, normals, "normals", corners, true);
        Closing();
      } else if (t == "MeshTextureCoords") {
        Head();
        if (++coordinateSets > kMostSets) Refuse("more than " + std::to_string(kMostSets) + " texture coordinate sets");
        if (Count("coordinate count") != vertices) Refuse("texture coordinates not one for each vertex");
        Vectors(vertices, 2);
        Closing();
      } else if (t == "MeshVertexColors") {
        Head();
        if (++colourSets > kMostSets) Refuse("more than " + std::to_string(kMostSets) + " vertex colour sets");
        if (Count("colour count") != vertices) Refuse("vertex colours not one for each vertex");
        for (uint64_t v = 0; v < vertices; ++v) {
          if (Whole() >= vertices) Refuse("a colour for a vertex the mesh does not have");
          Reals(4);
          MaybeSeparator();
          MaybeSeparator();
        }
        Closing();
      } else if (t == "MeshMaterialList") {
        // The reader adds the faces of a second list after those of the first, past the
        // mesh's faces.
        if (materialList) Refuse("a second material list in a mesh");
        materialList = true;
        MaterialList(corners.size());
      } else if (t == "XSkinMeshHeader") {
        Head();
        Whole();
        Whole();
        Whole();
        Closing();
      } else if (t == "SkinWeights") {
        Head();
        Quoted();  // the frame's name
        const uint64_t weights = Count("weight count");
        for (uint64_t k = 0; k < weights; ++k) {
          if (Whole() >= vertices) Refuse("a weight on a vertex the mesh does not have");
        }
        for (uint64_t k = 0; k < weights; ++k) Real();
        Reals(16);
        Semicolon();
        Closing();
      } else {
        Unknown();  // VertexDuplicationIndices among them
      }
    }
  }

  // A material list: the faces' materials, then the materials themselves, each given in place
  // or named in braces. The reader looks up a face's material without checking that the list
  // gave any.
  void MaterialList(size_t faces) {
    Head();
    Whole();  // the material count, which the reader does not use
    const uint64_t indices = Count("material index count");
    // One index stands for every face.
    if (indices != faces && !(indices == 1 && faces > 0)) Refuse("material indices for " + std::to_string(indices) + " faces of " + std::to_string(faces));
    uint64_t largest = 0;
    for (uint64_t f = 0; f < indices; ++f) largest = std::max(largest, Whole());
    AfterIndices();
    uint64_t given = 0;
    for (;;) {
      const std::string_view t = Token();
      if (t.empty()) throw Stop{};
      if (t == "}") break;
      if (t == "{") {
        Token();  // the material's name
        Closing();
        ++given;
      } else if (t == "Material") {
        Material();
        ++given;
      } else if (t != ";") {
        Refuse("something other than a material in a material list");
      }
    }
    if (faces > 0 && largest >= given) {
      Refuse("a face of material " + std::to_string(largest) + " in a list of " + std::to_string(given) + " materials");
    }
  }

  void Material() {
    Head();
    Reals(4);
    MaybeSeparator();
    Real();
    Reals(3);
    MaybeSeparator();
    Reals(3);
    MaybeSeparator();
    for (;;) {
      const std::string_view t = Token();
      if (t.empty()) throw Stop{};
      if (t == "}") return;
      if (t == "TextureFilename" || t == "TextureFileName" || t == "NormalmapFilename" || t == "NormalmapFileName") {
        Head();
        Quoted();
        Closing();
      } else {
        Unknown();
      }
    }
  }

  void AnimationSet() {
    Head();
    for (;;) {
      const std::string_view t = Token();
      if (t.empty()) throw Stop{};
      if (t == "}") return;
      if (t == "Animation") {
        Animation();
      } else {
        Unknown();
      }
    }
  }

  void Animation() {
    Head();
    for (;;) {
      const std::string_view t = Token();
      if (t.empty()) throw Stop{};
      if (t == "}") return;
      if (t == "AnimationKey") {
        AnimationKey();
      } else if (t == "{") {
        Token();  // the frame's name
        Closing();
      } else {
        Unknown();  // AnimationOptions among them
      }
    }
  }

  void AnimationKey() {
    Head();
    const uint64_t type = Whole();
    const uint64_t keys = Count("key count");
    for (uint64_t k = 0; k < keys; ++k) {
      Whole();  // the time
      const uint64_t values = Whole();
      const uint64_t expected = type == 0 ? 4 : type <= 2 ? 3 : type <= 4 ? 16 : 0;
      if (expected == 0) Refuse("a key of unknown type " + std::to_string(type));
      if (values != expected) Refuse("a key with " + std::to_string(values) + " values");
      Reals(static_cast<int>(values));
      if (values == 3) {
        MaybeSeparator();
      } else {
        Semicolon();
      }
      Separator();
    }
    Closing();
  }
};

}  // namespace

std::string XFileProblem(std::string_view text) {
  if (text.empty()) return "the file is empty";
  if (text.size() < 16 || text.substr(0, 4) != "xof ") return "not a .x model file";
  const std::string_view form = text.substr(8, 4);
  if (form == "tzip" || form == "bzip") return "a compressed .x file (only uncompressed models are read)";
  if (form != "txt " && form != "bin ") return "not a text or binary .x file";
  const std::string_view numbers = text.substr(12, 4);
  if (numbers != "0032" && numbers != "0064") return "not a .x model file (numbers neither 32 nor 64 bits)";
  try {
    if (form == "txt ") {
      Walk<TextLex>(text).File();
    } else {
      // The reader measures what is left of the file in an int.
      if (text.size() > INT32_MAX) return "a binary .x file larger than 2 GB";
      Walk<BinaryLex>(text, numbers == "0032" ? 4 : 8).File();
    }
  } catch (const Stop& s) {
    return s.why.empty() ? "the file ends too soon" : s.why;
  }
  return "";
}

}  // namespace kelmora::scene
