// The extended-border window: when the skin has extended borders, a skinned form shows a frame
// wider than its window with a soft shadow around it. That frame lives in this second window,
// a hidden, never-activated layered tool window laid directly behind its owner and painted
// with per-pixel alpha from the owner's 32-bit frame image (whose size it takes: the owner's
// window plus the extended frame and the shadow margins).
//
//   BorderForm = std::make_unique<TacBorderForm>(std::move(ownerServices));
//   BorderForm->UpdateBorderForm(true, 255);   // after every frame, position or activation change
//   ...
//   BorderForm.reset();                        // stops the owner's button fades, frees the window
//
// It answers hit tests for the title buttons and sizing borders it covers (non-client clicks
// go on to the owner with wParam -1, so the owner hit-tests through it), sets the sizing
// cursors, and lets clicks on the shadow through to whatever lies below. A maximized owner
// has no shadow: the region keeps only the frame inside the margins. GUI thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

class TsCommonData;
class TsSkinManager;

// What the border window asks of its owner: a form's provider or a standard dialog.
class TacBorderOwner {
 public:
  virtual ~TacBorderOwner() = default;

  virtual HWND OwnerWnd() const = 0;
  // The owner's skin data: its manager, and its frame image (CacheBitmap) is what is shown.
  virtual TsCommonData* OwnerSkinData() const = 0;
  // Why the border window may not follow now.
  enum class UpdateState { Go, Wait, Hide };
  virtual UpdateState OwnerUpdateState() const = 0;
  virtual void SetOwnerHotButton(int hitCode) = 0;
  virtual int OwnerCaptionHeight(bool useExt) const = 0;
  virtual int OwnerMenuHeight() const = 0;
  // The caption icon in border-window coordinates.
  virtual RECT OwnerIconRect() const = 0;
  // The hit code of the title button under a border-window point, 0 when none.
  virtual int OwnerButtonAt(POINT p) const = 0;
  virtual void RebuildOwnerImage() = 0;
  virtual void StopOwnerGlows() = 0;
  // A double click on the caption band (maximize or restore when the owner allows it).
  virtual void OwnerCaptionDoubleClick() = 0;
  // The owner's own answer asked first; false when it has none.
  virtual bool OwnerExtHitTest(POINT /*screen*/, LRESULT& /*code*/) { return false; }
  // The owner's constant opacity when it has one; the client part is then cut from the region.
  virtual bool OwnerAlphaBlend(BYTE& /*value*/) const { return false; }
  virtual RECT OwnerClientInImage() const { return {}; }
  // A modal owner keeps the region whole while a click passes through.
  virtual bool OwnerModal() const { return false; }
  // The size grip under a border-window point.
  virtual bool OwnerGripAt(POINT /*p*/) const { return false; }
  // A maximized owner with a short title lies right below the top margin and the extended
  // frame's top: that offset (`ExtTopMargin`, which may be negative), or none when the
  // caption measures place it.
  virtual std::optional<int> OwnerShortTitleTop() const { return std::nullopt; }
  // A double click ends the owner's own frame drag at that screen point.
  virtual void OwnerEndDrag(POINT /*screen*/) {}
};

class TacBorderForm {
 public:
  explicit TacBorderForm(std::unique_ptr<TacBorderOwner> owner);
  ~TacBorderForm();
  TacBorderForm(const TacBorderForm&) = delete;
  TacBorderForm& operator=(const TacBorderForm&) = delete;

  HWND Window() const { return wnd_; }
  TacBorderOwner& Owner() const { return *owner_; }

  // Places, sizes and (when its size changed or `repaint`) pushes the picture with `alpha`.
  void UpdateBorderForm(bool repaint, int alpha);
  // The non-client hit code of a screen point (HTTRANSPARENT for a disabled owner and where no
  // part of the frame answers), making the button under it hot.
  LRESULT HitTest(POINT screen);
  // The point of a message lies in the shadow margins (never for a maximized owner).
  bool InShadowZone(UINT msg, LPARAM lParam);
  // The window region, or nullptr for none (the caller owns it).
  HRGN MakeRegion() const;

  // Where the owner's window lies in the border window, and the shadow margins.
  int TopOffset() const;
  int LeftOffset() const;
  RECT ShadowMargins() const;

  bool MouseForwarding = false;
  bool Updating = false;
  // What the last push gave the system (the system may not show alpha: tests read these).
  int LastAlpha = -1;
  SIZE LastSize{};

 private:
  static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT BorderWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  void ForwardToWindowBelow(UINT msg, WPARAM wParam, LPARAM lParam);
  bool UpdateCursor();
  bool OwnerMaximized() const;
  TsSkinManager* Manager() const;
  void PushImage(int alpha, HWND owner);

  std::unique_ptr<TacBorderOwner> owner_;
  HWND wnd_ = nullptr;
};
