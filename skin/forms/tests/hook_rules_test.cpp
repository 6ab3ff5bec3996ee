// Which activated framework forms the window-skinning hook skins: plain forms follow the
// standard-forms rule, message forms the standard-dialogs rule.
#include <gtest/gtest.h>

#include "framework/forms.h"
#include "framework/tests/ui_fixture.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/skin_hook.h"
#include "skin/forms/tests/dialog_fixtures.h"
#include "tests/support/window.h"

namespace efir::test {
namespace {

class TMessageForm : public TForm {
 public:
  using TForm::TForm;
};

class HookRules : public UiTest {};

TEST_F(HookRules, MessageFormsFollowTheDialogRuleOtherFormsTheFormRule) {
  struct Case {
    const char* Name;
    TacSkinningRules Rules;
    bool MessageForm;
    bool Skinned;
  };
  const Case cases[] = {
      {"a form under the form rule", srStdForms, false, true},
      {"a form under the dialog rule only", srStdDialogs, false, false},
      {"a message form under the dialog rule", srStdDialogs, true, true},
      {"a message form under the form rule only", srStdForms, true, false},
  };
  DialogSkin skin;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    skin.manager->SetSkinningRules(c.Rules);
    TForm* form = c.MessageForm ? static_cast<TForm*>(efir::Construct<TMessageForm>(nullptr))
                                : efir::Construct<TForm>(nullptr);
    form->SetBounds(100, 100, 200, 120);
    form->HandleNeeded();
    EXPECT_EQ(SkinActivatedWindow(form->Handle()), c.Skinned);
    form->Free();
    pumpFor(20);
  }
}

}  // namespace
}  // namespace efir::test
