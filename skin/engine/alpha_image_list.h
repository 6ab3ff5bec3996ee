// An image list that keeps its pictures as PNG or ICO file bytes with per-pixel alpha and
// builds the system image list (32-bit colour with mask) from them. Skinned glyph buttons
// draw its entries through their alpha, with blending, a grey tint, a reflection and state
// frames side by side.
//
//   TsAlphaImageList images(owner, 16, 16);
//   images.AddItem(ifPNG, pngBytes);                 // EPictureError for damaged bytes
//   SIZE size;
//   images.DrawToBitmap(cache, 4, size, false, 1, 0, clNone, 0, 0, 4);
//   TBitmap glyph;
//   if (images.GetBitmap32(0, &glyph)) ...           // false for an index outside the list
//   copy.Assign(&images);                            // same size, colours and pictures
//   images.WriteItems(stream);  other.ReadItems(stream);   // the items' file bytes
//
// A layout stores the items, never the system list's pictures: ReadItems takes the bytes
// WriteItems gave, and for anything else raises EInOutError and keeps the list as it was.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "framework/bitmap.h"
#include "framework/component.h"
#include "framework/gdi.h"
#include "framework/streams.h"

enum TsImageFormat { ifPNG, ifICO };

struct TsImgListItem {
  TsImageFormat ImageFormat = ifPNG;
  TPixelFormat PixelFormat = pf32bit;
  std::vector<uint8_t> ImgData;  // the whole file
};

class TsAlphaImageList : public TComponent {
 public:
  TsAlphaImageList(TComponent* owner, int width = 16, int height = 16);
  ~TsAlphaImageList() override;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The colour the system list puts behind its pictures: clNone (none), clDefault or a colour.
  TColor BkColor() const;
  void SetBkColor(TColor value);
  // The system image list; owned by this list.
  HIMAGELIST Handle() const { return handle_; }
  // Number of images in the system list.
  int Count() const;

  // The source items; once the system list is built they are dropped unless this is set.
  std::vector<TsImgListItem> Items;
  bool KeepSourceItems = true;
  bool StdListBuilt = false;

  // Appends an item and lets the list follow; without KeepSourceItems only its image is kept.
  void AddItem(TsImageFormat format, std::vector<uint8_t> bytes);
  // Rebuilds the system list from the items.
  void GenerateStdList();
  // What the list does after its items or images changed: rebuilds from items it has more of
  // than images, and gives icons that came without alpha the alpha of their mask.
  void Change();

  // The entry as a 32-bit picture of the list's size with straight alpha; false without a
  // handle or bitmap, or for an index outside the list.
  bool GetBitmap32(int index, TBitmap* bitmap) const;
  // Blends state frame min(state, numGlyphs - 1) of the entry (the list width holds numGlyphs
  // frames) through its alpha into the bitmap at (x, y); size gets the frame's size.
  // grayColor tints (clNone for none), blend fades in percent, reflected mirrors it below.
  void DrawToBitmap(TBitmap* bitmap, int x, SIZE& size, bool reflected, int numGlyphs, int state, TColor grayColor,
                    int blend, int index, int y) const;
  // Draws entry `index` (through its mask, nothing behind it) at (x, y) of the canvas.
  void DoDraw(int index, TCanvas& canvas, int x, int y) const;

  // Takes the size, the background colour and the pictures of `source` (its items when this
  // list keeps items, else its system list's pictures); nullptr frees the system list.
  void Assign(const TsAlphaImageList* source);
  void WriteItems(TStream& stream) const;
  // Replaces the items by those WriteItems wrote and rebuilds the system list.
  void ReadItems(TStream& stream);

  // The same onto a device context, through a 24-bit bitmap.
  void DrawToDC(HDC dc, int x, int y, SIZE& size, bool reflected, int numGlyphs, int state, TColor grayColor,
                int blend, int index) const;

 private:
  void CreateImageListHandle();
  void ReleaseHandle();
  // Puts the item's picture at `index` of the system list (-1: appends it); false when the
  // system list did not take it.
  bool AddToStdList(const TsImgListItem& item, int index);
  // Replaces images whose colour bitmap carries no alpha by icons that do.
  void FillMissingAlpha();

  int width_, height_;
  HIMAGELIST handle_ = nullptr;
  bool updating_ = false;
};

// A 32-bit picture without any alpha becomes opaque, but for the pixels of its bottom-left
// pixel's colour, which stay see-through.
void FixMissingAlpha(TBitmap* bitmap);
// An image list's colour as a TColor: CLR_NONE is clNone, CLR_DEFAULT clDefault.
TColor ImageListColorToColor(COLORREF color);
