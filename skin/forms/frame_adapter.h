// The component that a layout drops on a frame (a reusable group of controls) to have the
// frame painted from the skin's "GROUPBOX". No class of this framework is such a frame, so
// the component only reports that it was misplaced, once, when it is made, and then leaves
// its owner as it was.
//
//   auto* adapter = new TsFrameAdapter(form);   // shows the error; the form is unchanged
#pragma once

#include <memory>

#include "framework/component.h"

class TsCommonData;

class TsFrameAdapter : public TComponent {
 public:
  explicit TsFrameAdapter(TComponent* AOwner);
  ~TsFrameAdapter() override;

  TsCommonData* SkinData() const { return skinData_.get(); }

 private:
  std::unique_ptr<TsCommonData> skinData_;
};

// The error a misplaced frame adapter reports.
extern const char* const FrameAdapterMisplacedText;
