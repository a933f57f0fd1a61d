// Damaged skin packages through the editor's document: each one opens (or is
// refused with the reason the reader gives, or as a version the editor does
// not edit), shows its element tree, every element's grid rows, each bitmap
// row's bitmap and margin preview, and saves back into a package that holds
// every member it read byte for byte and the same INI entries.
#include <gtest/gtest.h>

#include <filesystem>

#include "damaged_corpus.h"
#include "editor/bitmap_panel.h"
#include "editor/element_editor.h"
#include "editor/element_tree.h"
#include "editor/skin_document.h"
#include "format/skin_package.h"
#include "test_files.h"

namespace {

using TIniEntries = std::vector<std::string>;

// "section\nkey\nvalue" for every entry, in document order.
TIniEntries EntriesOf(const TMemIniFile& ini) {
  TIniEntries out;
  std::vector<std::string> sections, keys;
  ini.ReadSections(sections);
  for (const std::string& s : sections) {
    ini.ReadSection(s, keys);
    for (const std::string& k : keys)
      out.push_back(s + "\n" + k + "\n" + ini.ReadString(s, k, ""));
  }
  return out;
}

// The bitmap a bitmap row names, decoded as the bitmap page does, and its
// margin preview from the element's margin rows.
void ShowBitmapRow(const TSkinDocument& doc, const TElementEditor& element,
                   const TElementNode& node, const TEditorSchema& schema, const TGridRow& row) {
  std::string name = doc.Ini().ReadString(element.SkinSection(), row.Key, "");
  if (const size_t slash = name.find_last_of("\\/"); slash != std::string::npos)
    name = name.substr(slash + 1);
  const std::vector<uint8_t>* bytes = doc.FileList().Find(name);
  if (!bytes) return;
  TPixmap bitmap;
  try {
    bitmap = DecodeEditorBitmap(*bytes);
  } catch (const EBmpError&) {
    return;  // the page shows no bitmap
  }
  const int frames = GetFrameCount(node.Caption, !node.TitleSection.empty(), doc.Ini(), schema,
                                   bitmap.Width, bitmap.Height);
  std::vector<TMarginCell> cells;
  for (int r = 1; r <= element.RowCount(); ++r)
    cells.push_back({element.Row(r)->Type, element.Row(r)->Value});
  TMargins margins;
  std::string error;
  ReadMargins(cells, margins, error);
  TPixmap preview;
  if (MakeMarginPreview(bitmap, frames, margins, 0xC0C0C0, preview)) {
    EXPECT_GT(preview.Width, 0);
    EXPECT_GT(preview.Height, 0);
  }
}

// Every node of the tree and the grid rows of its element.
void ShowTree(const TSkinDocument& doc) {
  TEditorSchema schema;
  schema.Load(SchemaResourceText());
  const std::vector<TElementNode> nodes = BuildElementTree(doc.Ini(), schema);
  EXPECT_FALSE(nodes.empty());
  for (const TElementNode& node : nodes) {
    TElementEditor element;
    element.Load(node.Caption, schema, &doc.Ini());
    for (int r = 1; r <= element.RowCount(); ++r) {
      const TGridRow* row = element.Row(r);
      ASSERT_NE(row, nullptr);
      EXPECT_FALSE(element.HelpKey(r).empty());
      if (row->Type == vtBitmap || row->Type == vtBitmap2)
        ShowBitmapRow(doc, element, node, schema, *row);
    }
  }
}

// The saved package holds the members read, in order, byte for byte, the
// INI member holding the same entries.
void ExpectSavedAsRead(const TSkinDocument& doc, const std::string& path) {
  TSkinReader saved;
  ASSERT_TRUE(saved.LoadFromFile(path)) << saved.LastError();
  const TSkinFileList& read = doc.FileList();
  ASSERT_EQ(saved.Count(), read.Count());
  for (int i = 0; i < read.Count(); ++i) {
    const TSkinFileEntry& m = read.Entry(i);
    auto bytes = saved.Member(i);
    if (m.Name == doc.IniMemberName()) {
      TMemIniFile reread;
      reread.LoadFromBytes(bytes);
      EXPECT_EQ(EntriesOf(reread), EntriesOf(doc.Ini()));
      continue;
    }
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), m.Bytes) << m.Name;
  }
}

TEST(DamagedDocument, OpensShowsAndSavesWhatItReadOrRefuses) {
  const std::filesystem::path folder =
      std::filesystem::path(testing::TempDir()) / "damaged_document";
  std::filesystem::create_directories(folder);
  const auto packages = PackagesUnderTest(TestCorpus());
  ASSERT_FALSE(packages.empty());
  for (const TDamagedSkin* s : packages) {
    SCOPED_TRACE(s->Name);
    TSkinDocument doc;
    const std::string path = (folder / s->Name).string();
    const TOpenResult result = doc.OpenFromBytes(s->Package, path);
    if (!s->Readable) {
      EXPECT_EQ(result, TOpenResult::orRefused);
      EXPECT_FALSE(doc.LastError().empty());
      EXPECT_FALSE(doc.IsOpen());
      continue;
    }
    ASSERT_NE(result, TOpenResult::orRefused) << doc.LastError();
    if (result == TOpenResult::orNotSupported) {
      EXPECT_FALSE(doc.IsOpen());
      continue;
    }
    ASSERT_EQ(result, TOpenResult::orOpened);
    // The INI as read from its member: what the document must keep.
    TMemIniFile as_read;
    as_read.LoadFromBytes(*doc.FileList().Find(doc.IniMemberName()));
    ASSERT_NO_FATAL_FAILURE(ShowTree(doc));
    EXPECT_EQ(EntriesOf(doc.Ini()), EntriesOf(as_read));
    doc.Save(path);
    ExpectSavedAsRead(doc, path);
    std::filesystem::remove(path);
  }
}

}  // namespace
