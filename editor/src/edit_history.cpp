#include "editor/edit_history.h"

#include <map>
#include <utility>

namespace {

// A member is matched across a step by its name and by how many members of
// that name come before it, so a package with two members of one name keeps
// each one's bytes.
using TMemberKey = std::pair<std::string, int>;

std::vector<TMemberKey> KeysOf(const std::vector<std::string>& names) {
  std::map<std::string, int> seen;
  std::vector<TMemberKey> keys;
  keys.reserve(names.size());
  for (const std::string& n : names)
    keys.emplace_back(n, seen[n]++);
  return keys;
}

std::vector<std::string> NamesOf(const std::vector<TSkinFileEntry>& entries) {
  std::vector<std::string> names;
  names.reserve(entries.size());
  for (const TSkinFileEntry& e : entries)
    names.push_back(e.Name);
  return names;
}

// `side`'s names, with the bytes of each member `other` does not hold
// unchanged under the same key.
TMemberSide SideOf(const std::vector<TSkinFileEntry>& side,
                   const std::vector<TSkinFileEntry>& other) {
  TMemberSide result;
  result.Names = NamesOf(side);
  const std::vector<TMemberKey> keys = KeysOf(result.Names);
  const std::vector<TMemberKey> other_keys = KeysOf(NamesOf(other));
  std::map<TMemberKey, size_t> other_index;
  for (size_t i = 0; i < other_keys.size(); ++i)
    other_index[other_keys[i]] = i;
  for (size_t i = 0; i < side.size(); ++i) {
    auto found = other_index.find(keys[i]);
    const bool same = found != other_index.end() && other[found->second].Bytes == side[i].Bytes;
    result.Bytes.push_back(same ? std::nullopt : std::optional(side[i].Bytes));
  }
  return result;
}

// Rebuilds the working set as `side` describes it from what it holds now
// (the other side of the step).
void RestoreMembers(const TMemberSide& side, TSkinFileList& list) {
  const std::vector<TSkinFileEntry> now = list.Entries();
  std::map<TMemberKey, size_t> now_index;
  const std::vector<TMemberKey> now_keys = KeysOf(NamesOf(now));
  for (size_t i = 0; i < now_keys.size(); ++i)
    now_index[now_keys[i]] = i;
  const std::vector<TMemberKey> keys = KeysOf(side.Names);
  list.Clear();
  for (size_t i = 0; i < side.Names.size(); ++i) {
    const std::vector<uint8_t>* bytes = side.Bytes[i] ? &*side.Bytes[i] : nullptr;
    auto found = now_index.find(keys[i]);
    if (!bytes && found != now_index.end()) bytes = &now[found->second].Bytes;
    static const std::vector<uint8_t> kNone;
    list.ReplaceFromStream("", side.Names[i], bytes ? *bytes : kNone);
  }
}

size_t SideBytes(const TMemberSide& side) {
  size_t n = 0;
  for (const std::string& name : side.Names)
    n += name.size() + sizeof(std::string);
  for (const auto& bytes : side.Bytes)
    n += bytes ? bytes->size() + sizeof(*bytes) : sizeof(bytes);
  return n;
}

size_t ViewBytes(const TEditView& view) {
  size_t n = view.Element.size();
  for (const auto& node : view.Tree)
    n += node.first.size() + sizeof(node);
  return n;
}

// One side of a step: the INI text, the schema when it changed, the
// members when they changed.
void Apply(const TEditStep& step, bool before, TSkinDocument& doc, TEditorSchema& schema) {
  doc.Ini().LoadFromBytes(before ? step.IniBefore : step.IniAfter);
  if (step.SchemaChanged) schema.Load(before ? step.SchemaBefore : step.SchemaAfter);
  if (step.MembersChanged)
    RestoreMembers(before ? step.MembersBefore : step.MembersAfter, doc.FileList());
}

const std::string kNoName;

}  // namespace

size_t TEditStep::KeptBytes() const {
  return sizeof(TEditStep) + Name.size() + IniBefore.size() + IniAfter.size() +
         SchemaBefore.size() + SchemaAfter.size() + SideBytes(MembersBefore) +
         SideBytes(MembersAfter) + ViewBytes(ViewBefore) + ViewBytes(ViewAfter);
}

TEditHistory::TEditHistory(size_t max_steps, size_t max_kept_bytes)
    : max_steps_(max_steps), max_kept_bytes_(max_kept_bytes) {
  Reset(true);
}

void TEditHistory::Reset(bool saved) {
  steps_.clear();
  position_ = 0;
  saved_ = saved ? std::optional<size_t>(0) : std::nullopt;
  touched_ = false;
  kept_bytes_ = 0;
  pending_.reset();
}

void TEditHistory::Begin(const std::string& name, const TSkinDocument& doc,
                         const TEditorSchema& schema, TEditView view) {
  pending_.reset();
  if (!doc.IsOpen()) return;
  pending_ = TPending{name, doc.Ini().SaveToBytes(), schema.Ini().GetText(),
                      doc.FileList().Entries(), std::move(view)};
}

bool TEditHistory::Commit(const TSkinDocument& doc, const TEditorSchema& schema, TEditView view) {
  if (!pending_ || !doc.IsOpen()) {
    pending_.reset();
    return false;
  }
  TPending before = std::move(*pending_);
  pending_.reset();
  TEditStep step;
  step.IniAfter = doc.Ini().SaveToBytes();
  std::string schema_after = schema.Ini().GetText();
  const std::vector<TSkinFileEntry>& members = doc.FileList().Entries();
  step.MembersChanged = members.size() != before.Members.size();
  for (size_t i = 0; !step.MembersChanged && i < members.size(); ++i)
    step.MembersChanged =
        members[i].Name != before.Members[i].Name || members[i].Bytes != before.Members[i].Bytes;
  const bool schema_changed = schema_after != before.Schema;
  if (step.IniAfter == before.Ini && !schema_changed && !step.MembersChanged) return false;
  step.Name = std::move(before.Name);
  step.IniBefore = std::move(before.Ini);
  step.SchemaChanged = schema_changed;
  if (schema_changed) {
    step.SchemaBefore = std::move(before.Schema);
    step.SchemaAfter = std::move(schema_after);
  }
  if (step.MembersChanged) {
    step.MembersBefore = SideOf(before.Members, members);
    step.MembersAfter = SideOf(members, before.Members);
  }
  step.ViewBefore = std::move(before.View);
  step.ViewAfter = std::move(view);
  DropRedo();
  kept_bytes_ += step.KeptBytes();
  steps_.push_back(std::move(step));
  ++position_;
  touched_ = false;
  Trim();
  return true;
}

void TEditHistory::DropRedo() {
  while (steps_.size() > position_) {
    kept_bytes_ -= steps_.back().KeptBytes();
    steps_.pop_back();
  }
  // The saved point was on the branch that is gone.
  if (saved_ && *saved_ > position_) saved_.reset();
}

void TEditHistory::Trim() {
  while (!steps_.empty() && (steps_.size() > max_steps_ || kept_bytes_ > max_kept_bytes_)) {
    kept_bytes_ -= steps_.front().KeptBytes();
    steps_.pop_front();
    --position_;
    if (saved_) saved_ = *saved_ == 0 ? std::nullopt : std::optional<size_t>(*saved_ - 1);
  }
}

const std::string& TEditHistory::UndoName() const {
  return CanUndo() ? steps_[position_ - 1].Name : kNoName;
}

const std::string& TEditHistory::RedoName() const {
  return CanRedo() ? steps_[position_].Name : kNoName;
}

const TEditStep* TEditHistory::Undo(TSkinDocument& doc, TEditorSchema& schema) {
  if (!CanUndo() || !doc.IsOpen()) return nullptr;
  pending_.reset();
  const TEditStep& step = steps_[--position_];
  Apply(step, true, doc, schema);
  touched_ = false;
  return &step;
}

const TEditStep* TEditHistory::Redo(TSkinDocument& doc, TEditorSchema& schema) {
  if (!CanRedo() || !doc.IsOpen()) return nullptr;
  pending_.reset();
  const TEditStep& step = steps_[position_++];
  Apply(step, false, doc, schema);
  touched_ = false;
  return &step;
}

void TEditHistory::MarkSaved() {
  saved_ = position_;
  touched_ = false;
}

bool TEditHistory::Modified() const {
  return touched_ || !saved_ || *saved_ != position_;
}
