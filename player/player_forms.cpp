#include "player/player_forms.h"

#include "framework/application.h"
#include "player/about_box.h"
#include "player/main_window.h"
#include "player/qr_dialog.h"
#include "player/search_dialog.h"
#include "player/settings_dialog.h"
#include "player/station_dialog.h"
#include "player/update_notice.h"

void CreatePlayerForms() {
  Application.CreateForm(Form1);
  Application.CreateForm(Form2);
  Application.CreateForm(Form3);
  Application.CreateForm(Form4);
  Application.CreateForm(Form5);
  Application.CreateForm(Form6);
  Application.CreateForm(Form7);
}
