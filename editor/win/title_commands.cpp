// Adding and deleting title buttons and adding preset-colour sections: the
// INI and schema edits of editor/title_buttons.h, then the tree node.
#include "editor/title_buttons.h"
#include "main_form.h"

namespace {
const char* const kDeleteQuestion = "Do you want to delete this node?";
}

void TMainfm::AddTitleButton() {
  if (!doc_.IsOpen() || !TitleButtonNode) return;
  VL->CommitEdit();
  const TAddedElement added = ::AddTitleButton(doc_.Ini(), schema_);
  TTreeNode* node = Tree1->Items()->AddChild(TitleButtonNode, added.Caption);
  TitleButtonNode->SetExpanded(true);
  Tree1->SetSelected(node);
  SetModified();
}

void TMainfm::AddPresetColour() {
  if (!doc_.IsOpen()) return;
  VL->CommitEdit();
  const TAddedElement added = ::AddPresetColour(doc_.Ini(), schema_);
  Tree1->SetSelected(Tree1->Items()->AddChild(nullptr, added.Caption));
  SetModified();
}

void TMainfm::DeleteNode() {
  TTreeNode* node = Tree1->Selected();
  if (!doc_.IsOpen() || !node || !TitleButtonNode || node->Parent() != TitleButtonNode) return;
  if (!AskYesNo(kDeleteQuestion)) return;
  VL->CommitEdit();
  DeleteTitleButton(doc_.Ini(), schema_, doc_.FileList(), node->Text());
  ShowBitmap("");
  node->Delete();
  // The grid never goes on showing the erased section.
  TTreeNode* now = Tree1->Selected();
  LoadElement(now ? now->Text() : std::string());
  SetModified();
}
