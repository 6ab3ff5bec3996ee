// What the window tests share: the default exception handler's messages captured instead of
// shown, and a borderless test form that is freed after each test.
#pragma once

#include "framework/application.h"
#include "framework/controls.h"
#include "framework/forms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace efir::test {

// A graphic control filled with one colour: where it shows on the screen tells where its
// parent painted it.
class TColourShape : public TGraphicControl {
 public:
  TColourShape(TComponent* owner, TColor colour) : TGraphicControl(owner), colour_(colour) {}

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(colour_);
    RECT r{0, 0, Width(), Height()};
    Canvas().FillRect(r);
  }

 private:
  TColor colour_;
};

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application.Initialize();
    Application.ExceptionHook = [this](const std::string& message) { shown.push_back(message); };
  }
  void TearDown() override {
    for (TForm* form : forms_) form->Free();
    Application.ExceptionHook = nullptr;
    Application.OnMessage = nullptr;
  }

  // A shown borderless form of that client size at the screen's top left corner.
  TForm* NewForm(int width = 320, int height = 240) {
    auto* form = efir::Construct<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(20, 20, width, height);
    form->Show();
    forms_.push_back(form);
    return form;
  }

  // Messages the default exception handler would have shown.
  std::vector<std::string> shown;

 private:
  std::vector<TForm*> forms_;
};

// A mouse message's position parameter.
inline LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace efir::test
