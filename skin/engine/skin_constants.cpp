#include "skin/engine/skin_constants.h"

#include <windows.h>

int DefaultScrollBarWidth = GetSystemMetrics(SM_CXHSCROLL);
int SysScrollArrowWidth = GetSystemMetrics(SM_CXHSCROLL);
TsDisabledKind SharedDisabledKind = dkBlended;
bool ButtonPressedPaint = false;
bool StoredShowHint = true;
bool ShowHintSaved = false;
