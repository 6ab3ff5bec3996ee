#include "skin/engine/skin_constants.h"

#include <gtest/gtest.h>

#include "skin/engine/skin_anim_effects.h"
#include "skin/engine/skin_third_party.h"

namespace {

TEST(EngineConstants, StartUpTakesTheSystemsScrollBarSizeAndTheBlendedLook) {
  EXPECT_EQ(DefaultScrollBarWidth, GetSystemMetrics(SM_CXHSCROLL));
  EXPECT_EQ(SysScrollArrowWidth, GetSystemMetrics(SM_CXHSCROLL));
  EXPECT_EQ(SharedDisabledKind, dkBlended);
  // The kind names follow the lists' order.
  EXPECT_STREQ(ThirdPartyKindNames[ThirdButtons], "Button");
  EXPECT_STREQ(ThirdPartyKindNames[ThirdSpeedButton], "SpeedButton");
  EXPECT_FALSE(ThirdPartyControlHandled(nullptr));
  const TacAnimatEvents events{aeMouseEnter, aeGlobalDef};
  EXPECT_TRUE(events.Has(aeGlobalDef));
  EXPECT_FALSE(events.Has(aeMouseUp));
}

}  // namespace
