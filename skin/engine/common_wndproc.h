// The entry through which skin changes and the owner's state changes reach a TsCommonData.
// A skinned control hands every message to SkinControlWndProc before its own handling; a
// window adapter or form provider hands it the skin command directly (SkinCommandHandler).
//
//   void TsSomething::WndProc(TMessage& Message) {
//     if (SkinControlWndProc(Message, SkinData.get())) return;   // answered
//     ...own handling...
//   }
//
// SkinControlWndProc answers (returns true) only for a skin command its handler answered and
// for WM_UPDATEUISTATE while skinned; it never calls the control's inherited handling.
#pragma once

#include "framework/messages.h"

class TsCommonData;

bool SkinControlWndProc(TMessage& Message, TsCommonData* SkinData);
// Answers the skin-state sub-commands in Message.Result; true for those it answered.
bool SkinCommandHandler(TMessage& Message, TsCommonData* SkinData);
