#include "widgets/rb_panel.h"

TRbPanel::TRbPanel(TComponent* AOwner) : TPanel(AOwner) {
  SetBevelOuter(bvNone);
}
