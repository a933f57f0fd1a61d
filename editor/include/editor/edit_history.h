// Undo and redo for the open skin. Every command that changes the skin runs
// between Begin and Commit; a command that changed something becomes one
// step, which keeps what it takes to go either way: the INI text before and
// after, the run-time schema when the command changed it, and the members
// whose bytes changed, were added or were removed (with every member's name
// in order, so the working set comes back exactly as it was).
//
// The history also knows where the skin was last saved: Modified is false
// exactly at that point (unless a command marked the skin modified without
// changing it). At most 100 steps or 64 MB of kept state are held; the
// oldest steps go first, and a saved point that goes with them can no longer
// be reached.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "editor/editor_schema.h"
#include "editor/skin_document.h"

// What the window showed around a step: the tree's nodes (caption and the
// index of the parent, -1 at the top), the selected element and grid row.
struct TEditView {
  std::vector<std::pair<std::string, int>> Tree;
  std::string Element;
  int Row = 0;
};

// One side of a step's members: every name in package order, and the bytes
// of each member the other side does not hold unchanged.
struct TMemberSide {
  std::vector<std::string> Names;
  std::vector<std::optional<std::vector<uint8_t>>> Bytes;
};

struct TEditStep {
  std::string Name;  // the command, as the Edit menu names it
  std::vector<uint8_t> IniBefore, IniAfter;
  bool SchemaChanged = false;
  std::string SchemaBefore, SchemaAfter;  // only when it changed
  bool MembersChanged = false;
  TMemberSide MembersBefore, MembersAfter;
  TEditView ViewBefore, ViewAfter;
  size_t KeptBytes() const;
};

class TEditHistory {
 public:
  static constexpr size_t kMaxSteps = 100;
  static constexpr size_t kMaxKeptBytes = size_t{64} << 20;

  explicit TEditHistory(size_t max_steps = kMaxSteps, size_t max_kept_bytes = kMaxKeptBytes);

  // A fresh history (opening, New, conversion): `saved` says whether the
  // skin as it is now is what its file holds.
  void Reset(bool saved);

  // Before a command: the state it starts from. A second Begin replaces a
  // command that never committed.
  void Begin(const std::string& name, const TSkinDocument& doc, const TEditorSchema& schema,
             TEditView view);
  // After it: a step when the skin or the schema changed (a new step drops
  // whatever could have been redone). False, with nothing kept, when nothing
  // changed or no command began.
  bool Commit(const TSkinDocument& doc, const TEditorSchema& schema, TEditView view);
  bool Pending() const { return pending_.has_value(); }
  // The skin counts as modified though nothing changed (until the next
  // step, undo, redo or save).
  void Touch() { touched_ = true; }

  bool CanUndo() const { return position_ > 0; }
  bool CanRedo() const { return position_ < steps_.size(); }
  const std::string& UndoName() const;
  const std::string& RedoName() const;
  // Puts the skin and the schema back one step, or forward one; the step
  // (for its views) or null when there is none.
  const TEditStep* Undo(TSkinDocument& doc, TEditorSchema& schema);
  const TEditStep* Redo(TSkinDocument& doc, TEditorSchema& schema);

  // The skin as it is now is what its file holds.
  void MarkSaved();
  bool Modified() const;

  size_t StepCount() const { return steps_.size(); }
  size_t Position() const { return position_; }
  size_t KeptBytes() const { return kept_bytes_; }

 private:
  struct TPending {
    std::string Name;
    std::vector<uint8_t> Ini;
    std::string Schema;
    std::vector<TSkinFileEntry> Members;
    TEditView View;
  };
  void DropRedo();
  void Trim();

  size_t max_steps_, max_kept_bytes_;
  std::deque<TEditStep> steps_;
  size_t position_ = 0;  // steps applied
  std::optional<size_t> saved_;
  bool touched_ = false;
  size_t kept_bytes_ = 0;
  std::optional<TPending> pending_;
};
