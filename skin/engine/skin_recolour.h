// Recolouring of a freshly read skin by its manager's HueOffset (degrees) and Saturation
// (percent): the master bitmap, the pictures of their own, the section colours and the two
// colours of the skin's global values. The manager applies both once per read, hue first, so
// they always work on the colours as the skin defines them; each does nothing for 0.
//
//   ChangeSkinHue(manager, manager.HueOffset());
//   ChangeSkinSaturation(manager, manager.Saturation());
//
// Key-colour (0xFF00FF) and grey pixels never change, and alpha bytes stay. The skin's
// BIKEEPHUE value lets the title-bar glyphs keep their colours through the hue change.
#pragma once

class TsSkinManager;

void ChangeSkinHue(TsSkinManager& manager, int offset);
void ChangeSkinSaturation(TsSkinManager& manager, int saturation);
