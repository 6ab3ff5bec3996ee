#include "editor/editor_forms.h"

#include "editor/confirm_window.h"
#include "editor/edit_window.h"
#include "editor/list_window.h"
#include "framework/application.h"

void CreateEditorForms() {
  Application.CreateForm(Form1);
  Application.CreateForm(Form2);
  Application.CreateForm(Form3);
}
