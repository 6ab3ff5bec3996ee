#include "skin/engine/skin_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/picture_png.h"
#include "framework/text_utils.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/gradients.h"
#include "skin/engine/parent_chain.h"
#include "skin/engine/png_graphic.h"
#include "skin/engine/skin_manager.h"

const TacImageItem* TSkinSource::PackedPicture(const std::string& name) const {
  if (!Packed) return nullptr;
  if (!indexed_) {
    for (const TacImageItem& item : Packed->ImageItems) packedIndex_.try_emplace(efir::AnsiUpperCase(item.Name), &item);
    indexed_ = true;
  }
  auto found = packedIndex_.find(name);
  return found == packedIndex_.end() ? nullptr : found->second;
}

namespace efir::skin {
namespace {

constexpr TColor kKeyColor = 0xFF00FF;
// A JPEG smaller than this many pixels is tiled as a texture rather than kept as a pattern.
constexpr int kMinPatternPixels = 90000;

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }
bool IsGlobalInfo(std::string_view section) { return AnsiUpperCase(section) == "GLOBALINFO"; }

std::vector<std::string> Split(std::string_view text, std::string_view separators) {
  std::vector<std::string> words;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of(separators, pos);
    if (end == std::string_view::npos) end = text.size();
    if (end > pos) words.emplace_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return words;
}

// The number in the 1-based columns from..to of a value; too short or no number fails.
int Columns(std::string_view value, size_t from, size_t to) {
  std::string_view part = from - 1 < value.size() ? value.substr(from - 1, to - from + 1) : std::string_view{};
  return StrictInteger(part);
}

// ---------------------------------------------------------------- pictures

// Hands the bytes of a picture to decode(data, size): a container entry, else a file. False
// when the picture is missing.
template <class Decode>
bool ReadPictureBytes(const TSkinSource& source, const std::string& name, Decode decode) {
  if (source.Packed) {
    const TacImageItem* item = source.PackedPicture(name);
    if (!item) return false;
    decode(item->Data->Memory(), static_cast<size_t>(item->Data->Size()));
    return true;
  }
  std::string path = Contains(name, ":") ? name : source.SkinPath + name;
  if (!FileExists(path)) return false;
  TMemoryStream bytes;
  bytes.LoadFromFile(path);
  decode(bytes.Memory(), static_cast<size_t>(bytes.Size()));
  return true;
}

static_assert(MaxDecodedSkinSize == 512 * 1024 * 1024, "the message below names the limit");

int64_t PictureBytes(const TBitmap& picture) {
  const int bits = picture.PixelFormat() == pf1bit ? 1 : picture.PixelFormat() == pf8bit ? 8
                   : picture.PixelFormat() == pf24bit ? 24 : 32;
  return (int64_t{picture.Width()} * bits + 31) / 32 * 4 * picture.Height();
}

// Counts a picture the source now holds against the skin's decoded total.
void Hold(const TSkinSource& source, const TBitmap& picture) {
  source.Decoded.Bytes += PictureBytes(picture);
  if (source.Decoded.Bytes > MaxDecodedSkinSize) throw Exception("Skin pictures decode to more than 512 MiB");
}

// Decodes a picture by the kind its name says: PNG into 32 bits with alpha, anything else as
// a Windows bitmap. Null when it is missing.
std::unique_ptr<TBitmap> LoadPicture(const TSkinSource& source, const std::string& name) {
  auto bitmap = std::make_unique<TBitmap>();
  const bool png = Contains(AnsiUpperCase(name), ".PNG");
  bool found = ReadPictureBytes(source, name, [&](const uint8_t* data, size_t size) {
    ++source.Decoded.Decodes;
    if (png)
      DecodePng(data, size, *bitmap);  // straight into the skin's picture: no second copy
    else
      bitmap->LoadFromMemory(data, size);
  });
  if (!found) return nullptr;
  if (png) ClearWhiteTransparentPixels(bitmap.get());
  Hold(source, *bitmap);
  return bitmap;
}

// The picture as decoded, or as a 24-bit copy, shared by every entry that names it.
std::shared_ptr<TBitmap> SharedPicture(const TSkinSource& source, const std::string& name, bool as24bit) {
  auto& pictures = source.Decoded.Bitmaps;
  const auto key = std::make_pair(name, as24bit);
  if (auto found = pictures.find(key); found != pictures.end()) return found->second;
  std::shared_ptr<TBitmap> picture;
  if (!as24bit) {
    picture = LoadPicture(source, name);
  } else {
    picture = SharedPicture(source, name, false);
    if (picture && !picture->Empty() && picture->PixelFormat() != pf24bit) {
      auto copy = std::make_shared<TBitmap>();
      copy->Assign(*picture);
      copy->SetPixelFormat(pf24bit);
      Hold(source, *copy);
      picture = std::move(copy);
    }
  }
  pictures.emplace(key, picture);
  return picture;
}

std::shared_ptr<TJPEGImage> SharedJpeg(const TSkinSource& source, const std::string& name) {
  auto& jpegs = source.Decoded.Jpegs;
  if (auto found = jpegs.find(name); found != jpegs.end()) return found->second;
  auto jpeg = std::make_shared<TJPEGImage>();
  const bool found = ReadPictureBytes(source, name, [&](const uint8_t* data, size_t size) {
    ++source.Decoded.Decodes;
    jpeg->LoadFromMemory(data, size);
  });
  if (found)
    Hold(source, jpeg->Bitmap());
  else
    jpeg.reset();
  jpegs.emplace(name, jpeg);
  return jpeg;
}

// A small JPEG tiled as a texture: a 24-bit copy of the picture, shared as the picture is.
std::shared_ptr<TBitmap> SharedJpegTexture(const TSkinSource& source, const std::string& name, const TJPEGImage& jpeg) {
  auto& textures = source.Decoded.JpegTextures;
  if (auto found = textures.find(name); found != textures.end()) return found->second;
  auto texture = std::make_shared<TBitmap>();
  texture->Assign(jpeg.Bitmap());
  texture->SetPixelFormat(pf24bit);
  Hold(source, *texture);
  textures.emplace(name, texture);
  return texture;
}

// ---------------------------------------------------------------- masks

// Border widths from the size of one state: a third of its width and height. A count that
// leaves no states gives 0 rather than dividing by it.
void WidthsFromStateSize(TsMaskData& m, int width, int height) {
  int across = m.ImageCount * 3, down = (m.MaskType + 1) * 3;
  m.WL = m.WR = across > 0 ? width / across : 0;
  m.WT = m.WB = down > 0 ? height / down : 0;
}

// Zero widths take the common border width, else follow from the state size.
void DefaultWidths(TsMaskData& m) {
  if (m.WL != 0 || m.WT != 0 || m.WR != 0 || m.WB != 0) return;
  if (m.BorderWidth != 0)
    m.WL = m.WT = m.WR = m.WB = m.BorderWidth;
  else
    WidthsFromStateSize(m, m.R.right - m.R.left, m.R.bottom - m.R.top);
}

RECT ColumnRect(std::string_view v) {
  return {Columns(v, 2, 5), Columns(v, 7, 10), Columns(v, 12, 15), Columns(v, 17, 20)};
}

class MaskReader {
 public:
  MaskReader(TsSkinManager& manager, const TSkinSource& source) : manager_(manager), source_(source) {}

  void Read(const std::string& section, const std::string& key, const std::string& value) {
    switch (value[0]) {
      case '!': return SeparatePicture(section, key, value);
      case '@': return MasterGlyph(section, key, value);
      case '^': return MasterFrame(section, key, value);
      case '~': return MasterTexture(section, key, value);
      default: break;
    }
    if (!Contains(value, "#"))
      WholeBitmap(section, key, value);
    else if (value != "#")
      OlderSyntax(section, key, value);
  }

  // A value naming a whole bitmap used as a frame of three states with one mask row.
  void WholeBitmap(const std::string& section, const std::string& key, const std::string& value) {
    std::string name = AnsiUpperCase(value);
    if (!Contains(name, ".BMP")) return;
    auto picture = SharedPicture(source_, name, true);
    if (!picture || picture->Width() == 0) return;
    TsMaskData& m = Add(AnsiUpperCase(section), AnsiUpperCase(key));
    m.R = {0, 0, picture->Width(), picture->Height()};
    m.Image = std::move(picture);
    m.ImageCount = 3;
    m.MaskType = 1;
    WidthsFromStateSize(m, m.R.right, m.R.bottom);
  }

  // "(Left,Top,Right,Bottom) (ImageCount,MaskType[,BorderWidth[,StretchMode]])" in the master
  // bitmap.
  void OlderSyntax(const std::string& section, const std::string& key, const std::string& value) {
    std::vector<std::string> words = Split(value, " ()");
    std::vector<std::string> rect = words.size() > 1 ? Split(words[1], ", ") : std::vector<std::string>{};
    std::vector<std::string> counts = words.size() > 2 ? Split(words[2], ", ") : std::vector<std::string>{};
    rect.resize(4);
    counts.resize(std::max<size_t>(counts.size(), 2));
    TsMaskData m;
    m.R = {StrictInteger(rect[0]), StrictInteger(rect[1]), StrictInteger(rect[2]), StrictInteger(rect[3])};
    m.ImageCount = std::max(1, StrictInteger(counts[0]));
    m.MaskType = std::max(0, StrictInteger(counts[1]));
    m.BorderWidth = counts.size() > 2 ? std::max(0, StrictInteger(counts[2])) : 0;
    m.StretchMode = counts.size() > 3 ? StrictInteger(counts[3]) : 1;
    m.ImgType = itisaBorder;
    DefaultWidths(m);
    Append(std::move(m), AnsiUpperCase(section), AnsiUpperCase(key));
  }

 private:
  TsMaskData& Add(std::string section, std::string key) { return Append(TsMaskData{}, std::move(section), std::move(key)); }

  TsMaskData& Append(TsMaskData m, std::string section, std::string key) {
    m.SectionName = std::move(section);
    m.PropertyName = std::move(key);
    m.Manager = &manager_;
    return manager_.Masks.emplace_back(std::move(m));
  }

  void SeparatePicture(const std::string& section, const std::string& key, const std::string& value) {
    std::vector<std::string> words = Split(value, "!");
    if (words.empty()) return;
    const std::string& name = words[0];
    if (!Contains(name, ".BMP") && !Contains(name, ".PNG")) return;
    words.resize(std::max<size_t>(words.size(), 4));
    int count = StrictInteger(words[1]);
    int maskType = StrictInteger(words[2]);
    auto type = static_cast<TacImgType>(std::clamp(StrictInteger(words[3]), 0, 4));
    auto picture = SharedPicture(source_, name, !Contains(name, ".PNG") && type != itisaTexture);
    if (!picture || picture->Width() == 0) return;
    TsMaskData& m = Add(section, key);
    m.R = {0, 0, picture->Width(), picture->Height()};
    m.Image = std::move(picture);
    m.ImageCount = count;
    m.MaskType = maskType;
    m.ImgType = type;
    m.StretchMode = 4;
    if (words.size() > 4) {
      words.resize(8);
      auto word = [&](size_t i) { return words[i].empty() ? 0 : StrictInteger(words[i]); };
      m.WL = word(4), m.WT = word(5), m.WR = word(6), m.WB = word(7);
    } else {
      WidthsFromStateSize(m, m.R.right, m.R.bottom);
    }
  }

  void MasterGlyph(const std::string& section, const std::string& key, const std::string& value) {
    TsMaskData m;
    m.R = ColumnRect(value);
    m.ImageCount = Columns(value, 22, 22);
    m.MaskType = Columns(value, 24, 24);
    m.ImgType = itisaGlyph;
    Append(std::move(m), section, key);
  }

  void MasterFrame(const std::string& section, const std::string& key, const std::string& value) {
    TsMaskData m;
    m.R = ColumnRect(value);
    m.WL = Columns(value, 22, 25);
    m.WT = Columns(value, 27, 30);
    m.WR = Columns(value, 32, 35);
    m.WB = Columns(value, 37, 40);
    m.ImageCount = Columns(value, 42, 42);
    m.MaskType = Columns(value, 44, 44);
    m.StretchMode = Columns(value, 46, 46);
    m.BorderWidth = Columns(value, 48, 48);
    m.ImgType = itisaBorder;
    DefaultWidths(m);
    Append(std::move(m), section, key);
  }

  void MasterTexture(const std::string& section, const std::string& key, const std::string& value) {
    TsMaskData m;
    m.R = ColumnRect(value);
    m.ImageCount = 1;
    m.StretchMode = Columns(value, 22, 23);
    m.MaskType = value.size() >= 25 ? Columns(value, 25, 25) : 0;
    m.ImgType = itisaTexture;
    Append(std::move(m), section, key);
  }

  TsSkinManager& manager_;
  const TSkinSource& source_;
};

// A JPEG value: a pattern, or a texture mask when the picture is small.
void ReadJpeg(TsSkinManager& manager, const TSkinSource& source, const std::string& section,
              const std::string& key, const std::string& name, bool smallAsTexture) {
  auto jpeg = SharedJpeg(source, name);
  if (!jpeg || jpeg->Width() == 0) return;
  if (smallAsTexture && jpeg->Width() * jpeg->Height() < kMinPatternPixels) {
    TsMaskData m;
    m.Image = SharedJpegTexture(source, name, *jpeg);
    m.ImageCount = 1;
    m.ImgType = itisaTexture;
    m.SectionName = AnsiUpperCase(section);
    m.PropertyName = AnsiUpperCase(key);
    m.Manager = &manager;
    manager.Masks.push_back(std::move(m));
    return;
  }
  manager.Patterns.push_back({std::move(jpeg), AnsiUpperCase(section), AnsiUpperCase(key)});
}

std::string JpegName(const std::string& value) {
  std::string upper = AnsiUpperCase(value);
  return Contains(upper, ".JPG") || Contains(upper, ".JPEG") ? upper : std::string();
}

// ---------------------------------------------------------------- sections

// Where the values of one section come from; nullptr and nullopt mean "not given here". A
// text is the skin text's own value, so that one value inherited by many sections is one
// string.
class SectionValues {
 public:
  virtual ~SectionValues() = default;
  virtual const std::string* Text(std::string_view key) const = 0;
  virtual std::optional<int> Integer(std::string_view key) const = 0;
};

// The sections of the skin's text, whose missing keys come from their PARENTCLASS chains. A
// stored "?" or -1 counts as missing. A chain stops at a section met before, so sections
// naming each other end with the key's default. Each key is resolved for all sections at
// once, the first time it is asked for.
class InheritedSections {
 public:
  explicit InheritedSections(const TMemIniFile& ini) : ini_(ini), parents_(ParentIndexes(ini)) {}

  // Resolved as the section that gives the text, so no text is copied per section.
  const std::string* Text(int section, std::string_view key) {
    const std::optional<int> owner = Resolved(textOwners_, key, [&](int s) {
      const std::string* v = ini_.Value(s, key);
      return v && *v != "?" ? std::optional<int>(s) : std::nullopt;
    })[static_cast<size_t>(section)];
    return owner ? ini_.Value(*owner, key) : nullptr;
  }
  std::optional<int> Integer(int section, std::string_view key) {
    return Resolved(integers_, key, [&](int s) {
      const std::string* v = ini_.Value(s, key);
      std::optional<int> n = v ? ParseInteger(*v) : std::nullopt;
      return n && *n != -1 ? n : std::nullopt;
    })[static_cast<size_t>(section)];
  }

 private:
  template <class T>
  using Table = std::map<std::string, std::vector<std::optional<T>>, std::less<>>;

  template <class T, class Own>
  const std::vector<std::optional<T>>& Resolved(Table<T>& tables, std::string_view key, Own own) {
    auto known = tables.find(key);
    if (known == tables.end()) known = tables.emplace(std::string(key), ResolveAlongParents<T>(parents_, own)).first;
    return known->second;
  }

  // A parent that is missing, "?", or the section itself ends the chain.
  static std::vector<int> ParentIndexes(const TMemIniFile& ini) {
    std::vector<int> parents(static_cast<size_t>(ini.SectionCount()), -1);
    for (int s = 0; s < ini.SectionCount(); ++s) {
      const std::string* name = ini.Value(s, "PARENTCLASS");
      int parent = name && *name != "?" ? ini.SectionIndex(*name) : -1;
      if (parent != s) parents[static_cast<size_t>(s)] = parent;
    }
    return parents;
  }

  const TMemIniFile& ini_;
  std::vector<int> parents_;
  Table<int> textOwners_;
  Table<int> integers_;
};

// One section of the skin's text, with its inherited values.
class InheritedValues : public SectionValues {
 public:
  InheritedValues(InheritedSections& all, int section) : all_(all), section_(section) {}
  const std::string* Text(std::string_view key) const override { return all_.Text(section_, key); }
  std::optional<int> Integer(std::string_view key) const override { return all_.Integer(section_, key); }

 private:
  InheritedSections& all_;
  int section_;
};

// A section of the CommonSections overlay, read without inheritance.
class OverlayValues : public SectionValues {
 public:
  OverlayValues(const TMemIniFile& ini, std::string section) : ini_(ini), section_(std::move(section)) {}
  const std::string* Text(std::string_view key) const override {
    const std::string* v = ini_.Value(ini_.SectionIndex(section_), key);
    return v && *v != "?" ? v : nullptr;
  }
  std::optional<int> Integer(std::string_view key) const override {
    int v = ini_.ReadInteger(section_, key, -1);
    return v == -1 ? std::nullopt : std::optional<int>(v);
  }

 private:
  const TMemIniFile& ini_;
  std::string section_;
};

struct IntegerKey {
  const char* Key;
  int TsGeneralData::*Field;
};

constexpr IntegerKey kIntegerKeys[] = {
    {"TRANSPARENCY", &TsGeneralData::Transparency},
    {"GRADIENTPERCENT", &TsGeneralData::GradientPercent},
    {"IMAGEPERCENT", &TsGeneralData::ImagePercent},
    {"FADINGITERATIONS", &TsGeneralData::FadingIterations},
    {"HOTCOLOR", &TsGeneralData::HotColor},
    {"HOTTRANSPARENCY", &TsGeneralData::HotTransparency},
    {"HOTGRADIENTPERCENT", &TsGeneralData::HotGradientPercent},
    {"HOTIMAGEPERCENT", &TsGeneralData::HotImagePercent},
    {"GLOW", &TsGeneralData::GlowCount},
    {"GLOWMARGIN", &TsGeneralData::GlowMargin},
};

struct BooleanKey {
  const char* Key;
  bool TsGeneralData::*Field;
};

constexpr BooleanKey kBooleanKeys[] = {
    {"SHOWFOCUS", &TsGeneralData::ShowFocus},
    {"FADINGENABLED", &TsGeneralData::FadingEnabled},
    {"RESERVEDBOOLEAN", &TsGeneralData::ReservedBoolean},
    {"GIVEOWNFONT", &TsGeneralData::GiveOwnFont},
};

constexpr const char* kFontKeys[5] = {"FONTCOLOR", "TCLEFT", "TCTOP", "TCRIGHT", "TCBOTTOM"};
constexpr const char* kHotFontKeys[5] = {"HOTFONTCOLOR", "HOTTCLEFT", "HOTTCTOP", "HOTTCRIGHT", "HOTTCBOTTOM"};

// Each gradient text of a skin held and parsed once, however many sections inherit it.
class SharedGradients {
 public:
  // The one shared copy of a value of the skin's text.
  TsSharedText Text(const std::string& value) {
    auto [known, added] = texts_.try_emplace(&value);
    if (added) known->second = TsSharedText(value);
    return known->second;
  }
  // The bands of a text; " " stands for none.
  TsGradArray Bands(const TsSharedText& text) {
    if (text == " ") return {};
    auto [known, added] = bands_.try_emplace(&text.str());
    if (added) {
      known->second.first = text;  // keeps the text, and so its address, alive
      ParseGradientData(text.str(), known->second.second);
    }
    return known->second.second;
  }

 private:
  std::unordered_map<const std::string*, TsSharedText> texts_;
  std::unordered_map<const std::string*, std::pair<TsSharedText, TsGradArray>> bands_;
};

// Overwrites the fields of `g` that `values` gives, then takes the bands of both gradient
// texts.
void FillSection(TsGeneralData& g, const SectionValues& values, bool colorToRgb, SharedGradients& gradients) {
  if (auto c = values.Integer("COLOR")) g.Color = colorToRgb ? static_cast<TColor>(ColorToRGB(*c)) : *c;
  for (int i = 0; i < 5; ++i) {
    if (auto c = values.Integer(kFontKeys[i])) g.FontColor[i] = *c;
    if (auto c = values.Integer(kHotFontKeys[i])) g.HotFontColor[i] = *c;
  }
  for (const IntegerKey& k : kIntegerKeys)
    if (auto v = values.Integer(k.Key)) g.*k.Field = *v;
  for (const BooleanKey& k : kBooleanKeys)
    if (auto v = values.Text(k.Key)) g.*k.Field = IsTrue(*v);
  if (auto t = values.Text("GRADIENTDATA")) g.GradientData = gradients.Text(*t);
  if (auto t = values.Text("HOTGRADIENTDATA")) g.HotGradientData = gradients.Text(*t);
  g.GradientArray = gradients.Bands(g.GradientData);
  g.HotGradientArray = gradients.Bands(g.HotGradientData);
}

// A stored text of five colours; any other number of words gives the plain defaults.
std::array<TColor, 5> FiveColours(const std::string& text) {
  std::vector<std::string> words = Split(text, " ");
  if (words.size() != 5) return {0, -1, -1, -1, -1};
  std::array<TColor, 5> colours{};
  for (size_t i = 0; i < 5; ++i) colours[i] = StrictInteger(words[i]);
  return colours;
}

std::optional<double> ParseVersion(std::string_view text) {
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

void ShowVersionNotice(const TsSkinData& skin) {
  if (skin.Version <= 255.0 || !SkinVersionNotice) return;
  SkinVersionNotice("This version of the skin have not complete support by used skin engine package release.\r\n"
                    "Components must be updated up to latest version for using this skin.");
}

}  // namespace

void ReadSkinMasks(TsSkinManager& manager, const TSkinSource& source) {
  manager.Masks.clear();
  manager.MasterBitmap = std::make_unique<TBitmap>();
  std::string master = source.Ini.ReadString("GLOBALINFO", "MASTERBITMAP", "");
  if (!master.empty())
    if (auto picture = LoadPicture(source, master)) manager.MasterBitmap = std::move(picture);
  manager.MasterBitmap->SetPixelFormat(pf24bit);
  manager.MasterBitmap->SetTransparentColor(kKeyColor);
  manager.MasterBitmap->SetTransparent(true);

  MaskReader reader(manager, source);
  for (const std::string& section : source.Ini.Sections())
    for (const auto& [key, value] : source.Ini.SectionValues(section)) {
      if (value.empty() || (IsGlobalInfo(section) && AnsiUpperCase(key) == "MASTERBITMAP")) continue;
      reader.Read(section, key, value);
    }
}

void ReadSkinPatterns(TsSkinManager& manager, const TSkinSource& source) {
  manager.Patterns.clear();
  for (const std::string& section : source.Ini.Sections())
    for (const auto& [key, value] : source.Ini.SectionValues(section)) {
      std::string name = JpegName(value);
      if (!name.empty()) ReadJpeg(manager, source, section, key, name, true);
    }
}

std::function<void(const std::string& text)> SkinVersionNotice = [](const std::string& text) {
  Application.QueueCall([text] { ShowSkinWarning(text); });
};

void ReadGlobalInfo(TsSkinData& skin, const TSkinSource& source) {
  const TMemIniFile& ini = source.Ini;
  const char* g = "GLOBALINFO";
  auto integer = [&](const char* key, int fallback) { return ini.ReadInteger(g, key, fallback); };
  auto strict = [&](const char* key, const char* fallback) { return StrictInteger(ini.ReadString(g, key, fallback)); };
  skin.Version = ParseVersion(ini.ReadString(g, "VERSION", "")).value_or(0);
  skin.Author = ini.ReadString(g, "AUTHOR", "");
  skin.Description = ini.ReadString(g, "DESCRIPTION", "");
  skin.BorderWidth = integer("BORDERWIDTH", 4);
  skin.TitleHeight = integer("TITLEHEIGHT", 30);
  skin.MaxHeight = integer("MAXHEIGHT", 0);
  if (skin.MaxHeight == 0) skin.MaxHeight = skin.TitleHeight;
  skin.FormOffset = integer("FORMOFFSET", 8);
  skin.CenterOffset = integer("CENTEROFFSET", 0);
  skin.BorderMode = integer("BORDERMODE", 0);
  skin.Shadow1Color = integer("SHADOW1COLOR", 0);
  skin.Shadow1Offset = strict("SHADOW1OFFSET", "0");
  skin.Shadow1Blur = strict("SHADOW1BLUR", "-1");
  skin.Shadow1Transparency = strict("SHADOW1TRANSPARENCY", "0");
  skin.BISpace = integer("BISPACE", 0);
  skin.BIVAlign = integer("BIVALIGN", 0);
  skin.BIRight = integer("BIRIGHT", 0);
  skin.BILeft = integer("BILEFT", 0);
  skin.BorderColor = integer("BORDERCOLOR", 0);
  skin.BIKeepHue = integer("BIKEEPHUE", 0);
  skin.BICloseGlow = strict("BICONCLOSEGLOW", "0");
  skin.BICloseGlowMargin = strict("BICONCLOSEGLOWMARGIN", "0");
  skin.BIMaxGlow = strict("BICONMAXGLOW", "0");
  skin.BIMaxGlowMargin = strict("BICONMAXGLOWMARGIN", "0");
  skin.BIMinGlow = strict("BICONMINGLOW", "0");
  skin.BIMinGlowMargin = strict("BICONMINGLOWMARGIN", "0");
  ShowVersionNotice(skin);
}

void ReadSkinSections(TsGeneralDataArray& sections, const TMemIniFile& ini) {
  sections.clear();
  InheritedSections inherited(ini);
  SharedGradients gradients;
  const std::vector<std::string> names = ini.Sections();
  for (int i = 0; i < static_cast<int>(names.size()); ++i) {
    TsGeneralData g;
    g.SectionName = names[static_cast<size_t>(i)];
    const std::string* parent = ini.Value(i, "PARENTCLASS");
    g.ParentClass = parent ? *parent : std::string();
    FillSection(g, InheritedValues(inherited, i), true, gradients);
    sections.push_back(std::move(g));
  }
}

void ReadStoredSkin(TsSkinManager& manager, const TsStoredSkin& stored) {
  manager.Masks.clear();
  manager.MasterBitmap = std::make_unique<TBitmap>();
  manager.MasterBitmap->Assign(stored.MasterBitmap);
  manager.MasterBitmap->SetPixelFormat(pf24bit);
  manager.MasterBitmap->SetTransparentColor(kKeyColor);
  manager.MasterBitmap->SetTransparent(true);
  for (int i = 0; i < stored.Images.Count(); ++i) {
    const TsSkinImage& item = stored.Images.Items(i);
    TsMaskData m;
    if (!item.Name.empty()) {
      m.Image = std::make_unique<TBitmap>();
      m.Image->Assign(item.Image);
      m.Image->SetPixelFormat(pf24bit);
      m.R = {0, 0, m.Image->Width(), m.Image->Height()};
    } else {
      m.R = {item.Left, item.Top, item.Right, item.Bottom};
    }
    m.SectionName = AnsiUpperCase(item.SectionName);
    m.PropertyName = AnsiUpperCase(item.PropertyName);
    m.ImageCount = item.ImageCount;
    m.MaskType = item.MaskType;
    if (m.ImageCount == 0) m.ImageCount = 3, m.MaskType = 1;
    m.BorderWidth = item.BorderWidth;
    m.StretchMode = item.StretchMode;
    m.ImgType = item.ImgType;
    m.WL = item.WL, m.WT = item.WT, m.WR = item.WR, m.WB = item.WB;
    DefaultWidths(m);
    m.Manager = &manager;
    manager.Masks.push_back(std::move(m));
  }

  manager.Patterns.clear();
  for (int i = 0; i < stored.Patterns.Count(); ++i) {
    const TsSkinPattern& item = stored.Patterns.Items(i);
    const TsSkinPattern* source = &item;
    if (item.Image.Empty()) {
      source = nullptr;
      for (int j = 0; j < stored.Patterns.Count() && !source; ++j) {
        const TsSkinPattern& other = stored.Patterns.Items(j);
        if (j != i && other.Name == item.Name && !other.Image.Empty()) source = &other;
      }
    }
    auto jpeg = std::make_unique<TJPEGImage>();
    if (source) jpeg->Assign(source->Image);
    manager.Patterns.push_back({std::move(jpeg), AnsiUpperCase(item.SectionName), AnsiUpperCase(item.PropertyName)});
  }

  TsSkinData& skin = manager.LoadedSkin;
  skin.Version = stored.Version;
  skin.Author = stored.Author;
  skin.Description = stored.Description;
  skin.Shadow1Color = stored.Shadow1Color;
  skin.Shadow1Offset = stored.Shadow1Offset;
  skin.Shadow1Blur = stored.Shadow1Blur;
  skin.Shadow1Transparency = stored.Shadow1Transparency;
  skin.BorderColor = stored.BorderColor;
  ShowVersionNotice(skin);

  manager.GeneralData.clear();
  for (int i = 0; i < stored.GeneralData.Count(); ++i) {
    const TsSkinGeneral& item = stored.GeneralData.Items(i);
    TsGeneralData g;
    g.SectionName = item.SectionName;
    g.ParentClass = item.ParentClass;
    g.Color = item.Color;
    g.ReservedBoolean = item.ReservedBoolean;
    g.FontColor = FiveColours(item.FontColor);
    g.HotFontColor = FiveColours(item.HotFontColor);
    g.Transparency = item.Transparency;
    g.GlowCount = item.GlowCount;
    g.GlowMargin = item.GlowMargin;
    g.GradientPercent = item.GradientPercent;
    g.GradientData = TsSharedText(item.GradientData);
    g.ImagePercent = item.ImagePercent;
    g.ShowFocus = item.ShowFocus;
    g.FadingEnabled = item.FadingEnabled;
    g.FadingIterations = item.FadingIterations;
    g.HotColor = item.HotColor;
    g.HotTransparency = item.HotTransparency;
    g.HotGradientPercent = item.HotGradientPercent;
    g.HotGradientData = TsSharedText(item.HotGradientData);
    g.HotImagePercent = item.HotImagePercent;
    g.GiveOwnFont = item.GiveOwnFont;
    ParseGradientData(g.GradientData.str(), g.GradientArray);
    ParseGradientData(g.HotGradientData.str(), g.HotGradientArray);
    manager.GeneralData.push_back(std::move(g));
  }
}

void ReadCommonSections(TsSkinManager& manager, const TMemIniFile& overlay, const std::string& skinPath) {
  TSkinSource files;
  files.SkinPath = skinPath;
  bool hasMaster = manager.MasterBitmap && !manager.MasterBitmap->Empty();
  MaskReader masks(manager, files);
  for (const std::string& section : overlay.Sections()) {
    if (IsGlobalInfo(section)) continue;
    for (const auto& [key, value] : overlay.SectionValues(section)) {
      if (!hasMaster || !Contains(value, "#"))
        masks.WholeBitmap(section, key, value);
      else if (value != "#")
        masks.OlderSyntax(section, key, value);
    }
  }
  for (const std::string& section : overlay.Sections())
    for (const auto& [key, value] : overlay.SectionValues(section)) {
      std::string name = JpegName(value);
      if (!name.empty()) ReadJpeg(manager, files, section, key, name, false);
    }

  SharedGradients gradients;
  for (const std::string& name : overlay.Sections()) {
    bool known = std::any_of(manager.GeneralData.begin(), manager.GeneralData.end(),
                             [&](const TsGeneralData& g) { return g.SectionName == name; });
    if (known) continue;
    std::string parentClass = AnsiUpperCase(overlay.ReadString(name, "PARENTCLASS", "-1"));
    auto parent = std::find_if(manager.GeneralData.begin(), manager.GeneralData.end(),
                               [&](const TsGeneralData& g) { return AnsiUpperCase(g.SectionName) == parentClass; });
    TsGeneralData g = parent != manager.GeneralData.end() ? *parent : TsGeneralData{};
    g.SectionName = name;
    g.ParentClass = parentClass;
    g.BorderIndex = g.ImgTL = g.ImgTR = g.ImgBL = g.ImgBR = -1;
    FillSection(g, OverlayValues(overlay, name), false, gradients);
    manager.GeneralData.push_back(std::move(g));
  }
}

}  // namespace efir::skin
