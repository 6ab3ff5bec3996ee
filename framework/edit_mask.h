// Edit masks: a pattern of placeholders and literal characters that lays a value out, as a
// masked input field shows it ("(999) 000-00-00;0;_" shows "4951234567" as
// "(495) 123-45-67").
//
//   efir::FormatMaskText("!99/99/0000;1;_", "01.02.2024")   // "01/02/2024"
//
// A mask has up to three fields separated by ";": the pattern; "0" when the value holds only
// the entered characters, anything else (the default) when it holds the literals too, in
// their places; the character that stands for a missing one (default "_"). In the pattern
// 0 9 # L l A a C c take one character of the value each; ">" upper-cases what follows, "<"
// lower-cases it, "<>" ends both; "!" is accepted and ignored; "\" makes the next character
// a literal; every other character is a literal.
#pragma once

#include <string>
#include <string_view>

namespace efir {

std::string FormatMaskText(std::string_view mask, std::string_view value);

}  // namespace efir
