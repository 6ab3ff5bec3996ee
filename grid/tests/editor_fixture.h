// The editors' tests share this: an editor of the kind asked for on a shown form, 150 x 22,
// with its window made.
#pragma once

#include "framework/tests/ui_fixture.h"

namespace gridtest {

class EditorTest : public efir::test::UiTest {
 protected:
  template <class T>
  T* Editor() {
    TForm* form = NewForm(200, 40);
    auto* edit = new T(form);
    edit->SetParent(form);
    edit->SetBounds(0, 0, 150, 22);
    edit->HandleNeeded();
    return edit;
  }
};

}  // namespace gridtest
