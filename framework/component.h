// Objects and components: the base of every window, control and non-visual part.
//
// Ownership: a component created with an owner is freed by it; a component freed earlier
// leaves its owner's list first. Free a component with Free(): it raises what must run while
// the whole object still lives (a form's OnDestroy, a window's last messages), then deletes.
//
// Two-phase construction. C++ does not dispatch virtual calls from constructors, so a
// component that must act once its properties are set does so in Loaded(), which runs after
// construction. A window's layout is the constructor of its form class:
//
//   TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {   // the form is now csLoading
//     Image1 = new TImage(this);                           // owned by the form, csLoading too
//     Image1->SetParent(this);
//     Image1->SetBounds(0, 0, 514, 391);
//     Image1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
//       Image1MouseDown(s, b, sh, x, y);
//     };
//     OnCreate = [this](TObject* s) { FormCreate(s); };
//   }
//
// and whoever creates the form finishes the second phase:
//   Application.CreateForm(Form1);                 // or: auto* f = efir::Construct<TForm2>(owner);
// AfterConstruction() then calls Loaded() on the form and on every component it owns that is
// still loading (in creation order), then the form raises OnCreate and shows itself when
// Visible. A component created outside a layout (owner not loading) is never loading.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class TComponent;

class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

enum TComponentStateFlag : uint8_t { csLoading = 1, csDestroying = 2 };
using TComponentState = uint8_t;  // an or-combination of TComponentStateFlag

enum TOperation { opInsert, opRemove };

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  // The second phase of construction (see above); efir::Construct and CreateForm call it.
  virtual void AfterConstruction();
  // The first phase of destruction, while the whole object still lives; Free calls it.
  virtual void BeforeDestruction();
  // Frees the component: BeforeDestruction, then delete.
  void Free();

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }
  TComponentState ComponentState() const { return state_; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
  // The owned component of that name, or nullptr.
  TComponent* FindComponent(const std::string& name) const;
  // Moves the component from its owner (if any) into this one's list.
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees every owned component, last created first.
  void DestroyComponents();

  // Asks to be told (Notification with opRemove) when `component` is freed, and the reverse.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

 protected:
  // Told of components inserted into or removed from this owner, and of freed components
  // this one asked about. Overrides drop their references to `component` on opRemove.
  virtual void Notification(TComponent* component, TOperation operation);
  // The properties are set: act on them. Overrides call the inherited one first.
  virtual void Loaded();
  void SetLoading() { state_ |= csLoading; }

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  void NotifyRemoval();

  TComponent* owner_ = nullptr;
  std::string name_;
  intptr_t tag_ = 0;
  TComponentState state_ = 0;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
};

namespace efir {

// Constructs a component and runs its second phase: `new T(args...)`, then AfterConstruction().
template <class T, class... Args>
T* Construct(Args&&... args) {
  T* object = new T(std::forward<Args>(args)...);
  try {
    object->AfterConstruction();
  } catch (...) {
    object->Free();
    throw;
  }
  return object;
}

}  // namespace efir
