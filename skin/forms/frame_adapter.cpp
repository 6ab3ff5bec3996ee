#include "skin/forms/frame_adapter.h"

#include "skin/engine/common_data.h"
#include "skin/engine/engine_routines.h"

const char* const FrameAdapterMisplacedText = "TsFrameAdapter adapter must be placed on the handled frame";

TsFrameAdapter::TsFrameAdapter(TComponent* AOwner)
    : TComponent(AOwner), skinData_(std::make_unique<TsCommonData>(this, true)) {
  if (skinData_->SkinSection().empty() || skinData_->SkinSection() == "TSFRAMEADAPTER")
    skinData_->SetSkinSection("GROUPBOX");
  skinData_->ControlKind = ckFrame;
  // No framework class is a frame: the owner is never one to handle.
  ShowSkinError(FrameAdapterMisplacedText);
}

TsFrameAdapter::~TsFrameAdapter() = default;
