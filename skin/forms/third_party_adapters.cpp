#include "skin/forms/third_party_adapters.h"

#include "framework/controls.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_third_party.h"
#include "skin/forms/combo_wnd.h"
#include "skin/forms/grid_adapters.h"
#include "skin/forms/pane_adapters.h"

std::unique_ptr<TacMainWnd> MakeThirdPartyAdapter(int list, HWND wnd, TsCommonData* data, TsSkinManager* manager) {
  const std::string section = data ? data->SkinSection() : std::string();
  switch (list) {
    case ThirdGrids: return AttachAdapter<TacGridWnd>(wnd, data, manager, section, true);
    case ThirdGridEh: return AttachAdapter<TacGridEhWnd>(wnd, data, manager, section, true);
    case ThirdVirtualTrees: return AttachAdapter<TacVirtualTreeViewWnd>(wnd, data, manager, section, true);
    case ThirdPanels: return AttachAdapter<TacPanelWnd>(wnd, data, manager, section, true);
    case ThirdWWEdits: {
      TWinControl* control = efir::FindControl(wnd);
      if (!control) return nullptr;
      auto adapter = std::make_unique<TacWWComboBoxWnd>(control, data, manager, section);
      adapter->Attach(true);
      return adapter;
    }
    default: return nullptr;
  }
}
