// Finding things in a manager's loaded skin: a section's index by name, the index of a
// section's picture, texture or JPEG pattern by key (falling back on the section's
// PARENTCLASS chain), the border widths and glyph cell of a picture, the skin's common
// colours, and the indexes the manager keeps ready after every load. Names are compared
// exactly; -1 means "not found".
//
//   int s = SectionIndexByName(manager, "BUTTON");
//   int border = MaskIndexByName(manager, s, "BUTTON", "BORDERSMASK");
//   if (MaskIndexValid(manager, border)) left = MaskBorderLeft(manager, border);
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "framework/gdi.h"

class TsSkinManager;

int SectionIndexByName(const TsSkinManager* manager, std::string_view section);
// True when the manager has a loaded skin and 0 <= index < the number of sections.
bool SectionIndexValid(const TsSkinManager* manager, int index);
bool MaskIndexValid(const TsSkinManager* manager, int index);

// The picture of exactly that section and key; no PARENTCLASS fallback.
int MaskIndexExact(const TsSkinManager* manager, std::string_view section, std::string_view key);
// `sectionIndex` must be the index of `section`: it leads to the section's PARENTCLASS when
// the section has no such picture itself.
int MaskIndexByName(const TsSkinManager* manager, int sectionIndex, std::string_view section, std::string_view key);
// As MaskIndexByName, among the pictures read as textures.
int TextureIndex(const TsSkinManager* manager, int sectionIndex, std::string_view section, std::string_view key);
// As MaskIndexByName, among the JPEG patterns.
int PatternIndex(const TsSkinManager* manager, int sectionIndex, std::string_view section, std::string_view key);

// A picture's border on that side: its own WL/WT/WR/WB, else its BORDERWIDTH, else one
// state picture's width (left, right) or height (top, bottom). 0 for an invalid index.
int MaskBorderLeft(const TsSkinManager* manager, int maskIndex);
int MaskBorderTop(const TsSkinManager* manager, int maskIndex);
int MaskBorderRight(const TsSkinManager* manager, int maskIndex);
int MaskBorderBottom(const TsSkinManager* manager, int maskIndex);
// One glyph cell: a third of an own picture's width and half its height, else one state.
SIZE GlyphCellSize(const TsSkinManager* manager, int maskIndex);

// GLOBALINFO's colour as RGB; the button face without GLOBALINFO.
TColor GlobalInfoColor(const TsSkinManager* manager);
// GLOBALINFO's font colour as RGB; 0xFF00FF without GLOBALINFO.
TColor GlobalInfoFontColor(const TsSkinManager* manager);
// GLOBALINFO's hot colour as RGB; the window colour without GLOBALINFO.
TColor GlobalInfoHotColor(const TsSkinManager* manager);
// "EDIT"'s hot font colour as RGB; 0xFF00FF without that section.
TColor EditHotFontColor(const TsSkinManager* manager);
// "MENUITEM"'s hot colour as RGB, or clHighlight when the skin gives none usable.
TColor MenuHighlightColor(const TsSkinManager* manager);
// "MENUITEM"'s hot font colour as RGB, or clHighlightText when the skin gives none usable.
TColor MenuHighlightTextColor(const TsSkinManager* manager);

// How many sections and pictures the look-ups that search the whole skin have passed over so
// far (an upper count; GUI thread only): lets a test see that a load's look-ups stay in
// proportion to the skin.
int64_t LookupEntriesScanned();

// Fills every section's BorderIndex and corner picture indexes (GLOBALINFO's excepted).
void CacheSectionBorderIndexes(TsSkinManager& manager);
// Refills the manager's FixedIndexes.
void CacheFixedIndexes(TsSkinManager& manager);
