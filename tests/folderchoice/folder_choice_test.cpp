#include "folderchoice/folder_choice.h"

#include <deque>
#include <vector>

#include "folderchoice/form2_texts.h"
#include "game_folder_fixture.h"

namespace tolvashu::testing {
namespace {

// Plays the user's part: answers the browser from a script and records what
// the dialog showed.
class ScriptedView : public FolderChoiceView {
 public:
  void SetBT2(const std::string& caption, bool enabled) override {
    bt2_caption = caption;
    bt2_enabled = enabled;
  }
  std::optional<std::string> BrowseForFolder(const std::string& start_folder) override {
    browser_starts.push_back(start_folder);
    if (browser_answers.empty()) ADD_FAILURE() << "the browser was not expected";
    if (browser_answers.empty()) return std::nullopt;
    std::optional<std::string> answer = browser_answers.front();
    browser_answers.pop_front();
    return answer;
  }
  void ShowWarning(const std::string& text) override { warnings.push_back(text); }
  void Unload() override { unloaded = true; }

  std::string bt2_caption;
  bool bt2_enabled = false;
  std::deque<std::optional<std::string>> browser_answers;
  std::vector<std::string> browser_starts;  // where the browser was to open, each time
  std::vector<std::string> warnings;
  bool unloaded = false;
};

class FolderChoiceTest : public GameFolderFixture {
 protected:
  // One showing of the dialog: a fresh window over the same dialog object.
  ScriptedView& Show() {
    view_ = ScriptedView();
    path_chosen_ = 0;
    choice_.Load(view_);
    return view_;
  }

  void Browse(const std::optional<std::string>& answer) {
    view_.browser_answers.push_back(answer);
    choice_.ClickBT1(view_);
  }

  std::string game_path_;
  std::int16_t path_chosen_ = 0;
  FolderChoice choice_{*files_, game_path_, path_chosen_};
  ScriptedView view_;
};

TEST_F(FolderChoiceTest, FirstRunOffersOnlyBrowsing) {
  Show();
  EXPECT_EQ(view_.bt2_caption, form2::kBT2NoSavedPath);
  EXPECT_FALSE(view_.bt2_enabled);
  choice_.ClickBT2(view_);
  EXPECT_FALSE(view_.unloaded);

  std::string game = MakeGameFolder("game");
  Browse(game);
  EXPECT_TRUE(view_.unloaded);
  EXPECT_EQ(path_chosen_, 1);
  EXPECT_EQ(game_path_, game);
  EXPECT_EQ(SavedPathBytes(), game + "\r\n");
  EXPECT_TRUE(view_.warnings.empty());
  EXPECT_EQ(view_.browser_starts, std::vector<std::string>{""});  // no saved folder to open in
}

TEST_F(FolderChoiceTest, SavedFolderIsConfirmedWhileItIsAGameFolderAndNeverRewritten) {
  scratch_.WriteFile("PathDATA.txt", "D:\\Games\\X,written by hand\r\n");
  Show();
  EXPECT_EQ(view_.bt2_caption, "前回保存したパス名、\rD:\\Games\\X\rを選択する。");
  EXPECT_TRUE(view_.bt2_enabled);
  // The game is no longer there: warned, and the dialog stays open.
  choice_.ClickBT2(view_);
  EXPECT_EQ(view_.warnings, std::vector<std::string>{form2::kNoGameExe});
  EXPECT_FALSE(view_.unloaded);
  EXPECT_EQ(path_chosen_, 0);

  std::string game = MakeGameFolder("game");
  scratch_.WriteFile("PathDATA.txt", game + ",written by hand\r\n");
  Show();
  choice_.ClickBT2(view_);
  EXPECT_TRUE(view_.unloaded);
  EXPECT_EQ(path_chosen_, 1);
  EXPECT_EQ(game_path_, game);
  EXPECT_EQ(SavedPathBytes(), game + ",written by hand\r\n");
}

TEST_F(FolderChoiceTest, FolderWithoutGameWarnsAndKeepsTheDialogOpen) {
  std::string saved = MakeGameFolder("saved game");
  scratch_.WriteFile("PathDATA.txt", saved + "\r\n");
  Show();
  scratch_.MakeFolder("not a game");
  Browse(scratch_.Join("not a game"));
  EXPECT_EQ(view_.warnings, std::vector<std::string>{form2::kNoGameExe});
  EXPECT_FALSE(view_.unloaded);
  EXPECT_EQ(path_chosen_, 0);
  EXPECT_EQ(game_path_, "");
  EXPECT_EQ(SavedPathBytes(), saved + "\r\n");

  // Browsing again still works, and opens in the saved folder again.
  std::string game = MakeGameFolder("game");
  Browse(game);
  EXPECT_TRUE(view_.unloaded);
  EXPECT_EQ(game_path_, game);
  EXPECT_EQ(view_.browser_starts, (std::vector<std::string>{saved, saved}));

  // BT2 still confirms the folder its caption shows after a failed browse.
  Show();
  Browse(scratch_.Join("not a game"));
  choice_.ClickBT2(view_);
  EXPECT_TRUE(view_.unloaded);
  EXPECT_EQ(game_path_, game);
}

TEST_F(FolderChoiceTest, CancelledBrowserChecksNothingAndConfirmsNothing) {
  Show();
  Browse(std::nullopt);  // nothing browsed yet in this run
  EXPECT_TRUE(view_.warnings.empty());
  EXPECT_FALSE(view_.unloaded);
  EXPECT_EQ(choice_.BrowsedPath(), "");

  std::string game = MakeGameFolder("game");
  Browse(game);
  scratch_.WriteFile("PathDATA.txt", "D:\\Saved\r\n");
  Show();
  Browse(std::nullopt);  // a game folder browsed in an earlier showing is not confirmed again
  EXPECT_TRUE(view_.warnings.empty());
  EXPECT_FALSE(view_.unloaded);
  EXPECT_EQ(path_chosen_, 0);
  EXPECT_EQ(game_path_, "D:\\Saved");
  EXPECT_EQ(choice_.BrowsedPath(), game);
  EXPECT_EQ(SavedPathBytes(), "D:\\Saved\r\n");
}

TEST_F(FolderChoiceTest, BrowsedPathSurvivesFromOneShowingToTheNext) {
  Show();
  scratch_.MakeFolder("elsewhere");
  Browse(scratch_.Join("elsewhere"));
  choice_.CloseBox(view_);
  EXPECT_TRUE(view_.unloaded);
  EXPECT_EQ(path_chosen_, 0);

  Show();
  EXPECT_EQ(choice_.BrowsedPath(), scratch_.Join("elsewhere"));
}

// Used, and told; the next showing offers no folder rather than the older one.
TEST_F(FolderChoiceTest, FolderThatCannotBeSavedIsStillUsedAndNeverOfferedInItsPlace) {
  scratch_.WriteFile("PathDATA.txt", "D:\\Old\r\n");
  Show();
  std::string accented = MakeGameFolder("josé");
  Browse(accented);
  EXPECT_TRUE(view_.unloaded);
  EXPECT_EQ(path_chosen_, 1);
  EXPECT_EQ(game_path_, accented);
  EXPECT_EQ(view_.warnings, std::vector<std::string>{std::string(form2::kFolderNotSavedCharacters) + "\r" +
                                                     form2::kFolderNotSavedNextTime});
  Show();
  EXPECT_EQ(view_.bt2_caption, form2::kBT2NoSavedPath);
  EXPECT_FALSE(view_.bt2_enabled);

  // A file that cannot be written at all keeps what it holds.
  scratch_.WriteFile("PathDATA.txt", "D:\\Old\r\n");
  scratch_.SetReadOnly("PathDATA.txt", true);
  Show();
  std::string game = MakeGameFolder("game");
  Browse(game);
  EXPECT_TRUE(view_.unloaded);
  EXPECT_EQ(game_path_, game);
  EXPECT_EQ(view_.warnings,
            std::vector<std::string>{std::string(form2::kFolderNotSavedFile) + "\r" + form2::kFolderNotSavedNextTime});
  EXPECT_EQ(SavedPathBytes(), "D:\\Old\r\n");
  scratch_.SetReadOnly("PathDATA.txt", false);
  EXPECT_TRUE(NoFileLeftOpen());
}

TEST_F(FolderChoiceTest, FolderWithACommaIsOfferedWholeNextTime) {
  Show();
  std::string game = MakeGameFolder("Games, old");
  Browse(game);
  Show();
  EXPECT_EQ(view_.bt2_caption, std::string(form2::kBT2SavedBefore) + "\r" + game + "\r" + form2::kBT2SavedAfter);
  choice_.ClickBT2(view_);
  EXPECT_EQ(game_path_, game);
}

}  // namespace
}  // namespace tolvashu::testing
