// Ownership, free notices and the two construction phases of components.
#include "framework/application.h"
#include "framework/component.h"
#include "framework/forms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

class Probe : public TComponent {
 public:
  Probe(TComponent* owner, Log& log, std::string name) : TComponent(owner), log_(log) {
    SetName(std::move(name));
    loadingAtBirth = ComponentState() & csLoading;
  }
  ~Probe() override { log_.push_back("free " + Name()); }
  bool loadingAtBirth;

 protected:
  void Loaded() override {
    TComponent::Loaded();
    log_.push_back("loaded " + Name());
  }
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove) log_.push_back(Name() + " hears " + component->Name() + " go");
  }

 private:
  Log& log_;
};

TEST(UiComponents, OwnerFreesWhatItOwnsAndAFreedChildLeavesItsOwner) {
  Log log;
  auto* owner = new Probe(nullptr, log, "owner");
  auto* first = new Probe(owner, log, "first");
  new Probe(owner, log, "second");
  auto* third = new Probe(owner, log, "third");
  ASSERT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(owner->FindComponent("THIRD"), third);

  first->Free();
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->FindComponent("first"), nullptr);
  EXPECT_EQ(third->Owner(), owner);

  log.clear();
  owner->Free();
  // The owner's own destructor body runs first; then the owned go, last created first.
  EXPECT_EQ(log, (Log{"free owner", "free third", "free second"}));
}

TEST(UiComponents, MovingToAnotherOwnerLeavesTheFirst) {
  Log log;
  TComponent a(nullptr), b(nullptr);
  auto* item = new Probe(&a, log, "item");
  b.InsertComponent(item);
  EXPECT_EQ(a.ComponentCount(), 0);
  EXPECT_EQ(b.ComponentCount(), 1);
  EXPECT_EQ(item->Owner(), &b);
}

TEST(UiComponents, FreeNotificationTellsTheListenerOnceAndCanBeWithdrawn) {
  Log log;
  Probe listener(nullptr, log, "listener");
  auto* watched = new Probe(nullptr, log, "watched");
  auto* unwatched = new Probe(nullptr, log, "unwatched");
  listener.FreeNotification(watched);
  listener.FreeNotification(watched);
  listener.FreeNotification(unwatched);
  listener.RemoveFreeNotification(unwatched);
  watched->Free();
  unwatched->Free();
  EXPECT_EQ(log, (Log{"free watched", "listener hears watched go", "free unwatched"}));
}

TEST(UiComponents, AListenerFreedFirstIsNotToldLater) {
  Log log;
  auto* watched = new Probe(nullptr, log, "watched");
  auto* listener = new Probe(nullptr, log, "listener");
  listener->FreeNotification(watched);
  listener->Free();  // must leave watched's list, or freeing watched would call a freed object
  log.clear();
  watched->Free();
  EXPECT_EQ(log, (Log{"free watched"}));
}

// A form whose layout (its constructor) creates a component, as every window's layout does.
class LayoutForm : public TForm {
 public:
  LayoutForm(TComponent* owner, Log& log) : TForm(owner), log_(log) {
    Part = new Probe(this, log, "part");
    OnCreate = [this](TObject*) { log_.push_back("create"); };
  }
  Probe* Part;

 protected:
  void Loaded() override {
    TForm::Loaded();
    log_.push_back("loaded form");
  }

 private:
  Log& log_;
};

TEST(UiComponents, LoadedRunsAfterTheLayoutThenOnCreate) {
  Log log;
  auto* form = efir::Construct<LayoutForm>(nullptr, log);
  EXPECT_TRUE(form->Part->loadingAtBirth);
  EXPECT_FALSE(form->ComponentState() & csLoading);
  EXPECT_FALSE(form->Part->ComponentState() & csLoading);
  EXPECT_EQ(log, (Log{"loaded form", "loaded part", "create"}));

  // Created after the layout: not loading, and never told Loaded.
  auto* owned = new Probe(form, log, "owned later");
  EXPECT_FALSE(owned->loadingAtBirth);
  form->Free();
}

}  // namespace
