#include "skin/engine/stored_skins.h"

void TsSkinImage::Assign(const TsSkinImage& source) {
  if (&source == this) return;
  Name = source.Name;
  Image.Assign(source.Image);
  SectionName = source.SectionName;
  PropertyName = source.PropertyName;
  Left = source.Left, Top = source.Top, Right = source.Right, Bottom = source.Bottom;
  ImageCount = source.ImageCount, MaskType = source.MaskType;
  BorderWidth = source.BorderWidth, StretchMode = source.StretchMode;
  ImgType = source.ImgType;
  WL = source.WL, WR = source.WR, WT = source.WT, WB = source.WB;
}

void TsSkinPattern::Assign(const TsSkinPattern& source) {
  if (&source == this) return;
  Name = source.Name;
  Image.Assign(source.Image);
  SectionName = source.SectionName;
  PropertyName = source.PropertyName;
}

void TsStoredSkin::Assign(const TsStoredSkin* source) {
  if (!source) throw EConvertError("Cannot assign a nil to a TsStoredSkin");
  if (source == this) return;
  // The sections go first: they are the part that cannot be copied, and nothing is changed
  // when they fail.
  GeneralData.Assign(source->GeneralData);
  Data.Clear();
  source->Data.SaveToStream(Data);
  Data.SetPosition(0);
  Name = source->Name;
  Images.Assign(source->Images);
  Patterns.Assign(source->Patterns);
  MasterBitmap.Assign(source->MasterBitmap);
  Shadow1Color = source->Shadow1Color;
  Shadow1Offset = source->Shadow1Offset;
  Shadow1Blur = source->Shadow1Blur;
  Shadow1Transparency = source->Shadow1Transparency;
  BorderColor = source->BorderColor;
  Version = source->Version;
  Author = source->Author;
  Description = source->Description;
}
