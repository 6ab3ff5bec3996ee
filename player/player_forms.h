// The player's seven windows, created in the order the program's entry creates them: the main
// window first (its creation work touches none of the others), then settings, station editor,
// update notice, about box, search and QR.
#pragma once

void CreatePlayerForms();
