// assetgen --out DIR --embed FILE.cpp
// Writes model/, tex/ and sound/ under DIR and the two sprite sheets as a C++ source.
// assetgen --icons DIR writes only the program's icon, in the hicolor sizes under DIR.
// --text-models writes the models in the .x text form instead of the binary one.
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <sstream>
#include <string>

#include "assetgen.h"

namespace assetgen {

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + path.string());
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  WriteFile(path, Bytes(text.begin(), text.end()));
}

namespace {

void AppendArray(std::ostringstream& out, const char* name, const Bytes& bytes) {
  out << "extern const unsigned char " << name << "[];\n";
  out << "const unsigned char " << name << "[] = {";
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i % 40 == 0) out << '\n';
    out << static_cast<unsigned>(bytes[i]) << ',';
  }
  out << "\n};\n";
  out << "extern const unsigned long " << name << "Size;\n";
  out << "const unsigned long " << name << "Size = " << bytes.size() << "UL;\n";
}

void WriteIfChanged(const std::filesystem::path& path, const std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (in) {
    std::ostringstream old;
    old << in.rdbuf();
    if (old.str() == text) return;  // keep the timestamp: no needless recompilation
  }
  WriteText(path, text);
}

}  // namespace
}  // namespace assetgen

int main(int argc, char** argv) {
  std::filesystem::path out = ".";
  std::filesystem::path embed;
  std::filesystem::path contactSheet;
  std::filesystem::path icons;
  std::string only;
  bool textModels = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--out") && i + 1 < argc) {
      out = argv[++i];
    } else if (!std::strcmp(argv[i], "--embed") && i + 1 < argc) {
      embed = argv[++i];
    } else if (!std::strcmp(argv[i], "--contact-sheet") && i + 1 < argc) {
      contactSheet = argv[++i];
    } else if (!std::strcmp(argv[i], "--icons") && i + 1 < argc) {
      icons = argv[++i];
    } else if (!std::strcmp(argv[i], "--text-models")) {
      textModels = true;
    } else if (!std::strcmp(argv[i], "--only") && i + 1 < argc) {
      only = argv[++i];  // one folder: model, tex or sound
      if (only != "model" && only != "tex" && only != "sound") {
        std::fprintf(stderr, "assetgen: --only takes model, tex or sound, not %s\n", only.c_str());
        return 2;
      }
    } else {
      std::fprintf(stderr, "assetgen: unknown option %s\nusage: assetgen --out DIR [--only model|tex|sound] [--text-models] [--embed FILE.cpp] | --contact-sheet FILE.png | --icons DIR\n", argv[i]);
      return 2;
    }
  }
  try {
    if (!contactSheet.empty()) {  // only the picture for the docs
      assetgen::WriteContactSheet(contactSheet);
      return 0;
    }
    if (!icons.empty()) {  // only the icon, for installing
      assetgen::WriteIcons(icons);
      return 0;
    }
    if (only.empty() || only == "model") assetgen::GenerateModels(out, textModels);
    if (only.empty() || only == "tex") assetgen::GenerateTextures(out);
    if (only.empty() || only == "sound") {
      assetgen::GenerateSounds(out);
      assetgen::GenerateMusic(out);
    }
    if (!embed.empty()) {
      assetgen::SpriteSheets sheets = assetgen::GenerateSpriteSheets();
      std::ostringstream src;
      src << "// Made by tools/assetgen: the two sprite sheets as 24-bit BMP files.\n";
      src << "namespace kelmora::resources {\n";
      assetgen::AppendArray(src, "kMenuSheetBmp", sheets.menuSheet);
      assetgen::AppendArray(src, "kCharacterSheetBmp", sheets.characterSheet);
      src << "}  // namespace kelmora::resources\n";
      assetgen::WriteIfChanged(embed, src.str());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "assetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
