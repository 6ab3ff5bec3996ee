#include "framework/component.h"

#include <algorithm>

namespace {

void Erase(std::vector<TComponent*>& list, TComponent* item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) {
    if (AOwner->state_ & csLoading) state_ |= csLoading;
    AOwner->InsertComponent(this);
  }
}

TComponent::~TComponent() {
  state_ |= csDestroying;
  NotifyRemoval();
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::AfterConstruction() {
  if (!(state_ & csLoading)) return;
  Loaded();
  // A Loaded override may create or free components: walk a copy, skip the freed ones.
  std::vector<TComponent*> owned = components_;
  for (TComponent* c : owned) {
    if (std::find(components_.begin(), components_.end(), c) == components_.end()) continue;
    if (c->state_ & csLoading) c->Loaded();
  }
}

void TComponent::BeforeDestruction() {
  state_ |= csDestroying;
}

void TComponent::Free() {
  BeforeDestruction();
  delete this;
}

void TComponent::Loaded() {
  state_ &= static_cast<TComponentState>(~csLoading);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (c->name_.size() == name.size() &&
        std::equal(name.begin(), name.end(), c->name_.begin(),
                   [](char a, char b) { return tolower(static_cast<unsigned char>(a)) ==
                                               tolower(static_cast<unsigned char>(b)); }))
      return c;
  }
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (component->owner_) component->owner_->RemoveComponent(component);
  Insert(component);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  Notification(component, opRemove);
  Remove(component);
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    Remove(last);
    last->Free();
  }
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
    freeNotifies_.push_back(component);
  if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
      component->freeNotifies_.end())
    component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  Erase(freeNotifies_, component);
  Erase(component->freeNotifies_, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) RemoveFreeNotification(component);
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
  Erase(components_, component);
  component->owner_ = nullptr;
}

// Everyone that asked hears of the removal once; a listener may unregister others meanwhile.
void TComponent::NotifyRemoval() {
  while (!freeNotifies_.empty()) {
    TComponent* listener = freeNotifies_.back();
    freeNotifies_.pop_back();
    Erase(listener->freeNotifies_, this);
    listener->Notification(this, opRemove);
  }
}
