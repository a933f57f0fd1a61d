// Fuzz target: the editor opening a package. Package bytes become a skin
// document; the document gives the element tree and, for some elements, the
// grid rows; the document is packed again as Save would write it and the
// packed bytes must open to the same INI text and the same members.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/editor_schema.h"
#include "editor/element_editor.h"
#include "editor/element_tree.h"
#include "editor/skin_document.h"
#include "format/file_io.h"
#include "format/skin_package.h"

namespace {

// The schema as the editor loads it from its resource, read once. Each input
// works on a copy, since building the tree adds title buttons to it.
const TEditorSchema& BaseSchema() {
  static const TEditorSchema schema = [] {
    std::vector<uint8_t> text;
    if (!ReadFileBytes(std::string(MV_SOURCE_DIR) + "/editor/resources/skinini.ini", text) ||
        text.empty())
      std::abort();
    TEditorSchema s;
    s.Load(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    return s;
  }();
  return schema;
}

void CheckTree(const std::vector<TElementNode>& nodes) {
  for (size_t i = 0; i < nodes.size(); ++i) {
    const int parent = nodes[i].Parent;
    if (parent < -1 || parent >= static_cast<int>(i)) std::abort();
    if (nodes[i].Caption.empty()) std::abort();
  }
}

// The grid of one element: every row is reachable by its grid row, nothing
// outside them is, and committing the value a row shows changes nothing.
void CheckGrid(const TElementNode& node, const TEditorSchema& schema, TMemIniFile& skin) {
  TElementEditor editor;
  editor.Load(node.Caption, schema, &skin);
  if (editor.Row(0) || editor.Row(editor.RowCount() + 1)) std::abort();
  for (int r = 1; r <= editor.RowCount(); ++r) {
    const TGridRow* row = editor.Row(r);
    if (!row || row->Key.empty()) std::abort();
    if (IsBitmapType(row->Type) != (row->Value == kBitmapCellText && row->ReadOnly)) std::abort();
    const std::string before = skin.GetText();
    if (!IsBitmapType(row->Type) && CommitValue(editor.Target(r), row->Value, skin)) std::abort();
    if (skin.GetText() != before) std::abort();
  }
}

// The saved bytes open again with the same INI text and the same members.
void CheckSavedCopy(const TSkinDocument& doc) {
  std::vector<uint8_t> saved;
  try {
    saved = doc.PackageBytes();
  } catch (const ESkinPackageError&) {
    return;  // too many members or a name that cannot be stored: Save refuses it too
  }
  TSkinDocument again;
  if (again.OpenFromBytes(saved, "again.skn") != TOpenResult::orOpened) std::abort();
  if (again.Ini().GetText() != doc.Ini().GetText()) std::abort();
  if (again.IniMemberName() != doc.IniMemberName()) std::abort();
  const TSkinFileList& a = doc.FileList();
  const TSkinFileList& b = again.FileList();
  if (a.Count() != b.Count()) std::abort();
  bool ini_seen = false;  // only the first ".ini" member was packed from the document
  for (int i = 0; i < a.Count(); ++i) {
    if (a.Entry(i).Name != b.Entry(i).Name) std::abort();
    const bool is_ini = !ini_seen && a.Entry(i).Name.find(".ini") != std::string::npos;
    ini_seen = ini_seen || is_ini;
    if (!is_ini && a.Entry(i).Bytes != b.Entry(i).Bytes) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TSkinDocument doc;
  if (doc.OpenFromBytes(std::span<const uint8_t>(data, size), "input.skn") != TOpenResult::orOpened)
    return 0;
  TEditorSchema schema = BaseSchema();
  const std::vector<TElementNode> nodes = BuildElementTree(doc.Ini(), schema);
  CheckTree(nodes);
  // The first few fixed elements and the first few title buttons.
  int title_buttons = 0;
  for (size_t i = 0; i < nodes.size(); ++i) {
    const bool title_button = !nodes[i].TitleSection.empty();
    if (i < 6 || (title_button && title_buttons++ < 8)) CheckGrid(nodes[i], schema, doc.Ini());
  }
  CheckSavedCopy(doc);
  return 0;
}
