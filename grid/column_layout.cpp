#include "grid/column_layout.h"

#include <charconv>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <typeinfo>
#include <type_traits>
#include <vector>

#include "framework/text_encoding.h"
#include "grid/column_kinds.h"
#include "grid/column_parts.h"
#include "grid/grid_control.h"

namespace grid {
namespace {

// --- values as text ---

std::string Quote(const std::wstring& value) {
  std::string out = "\"";
  for (char c : efir::text::toUtf8(value)) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

std::wstring Unquote(std::string_view text) {
  if (text.size() < 2 || text.front() != '"' || text.back() != '"')
    throw EGridLayoutError("a quoted text is expected");
  std::string raw;
  for (size_t i = 1; i + 1 < text.size(); ++i) {
    if (text[i] == '\\' && i + 2 < text.size()) ++i;
    raw += text[i];
  }
  return efir::text::fromUtf8(raw);
}

template <class V>
std::string Encode(const V& value) {
  if constexpr (std::is_same_v<V, std::wstring>) {
    return Quote(value);
  } else if constexpr (std::is_same_v<V, std::string>) {
    return Quote(efir::text::fromAnsi(value));
  } else if constexpr (std::is_same_v<V, bool>) {
    return value ? "True" : "False";
  } else {
    char buffer[40];
    std::to_chars_result written;
    if constexpr (std::is_floating_point_v<V>)
      written = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value));
    else
      written = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(value));
    return std::string(buffer, written.ptr);
  }
}

template <class V>
V Decode(std::string_view text) {
  if constexpr (std::is_same_v<V, std::wstring>) {
    return Unquote(text);
  } else if constexpr (std::is_same_v<V, std::string>) {
    return efir::text::toAnsi(Unquote(text));
  } else if constexpr (std::is_same_v<V, bool>) {
    if (text == "True") return true;
    if (text == "False") return false;
    throw EGridLayoutError("True or False is expected");
  } else {
    using Number = std::conditional_t<std::is_enum_v<V>, long long,
                                      std::conditional_t<std::is_integral_v<V>, long long, V>>;
    Number number{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size())
      throw EGridLayoutError("a number is expected");
    return static_cast<V>(number);
  }
}

// A part's glyph: the picture as a .bmp file in hexadecimal between braces, {} when empty.
std::string EncodeGlyph(const TBitmap& glyph) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out = "{";
  if (!glyph.Empty()) {
    for (unsigned char byte : glyph.SaveToMemory()) {
      out += kDigits[byte >> 4];
      out += kDigits[byte & 15];
    }
  }
  return out + "}";
}

void DecodeGlyph(std::string_view text, TBitmap& glyph) {
  auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    throw EGridLayoutError("a glyph in hexadecimal is expected");
  };
  if (text.size() < 2 || text.front() != '{' || text.back() != '}' || text.size() % 2 != 0)
    throw EGridLayoutError("a glyph in hexadecimal is expected");
  std::string bytes;
  for (size_t i = 1; i + 1 < text.size(); i += 2)
    bytes += static_cast<char>(digit(text[i]) << 4 | digit(text[i + 1]));
  if (!bytes.empty()) glyph.LoadFromMemory(bytes.data(), bytes.size());
}

// --- what is stored of a column ---

enum TStoring { stDefault, stAlways, stWithFont };

struct Property {
  std::string name;
  // The value as text; nothing for a column of another class.
  std::function<std::optional<std::string>(TNxCustomColumn&)> get;
  std::function<void(TNxCustomColumn&, std::string_view)> set;
  TStoring storing = stDefault;
};

template <class C, class Get, class Set>
Property Prop(std::string name, Get get, Set set, TStoring storing = stDefault) {
  using V = std::decay_t<std::invoke_result_t<Get, C&>>;
  return {std::move(name),
          [get](TNxCustomColumn& column) -> std::optional<std::string> {
            auto* typed = dynamic_cast<C*>(&column);
            if (!typed) return std::nullopt;
            return Encode<V>(get(*typed));
          },
          [set](TNxCustomColumn& column, std::string_view text) {
            auto* typed = dynamic_cast<C*>(&column);
            if (!typed) throw EGridLayoutError("not a property of this column");
            set(*typed, Decode<V>(text));
          },
          storing};
}

// A property read and written through a getter and a setter of the same value type (V may
// be a const reference).
template <class C, class V>
Property Field(std::string name, V (C::*get)() const, void (C::*set)(V),
               TStoring storing = stDefault) {
  return Prop<C>(std::move(name), [get](C& c) { return (c.*get)(); },
                 [set](C& c, V v) { (c.*set)(v); }, storing);
}

using Col = TNxCustomColumn;

const std::vector<Property>& Properties() {
  static const std::vector<Property> properties = [] {
    std::vector<Property> p = {
        Field<Col>("Alignment", &Col::Alignment, &Col::SetAlignment),
        Field<Col>("AutoEdit", &Col::AutoEdit, &Col::SetAutoEdit),
        Field<Col>("BiDiMode", &Col::BiDiMode, &Col::SetBiDiMode),
        Field<Col>("Color", &Col::Color, &Col::SetColor),
        Field<Col>("Cursor", &Col::Cursor, &Col::SetCursor),
        Field<Col>("DefaultValue", &Col::DefaultValue, &Col::SetDefaultValue),
        Field<Col>("DefaultWidth", &Col::DefaultWidth, &Col::SetDefaultWidth),
        Field<Col>("DrawingOptions", &Col::DrawingOptions, &Col::SetDrawingOptions),
        Field<Col>("Enabled", &Col::Enabled, &Col::SetEnabled),
        Field<Col>("InputCaption", &Col::InputCaption, &Col::SetInputCaption),
        Field<Col>("MinWidth", &Col::MinWidth, &Col::SetMinWidth),
        Field<Col>("Options", &Col::Options, &Col::SetOptions),
        Field<Col>("Padding", &Col::Padding, &Col::SetPadding),
        Field<Col>("ParentCellColor", &Col::ParentCellColor, &Col::SetParentCellColor),
        Field<Col>("ParentFont", &Col::ParentFont, &Col::SetParentFont),
        Prop<Col>("Font.Name", [](Col& c) { return c.Font()->Name(); },
                  [](Col& c, const std::string& v) { c.Font()->SetName(v); }, stWithFont),
        Prop<Col>("Font.Height", [](Col& c) { return c.Font()->Height(); },
                  [](Col& c, int v) { c.Font()->SetHeight(v); }, stWithFont),
        Prop<Col>("Font.Color", [](Col& c) { return c.Font()->Color(); },
                  [](Col& c, TColor v) { c.Font()->SetColor(v); }, stWithFont),
        Prop<Col>("Font.Style", [](Col& c) { return c.Font()->Style(); },
                  [](Col& c, TFontStyles v) { c.Font()->SetStyle(v); }, stWithFont),
        Field<Col>("Position", &Col::Position, &Col::SetPosition, stAlways),
        Field<Col>("SlideCaption", &Col::SlideCaption, &Col::SetSlideCaption),
        Field<Col>("SlideCaptionLocation", &Col::SlideCaptionLocation,
                   &Col::SetSlideCaptionLocation),
        Field<Col>("SlideOptions", &Col::SlideOptions, &Col::SetSlideOptions),
        Field<Col>("SlideAnchors", &Col::SlideAnchors, &Col::SetSlideAnchors),
        Field<Col>("Sorted", &Col::Sorted, &Col::SetSorted),
        Field<Col>("SortKind", &Col::SortKind, &Col::SetSortKind),
        Field<Col>("SortType", &Col::SortType, &Col::SetSortType, stAlways),
        Field<Col>("VerticalAlignment", &Col::VerticalAlignment, &Col::SetVerticalAlignment),
        Field<Col>("Visible", &Col::Visible, &Col::SetVisible),
        Field<Col>("Width", &Col::Width, &Col::SetWidth),
        Field<Col>("WrapKind", &Col::WrapKind, &Col::SetWrapKind),
    };
    // The parts: always stored.
    auto part = [&p](const std::string& prefix, auto partOf) {
      p.push_back(Prop<Col>(prefix + ".Caption", [=](Col& c) { return partOf(c)->Caption(); },
                            [=](Col& c, const std::wstring& v) { partOf(c)->SetCaption(v); },
                            stAlways));
      p.push_back(Prop<Col>(prefix + ".Color", [=](Col& c) { return partOf(c)->Color(); },
                            [=](Col& c, TColor v) { partOf(c)->SetColor(v); }, stAlways));
      p.push_back(Prop<Col>(prefix + ".DisplayMode",
                            [=](Col& c) { return partOf(c)->DisplayMode(); },
                            [=](Col& c, TDisplayMode v) { partOf(c)->SetDisplayMode(v); },
                            stAlways));
      p.push_back(Prop<Col>(prefix + ".DrawingOptions",
                            [=](Col& c) { return partOf(c)->DrawingOptions(); },
                            [=](Col& c, TDrawingOptions v) { partOf(c)->SetDrawingOptions(v); },
                            stAlways));
      p.push_back(Prop<Col>(prefix + ".Hint", [=](Col& c) { return partOf(c)->Hint(); },
                            [=](Col& c, const std::wstring& v) { partOf(c)->SetHint(v); },
                            stAlways));
      p.push_back(Prop<Col>(prefix + ".Alignment",
                            [=](Col& c) { return partOf(c)->Alignment(); },
                            [=](Col& c, TAlignment v) { partOf(c)->SetAlignment(v); }, stAlways));
      p.push_back({prefix + ".Glyph",
                   [=](Col& c) -> std::optional<std::string> {
                     return EncodeGlyph(*partOf(c)->Glyph());
                   },
                   [=](Col& c, std::string_view v) {
                     TBitmap glyph;
                     DecodeGlyph(v, glyph);
                     partOf(c)->SetGlyph(glyph);
                   },
                   stAlways});
    };
    part("Header", [](Col& c) { return c.Header(); });
    part("Footer", [](Col& c) { return c.Footer(); });
    p.push_back(Prop<Col>("Header.Orientation", [](Col& c) { return c.Header()->Orientation(); },
                          [](Col& c, THeaderOrientation v) { c.Header()->SetOrientation(v); },
                          stAlways));
    p.push_back(Prop<Col>("Header.MultiLine", [](Col& c) { return c.Header()->MultiLine(); },
                          [](Col& c, bool v) { c.Header()->SetMultiLine(v); }, stAlways));
    p.push_back(Prop<Col>("Header.HideArrow", [](Col& c) { return c.Header()->HideArrow(); },
                          [](Col& c, bool v) { c.Header()->SetHideArrow(v); }, stAlways));
    p.push_back(Prop<Col>("Footer.FormulaKind", [](Col& c) { return c.Footer()->FormulaKind(); },
                          [](Col& c, TFormulaKind v) { c.Footer()->SetFormulaKind(v); },
                          stAlways));
    p.push_back(Prop<Col>("Footer.FormulaValue",
                          [](Col& c) { return c.Footer()->FormulaValue(); },
                          [](Col& c, double v) { c.Footer()->SetFormulaValue(v); }, stAlways));
    p.push_back(Prop<Col>("Footer.FormatMask", [](Col& c) { return c.Footer()->FormatMask(); },
                          [](Col& c, const std::string& v) { c.Footer()->SetFormatMask(v); },
                          stAlways));
    p.push_back(Prop<Col>("Footer.FormatMaskKind",
                          [](Col& c) { return c.Footer()->FormatMaskKind(); },
                          [](Col& c, TFormatMaskKind v) { c.Footer()->SetFormatMaskKind(v); },
                          stAlways));
    p.push_back(Prop<Col>("Footer.TextAfter", [](Col& c) { return c.Footer()->TextAfter(); },
                          [](Col& c, const std::wstring& v) { c.Footer()->SetTextAfter(v); },
                          stAlways));
    p.push_back(Prop<Col>("Footer.TextBefore", [](Col& c) { return c.Footer()->TextBefore(); },
                          [](Col& c, const std::wstring& v) { c.Footer()->SetTextBefore(v); },
                          stAlways));
    p.push_back(Prop<Col>("SlideBounds.Left", [](Col& c) { return c.SlideBounds()->Left(); },
                          [](Col& c, int v) { c.SlideBounds()->SetLeft(v); }, stAlways));
    p.push_back(Prop<Col>("SlideBounds.Top", [](Col& c) { return c.SlideBounds()->Top(); },
                          [](Col& c, int v) { c.SlideBounds()->SetTop(v); }, stAlways));
    p.push_back(Prop<Col>("SlideBounds.Width", [](Col& c) { return c.SlideBounds()->Width(); },
                          [](Col& c, int v) { c.SlideBounds()->SetWidth(v); }, stAlways));
    p.push_back(Prop<Col>("SlideBounds.Height", [](Col& c) { return c.SlideBounds()->Height(); },
                          [](Col& c, int v) { c.SlideBounds()->SetHeight(v); }, stAlways));

    using T = TNxTextColumn;
    p.push_back(Field<T>("MaxLength", &T::MaxLength, &T::SetMaxLength));
    p.push_back(Field<T>("MultiLine", &T::MultiLine, &T::SetMultiLine));
    p.push_back(Field<T>("TextAfter", &T::TextAfter, &T::SetTextAfter));
    p.push_back(Field<T>("TextBefore", &T::TextBefore, &T::SetTextBefore));
    p.push_back(Field<T>("PasswordChar", &T::PasswordChar, &T::SetPasswordChar));

    using N = TNxCustomNumberColumn;
    p.push_back(Field<N>("EmptyCaption", &N::EmptyCaption, &N::SetEmptyCaption));
    p.push_back(Field<N>("EmptyValue", &N::EmptyValue, &N::SetEmptyValue));
    p.push_back(Field<N>("FormatMask", &N::FormatMask, &N::SetFormatMask));
    p.push_back(Field<N>("HideWhenEmpty", &N::HideWhenEmpty, &N::SetHideWhenEmpty));
    p.push_back(Field<N>("Max", &N::Max, &N::SetMax));
    p.push_back(Field<N>("Min", &N::Min, &N::SetMin));
    p.push_back(Field<N>("TextAfter", &N::TextAfter, &N::SetTextAfter));
    p.push_back(Field<N>("TextBefore", &N::TextBefore, &N::SetTextBefore));

    using G = TNxGraphicColumn;
    p.push_back(Field<G>("BorderWidth", &G::BorderWidth, &G::SetBorderWidth));
    p.push_back(Field<G>("Margin", &G::Margin, &G::SetMargin));
    p.push_back(Field<G>("Stretch", &G::Stretch, &G::SetStretch));
    return p;
  }();
  return properties;
}

// --- the column classes a layout can name ---

struct ColumnClass {
  const char* name;
  std::function<std::unique_ptr<TNxCustomColumn>()> make;
  std::function<bool(const TNxCustomColumn&)> is;
};

template <class C>
ColumnClass Class(const char* name) {
  return {name, [] { return std::make_unique<C>(); },
          [](const TNxCustomColumn& c) { return typeid(c) == typeid(C); }};
}

const std::vector<ColumnClass>& Classes() {
  static const std::vector<ColumnClass> classes = {
      Class<TNxTextColumn>("TNxTextColumn"),
      Class<TNxNumberColumn>("TNxNumberColumn"),
      Class<TNxGraphicColumn>("TNxGraphicColumn"),
  };
  return classes;
}

const ColumnClass* ClassOf(const TNxCustomColumn& column) {
  for (const ColumnClass& c : Classes())
    if (c.is(column)) return &c;
  return nullptr;
}

const ColumnClass* ClassNamed(std::string_view name) {
  for (const ColumnClass& c : Classes())
    if (name == c.name) return &c;
  return nullptr;
}

// Properties of another class of the same name (TextAfter) come after the matching one.
const Property* PropertyNamed(TNxCustomColumn& column, std::string_view name) {
  for (const Property& p : Properties())
    if (p.name == name && p.get(column)) return &p;
  return nullptr;
}

// --- reading ---

class LayoutReader {
 public:
  LayoutReader(TNxCustomGridControl& grid, const std::string& text) : grid_(grid), in_(text) {}

  void Read() {
    std::string line;
    while (std::getline(in_, line)) {
      ++number_;
      std::string_view l = Trim(line);
      if (l.empty()) continue;
      try {
        if (!attached_) Begin(l);
        else if (l == "end") End();
        else Set(l);
      } catch (const Exception& e) {
        Abandon();
        throw EGridLayoutError("Column layout, line " + std::to_string(number_) + ": " +
                               e.Message());
      }
    }
    if (attached_) {
      Abandon();
      throw EGridLayoutError("Column layout, line " + std::to_string(number_) +
                             ": the column has no end");
    }
  }

 private:
  static std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
      s.remove_suffix(1);
    return s;
  }

  // A column read only in part is not kept: it was never placed.
  void Abandon() {
    if (attached_) grid_.Columns()->Remove(std::exchange(attached_, nullptr));
  }

  void Begin(std::string_view l) {
    constexpr std::string_view kColumn = "column ";
    if (l.substr(0, kColumn.size()) != kColumn) throw EGridLayoutError("a column is expected");
    l.remove_prefix(kColumn.size());
    const size_t space = l.find(' ');
    std::string_view className = l.substr(0, space);
    const ColumnClass* kind = ClassNamed(className);
    if (!kind) throw EGridLayoutError("unknown column class \"" + std::string(className) + "\"");
    std::unique_ptr<TNxCustomColumn> column = kind->make();
    if (space != std::string_view::npos) column->Name = std::string(Trim(l.substr(space)));
    // Attached by index now, placed by position at its end.
    attached_ = grid_.Columns()->AttachRead(std::move(column));
  }

  void Set(std::string_view l) {
    const size_t space = l.find(' ');
    if (space == std::string_view::npos) throw EGridLayoutError("a value is expected");
    std::string_view name = l.substr(0, space);
    const Property* p = PropertyNamed(*attached_, name);
    if (!p) throw EGridLayoutError("unknown property \"" + std::string(name) + "\"");
    p->set(*attached_, Trim(l.substr(space)));
  }

  void End() {
    grid_.Columns()->InsertByPosition(std::exchange(attached_, nullptr));
    grid_.Columns()->UpdateLayout(false);
  }

  TNxCustomGridControl& grid_;
  std::istringstream in_;
  int number_ = 0;
  TNxCustomColumn* attached_ = nullptr;  // read now, not yet placed
};

}  // namespace

std::string WriteColumnLayout(const TNxColumns& Columns) {
  std::string out;
  for (int i = 0; i < Columns.Count(); ++i) {
    TNxCustomColumn& column = *Columns.Item(i);
    const ColumnClass* kind = ClassOf(column);
    if (!kind) continue;  // a class of the program's own: it makes it in code
    std::unique_ptr<TNxCustomColumn> fresh = kind->make();
    out += std::string("column ") + kind->name + (column.Name.empty() ? "" : " " + column.Name) +
           "\n";
    for (const Property& p : Properties()) {
      std::optional<std::string> value = p.get(column);
      if (!value) continue;
      const bool stored = p.storing == stAlways ||
                          (p.storing == stWithFont && !column.ParentFont()) ||
                          (p.storing == stDefault && *value != *p.get(*fresh));
      if (stored) out += "  " + p.name + " " + *value + "\n";
    }
    out += "end\n";
  }
  return out;
}

void ReadColumnLayout(TNxCustomGridControl& Grid, const std::string& Text) {
  Grid.SetLayoutReading(true);
  // The columns read so far take their places and sizes, whatever the end of the reading.
  struct Done {
    TNxCustomGridControl& grid;
    ~Done() {
      grid.SetLayoutReading(false);
      grid.Columns()->UpdateLayout(false);
      grid.Columns()->AutoSizeColumns(nullptr, false);
      grid.Invalidate();
    }
  } done{Grid};
  LayoutReader(Grid, Text).Read();
}

}  // namespace grid
