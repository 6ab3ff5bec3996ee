// The pictures a manager prepares for the extended border: the soft frame that window
// skinning shows around a form, from the skin's "EXBORDER" picture (GLOBALINFO) or else the
// engine's built-in shadows, with the margins by which it reaches past the form.
//
//   PrepareExtendedBorders(manager);   // after each load; margins 0 while off
//   manager.ExtBorderMargins.left ... manager.ShadowActive->Width() ...
#pragma once

class TsSkinManager;

// Window composition is on (dwmapi, looked up by name; false without it).
bool DwmCompositionEnabled();

// With the skin active and ExtendedBorders on: ShadowActive and ShadowInactive become the
// EXBORDER picture's second and first state (margins from its border widths less FormOffset,
// or FormOffset all round when BorderMode is not 0), or else copies of the built-in shadows
// (margins 11, 7, 11, 11, one more each with composition); an EXBORDER that lies in the
// master bitmap counts as absent. Otherwise the margins become 0 and the pictures stay.
void PrepareExtendedBorders(TsSkinManager& manager);
void PrepareExtendedBorders(TsSkinManager& manager, bool composition);
