#include "editor/editor_frame.h"

#include "framework/files.h"

namespace {

std::string testFolder;

}  // namespace

std::string EditorFolder() { return testFolder.empty() ? efir::ProgramFolder() : testFolder; }

void SetEditorFolderForTests(const std::string& folder) { testFolder = folder; }

void LoadPicture(TImage* image, const std::string& fileName) {
  const std::string path = EditorFolder() + fileName;
  if (efir::FileExists(path)) image->Picture().LoadFromFile(path);
}

TEditorWindow::TEditorWindow(TComponent* AOwner, int width, int height,
                             const std::string& background)
    : TForm(AOwner) {
  SetBorderStyle(bsNone);
  SetClientWidth(width);
  SetClientHeight(height);
  SetColor(kEditorNavy);
  SetTransparentColor(true);
  SetTransparentColorValue(clLime);
  Image1 = Place(new TImage(this), this, 0, 0, width, height);
  LoadPicture(Image1, background);
  Image1->OnMouseDown = DragHandler();
}

// Only the left button moves the window: the system's move ends when the left button is
// released, so a move begun by another button never ends.
void TEditorWindow::Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState, int,
                                    int) {
  if (Button != mbLeft) return;
  efir::StartMoving(dynamic_cast<TControl*>(Sender));
}

TMouseEvent TEditorWindow::DragHandler() {
  return [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    Image1MouseDown(s, b, sh, x, y);
  };
}
