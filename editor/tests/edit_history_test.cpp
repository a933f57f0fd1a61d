#include "editor/edit_history.h"

#include <gtest/gtest.h>

#include <functional>

#include "editor/bitmap_commands.h"
#include "editor/element_editor.h"
#include "editor/element_tree.h"
#include "editor/ini_viewer.h"
#include "editor/title_buttons.h"
#include "format/skin_package.h"
#include "test_files.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

const char* const kSkinText =
    "[Skins]\r\nVersion=150\r\n"
    "[Form]\r\nCaption=c.bmp\r\nBorder=b.bmp\r\nColour=1 2 3\r\n"
    "[Button0]\r\nButtonImage=t.bmp\r\nAction=0\r\n"
    "[Button1]\r\nButtonImage=t.bmp\r\nAction=1\r\n";

// A package with a member the INI names twice, one it names once and two
// members of one name.
std::vector<uint8_t> FixturePackage() {
  TSkinWriter w;
  w.AddMember("c.bmp", Bytes("caption pixels"));
  w.AddMember("skin.ini", Bytes(kSkinText));
  w.AddMember("t.bmp", Bytes("title button pixels"));
  w.AddMember("dup.bmp", Bytes("first of two"));
  w.AddMember("b.bmp", Bytes("border pixels"));
  w.AddMember("dup.bmp", Bytes("second of two"));
  return w.SaveToBytes();
}

TPixmap Picture(int width, uint8_t shade) {
  TPixmap p(width, 2, 24);
  for (uint8_t& b : p.Pixels)
    b = shade;
  return p;
}

using TCommand = std::function<void(TSkinDocument&, TEditorSchema&)>;

struct TNamedCommand {
  const char* Name;
  TCommand Run;
};

// The editor's commands, each as the window runs it on the skin.
const std::vector<TNamedCommand>& MixedCommands() {
  static const std::vector<TNamedCommand> commands = {
      {"Edit value",
       [](TSkinDocument& d, TEditorSchema&) {
         CommitValue({"Form", "Colour", vtColour}, "9 9 9", d.Ini());
       }},
      {"Import Bitmap",
       [](TSkinDocument& d, TEditorSchema&) {
         ImportBitmap(d.Ini(), d.FileList(), "Form", "Border", "b.bmp", "C:\\x\\new.bmp",
                      Picture(3, 0x40));
       }},
      {"Clear Bitmap",
       [](TSkinDocument& d, TEditorSchema&) {
         ClearBitmap(d.Ini(), d.FileList(), "Form", "Caption", "c.bmp");
       }},
      {"Add Title Button", [](TSkinDocument& d, TEditorSchema& s) { AddTitleButton(d.Ini(), s); }},
      {"Delete Title Button",
       [](TSkinDocument& d, TEditorSchema& s) {
         DeleteTitleButton(d.Ini(), s, d.FileList(), "Close Button");
       }},
      {"INI Editor",
       [](TSkinDocument& d, TEditorSchema&) {
         WriteIniLines({"Caption=", "Extra=1"}, "Form", d.Ini());
       }},
      {"Import",  // a partial import: members replaced, added and removed
       [](TSkinDocument& d, TEditorSchema&) {
         d.FileList().ReplaceFromStream("dup.bmp", "dup.bmp", Bytes("imported"));
         d.FileList().ReplaceFromStream("", "z.bmp", Bytes("added"));
         d.FileList().Delete("t.bmp");
         d.Ini().WriteString("Form", "Z", "z.bmp");
       }},
      {"Import Bitmap",  // once more, over the member the first import made
       [](TSkinDocument& d, TEditorSchema&) {
         ImportBitmap(d.Ini(), d.FileList(), "Form", "Border", "new.bmp", "C:\\x\\new.bmp",
                      Picture(5, 0x80));
       }},
  };
  return commands;
}

class EditHistoryTest : public ::testing::Test {
 public:  // the table of moves works on the fixture
  void SetUp() override {
    ASSERT_EQ(doc.OpenFromBytes(FixturePackage(), "C:\\f.skn"), TOpenResult::orOpened);
    schema.Load(SchemaResourceText());
    BuildElementTree(doc.Ini(), schema);
    history.Reset(true);
    opened = doc.PackageBytes();
  }
  // One command through the history; false when it left nothing to undo.
  bool Run(const TNamedCommand& command, TEditHistory& h) {
    h.Begin(command.Name, doc, schema, {});
    command.Run(doc, schema);
    return h.Commit(doc, schema, {});
  }
  bool Run(const TNamedCommand& command) { return Run(command, history); }
  struct TState {
    std::vector<uint8_t> Package;
    std::string Schema;
    bool operator==(const TState&) const = default;
  };
  TState Now() const { return {doc.PackageBytes(), schema.Ini().GetText()}; }

  TSkinDocument doc;
  TEditorSchema schema;
  TEditHistory history;
  std::vector<uint8_t> opened;  // what saving right after opening writes
};

TEST_F(EditHistoryTest, UndoAndRedoWalkEveryStateOfMixedCommandsExactly) {
  std::vector<TState> states = {Now()};
  for (const TNamedCommand& c : MixedCommands()) {
    ASSERT_TRUE(Run(c)) << c.Name;
    states.push_back(Now());
    ASSERT_NE(states.back(), states[states.size() - 2]) << c.Name << " changed nothing";
  }
  ASSERT_EQ(history.StepCount(), MixedCommands().size());
  for (size_t i = states.size() - 1; i > 0; --i) {
    EXPECT_EQ(history.UndoName(), MixedCommands()[i - 1].Name);
    ASSERT_NE(history.Undo(doc, schema), nullptr);
    EXPECT_EQ(Now(), states[i - 1]) << "undo of " << MixedCommands()[i - 1].Name;
  }
  EXPECT_FALSE(history.CanUndo());
  EXPECT_EQ(history.Undo(doc, schema), nullptr);
  EXPECT_EQ(doc.PackageBytes(), opened);
  for (size_t i = 1; i < states.size(); ++i) {
    EXPECT_EQ(history.RedoName(), MixedCommands()[i - 1].Name);
    ASSERT_NE(history.Redo(doc, schema), nullptr);
    EXPECT_EQ(Now(), states[i]) << "redo of " << MixedCommands()[i - 1].Name;
  }
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(history.Redo(doc, schema), nullptr);
}

TEST_F(EditHistoryTest, EachCommandAloneUndoesToTheOpenedPackage) {
  for (const TNamedCommand& c : MixedCommands()) {
    SetUp();
    ASSERT_TRUE(Run(c)) << c.Name;
    const TState after = Now();
    history.Undo(doc, schema);
    EXPECT_EQ(doc.PackageBytes(), opened) << c.Name;
    history.Redo(doc, schema);
    EXPECT_EQ(Now(), after) << c.Name;
  }
}

TEST_F(EditHistoryTest, CommandsThatChangeNothingLeaveNoStep) {
  const TNamedCommand same_value = {"Edit value", [](TSkinDocument& d, TEditorSchema&) {
                                      CommitValue({"Form", "Colour", vtColour}, "1 2 3", d.Ini());
                                    }};
  EXPECT_FALSE(Run(same_value));
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.Modified());
  // Without Begin nothing is recorded.
  MixedCommands()[0].Run(doc, schema);
  EXPECT_FALSE(history.Commit(doc, schema, {}));
  EXPECT_FALSE(history.CanUndo());
}

TEST_F(EditHistoryTest, ANewCommandAfterUndoDropsTheRedoBranch) {
  for (int i = 0; i < 3; ++i)
    ASSERT_TRUE(Run(MixedCommands()[static_cast<size_t>(i)]));
  history.Undo(doc, schema);
  history.Undo(doc, schema);
  ASSERT_TRUE(history.CanRedo());
  ASSERT_TRUE(Run(MixedCommands()[5]));
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(history.StepCount(), 2u);
  EXPECT_EQ(history.UndoName(), "INI Editor");
  const TState after = Now();
  history.Undo(doc, schema);
  history.Undo(doc, schema);
  EXPECT_EQ(doc.PackageBytes(), opened);
  history.Redo(doc, schema);
  history.Redo(doc, schema);
  EXPECT_EQ(Now(), after);
}

TEST_F(EditHistoryTest, ModifiedFollowsThePositionAgainstTheSavedPoint) {
  struct TMove {
    const char* What;
    std::function<void(EditHistoryTest&)> Do;
    bool Modified;
  };
  auto edit = [](int v) {
    return [v](EditHistoryTest& t) {
      t.Run({"Edit value",
             [v](TSkinDocument& d, TEditorSchema&) { d.Ini().WriteInteger("Form", "N", v); }});
    };
  };
  auto undo = [](EditHistoryTest& t) { t.history.Undo(t.doc, t.schema); };
  auto redo = [](EditHistoryTest& t) { t.history.Redo(t.doc, t.schema); };
  const std::vector<TMove> moves = {
      {"opened", [](EditHistoryTest&) {}, false},
      {"edit 1", edit(1), true},
      {"undo to the opened state", undo, false},
      {"redo", redo, true},
      {"edit 2", edit(2), true},
      {"save", [](EditHistoryTest& t) { t.history.MarkSaved(); }, false},
      {"undo past the save", undo, true},
      {"redo to the save", redo, false},
      {"touch without a change", [](EditHistoryTest& t) { t.history.Touch(); }, true},
      {"undo", undo, true},
      {"redo back to the save", redo, false},
      {"undo twice", [&](EditHistoryTest& t) { undo(t), undo(t); }, true},
      {"a new edit drops the branch with the save", edit(3), true},
      {"another edit, as many steps as the save had", edit(4), true},
      {"undo", undo, true},
  };
  for (const TMove& m : moves) {
    m.Do(*this);
    EXPECT_EQ(history.Modified(), m.Modified) << m.What;
  }
}

TEST_F(EditHistoryTest, AFreshHistoryWithoutASavedPointStaysModified) {
  history.Reset(false);
  EXPECT_TRUE(history.Modified());
  ASSERT_TRUE(Run(MixedCommands()[0]));
  history.Undo(doc, schema);
  EXPECT_TRUE(history.Modified());
  history.MarkSaved();
  EXPECT_FALSE(history.Modified());
}

TEST_F(EditHistoryTest, BoundsDropTheOldestStepsAndASavedPointWithThem) {
  struct TBound {
    size_t MaxSteps, MaxBytes;
    size_t PayloadBytes;  // of each step's new member
    int Commands;
    size_t KeptSteps;
  };
  const std::vector<TBound> bounds = {
      {TEditHistory::kMaxSteps, TEditHistory::kMaxKeptBytes, 16, 120, 100},
      // Each step keeps its 1 MB member once (the other side holds nothing
      // for a member it does not have): 64 fit, with the INI texts.
      {TEditHistory::kMaxSteps, TEditHistory::kMaxKeptBytes, size_t{1} << 20, 70, 63},
      {5, size_t{1} << 30, 16, 120, 5},
  };
  for (const TBound& b : bounds) {
    SetUp();
    TEditHistory h(b.MaxSteps, b.MaxBytes);
    const int members = doc.FileList().Count();
    for (int i = 0; i < b.Commands; ++i) {
      ASSERT_TRUE(Run({"Add member",
                       [&](TSkinDocument& d, TEditorSchema&) {
                         d.FileList().ReplaceFromStream(
                             "", "m" + std::to_string(i) + ".bmp",
                             std::vector<uint8_t>(b.PayloadBytes, static_cast<uint8_t>(i)));
                       }},
                      h));
      EXPECT_LE(h.KeptBytes(), b.MaxBytes);
      EXPECT_LE(h.StepCount(), b.MaxSteps);
    }
    EXPECT_EQ(h.StepCount(), b.KeptSteps) << b.MaxSteps << " " << b.PayloadBytes;
    EXPECT_TRUE(h.Modified());
    size_t undone = 0;
    while (h.Undo(doc, schema))
      ++undone;
    EXPECT_EQ(undone, b.KeptSteps);
    ASSERT_EQ(doc.FileList().Count(), members + b.Commands - static_cast<int>(undone));
    EXPECT_EQ(doc.FileList().Entries().back().Name,
              "m" + std::to_string(b.Commands - static_cast<int>(undone) - 1) + ".bmp");
    // The opened state went with the oldest steps: never unmodified again.
    EXPECT_TRUE(h.Modified());
  }
}

TEST_F(EditHistoryTest, AStepLargerThanTheBoundIsNotKept) {
  TEditHistory h(TEditHistory::kMaxSteps, 1000);
  ASSERT_TRUE(Run({"Add member",
                   [](TSkinDocument& d, TEditorSchema&) {
                     d.FileList().ReplaceFromStream("", "big.bmp", std::vector<uint8_t>(4000));
                   }},
                  h));
  EXPECT_FALSE(h.CanUndo());
  EXPECT_EQ(h.KeptBytes(), 0u);
  EXPECT_TRUE(h.Modified());
}

}  // namespace
