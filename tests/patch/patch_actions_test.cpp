// The File menu's commands: where "Save" goes, what the save dialog opens
// with, declining an overwrite, failures and the reset question.
#include "persist/patch_actions.h"

#include <filesystem>

#include "instrument/instrument_fixture.h"
#include "shell/message_box.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

struct ScriptedDialog : SaveAsDialog {
  std::optional<SaveAsChoice> answer;
  std::vector<SaveAsRequest> asked;
  std::optional<SaveAsChoice> Ask(const SaveAsRequest& request) override {
    asked.push_back(request);
    return answer;
  }
};

struct Box {
  std::string text, caption;
};

class PatchActionsTest : public InstrumentTest {
 protected:
  static MessageBoxAnswer Record(const std::string& text, const std::string& caption,
                                 MessageBoxButtons) {
    boxes.push_back({text, caption});
    return reply;
  }
  PatchActionsTest() : xdg_("XDG_DATA_HOME", home_.path().string()) {
    boxes.clear();
    reply = MessageBoxAnswer::kYes;
    previous_ = SetMessageBoxHandler(Record);
    z = std::make_unique<Zelvane>(Host, InstanceOptions{""});
  }
  ~PatchActionsTest() override { SetMessageBoxHandler(previous_); }

  static inline std::vector<Box> boxes;
  static inline MessageBoxAnswer reply = MessageBoxAnswer::kYes;
  TempDir home_;
  ScopedEnv xdg_;
  MessageBoxHandler previous_ = nullptr;
  ScriptedDialog dialog;
};

TEST_F(PatchActionsTest, SaveOfAnUntitledPatchAsksWhereAndSaveThenGoesBackThere) {
  ASSERT_TRUE(z->patchLibrary().CreateCategory("Bass"));
  ASSERT_TRUE(z->patchLibrary().CreateCategory("Pads"));
  dialog.answer = SaveAsChoice{"Pads", "Warm"};
  EXPECT_EQ(patch_actions::Save(*z, dialog), SaveOutcome::kSaved);
  ASSERT_EQ(dialog.asked.size(), 1u);
  EXPECT_EQ(dialog.asked[0].title, "Save Patch As...");
  EXPECT_EQ(dialog.asked[0].categories, (std::vector<std::string>{"Bass", "Pads"}));
  EXPECT_EQ(dialog.asked[0].preselected, -1);
  EXPECT_EQ(dialog.asked[0].initialName, "");
  EXPECT_EQ(z->patchName(), "Warm(User)");
  EXPECT_EQ(z->category(), "Pads");

  // Now it has a place: "Save" asks nothing (the overwrite question aside).
  z->masterVolume().SetValue(0.3f);
  EXPECT_EQ(patch_actions::Save(*z, dialog), SaveOutcome::kSaved);
  EXPECT_EQ(dialog.asked.size(), 1u);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "File already exists. Overwrite?");
  Zelvane other(Host, InstanceOptions{""});
  other.patchLibrary().Rescan();
  ASSERT_TRUE(other.LoadPatch("Pads", "Warm(User)"));
  EXPECT_FLOAT_EQ(other.masterVolume().GetValue(), 0.3f);

  // "Save As.." opens on the current place.
  dialog.answer.reset();
  EXPECT_EQ(patch_actions::SaveAs(*z, dialog), SaveOutcome::kCancelled);
  EXPECT_EQ(dialog.asked.back().preselected, 1);
  EXPECT_EQ(dialog.asked.back().initialName, "Warm(User)");
}

TEST_F(PatchActionsTest, KeepingTheOldFileIsNoErrorButAFailedSaveSaysSo) {
  dialog.answer = SaveAsChoice{"Leads", "Saw"};
  ASSERT_EQ(patch_actions::SaveAs(*z, dialog), SaveOutcome::kSaved);
  reply = MessageBoxAnswer::kNo;
  boxes.clear();
  EXPECT_EQ(patch_actions::SaveAs(*z, dialog), SaveOutcome::kCancelled);
  ASSERT_EQ(boxes.size(), 1u);  // only the question

  boxes.clear();
  dialog.answer = SaveAsChoice{"../Outside", "Saw"};
  EXPECT_EQ(patch_actions::SaveAs(*z, dialog), SaveOutcome::kFailed);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Error: Could not save patch");
  EXPECT_EQ(boxes[0].caption, "Zelvane error");
  EXPECT_FALSE(std::filesystem::exists(home_.path() / "Tarvenn Audio/Zelvane/Outside"));
}

TEST_F(PatchActionsTest, ResetAsksFirst) {
  z->masterVolume().SetValue(0.2f);
  z->SetPatchName("Mine");
  reply = MessageBoxAnswer::kNo;
  EXPECT_FALSE(patch_actions::Reset(*z));
  EXPECT_EQ(z->patchName(), "Mine");
  reply = MessageBoxAnswer::kYes;
  EXPECT_TRUE(patch_actions::Reset(*z));
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, "Sure you want clear this patch?");
  EXPECT_EQ(boxes[1].caption, "Reset Patch");
  EXPECT_EQ(z->patchName(), "<untitled>");
  EXPECT_FLOAT_EQ(z->masterVolume().GetValue(), 1.0f);
}

}  // namespace
