#include "editor/finding_place.h"

#include "format/text.h"

namespace {

// The key's grid row in the element's schema section, 0 when it has none.
int GridRowOfKey(const TEditorSchema& schema, const std::string& schema_section,
                 std::string_view key) {
  if (key.empty()) return 0;
  const std::vector<TSchemaRow> rows = schema.Rows(schema_section);
  for (size_t i = 0; i < rows.size(); ++i)
    if (EqualsIgnoreCase(rows[i].Key, key)) return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace

TFindingPlace LocateFinding(const std::vector<std::string>& captions, const TEditorSchema& schema,
                            std::string_view section, std::string_view key) {
  TFindingPlace first;
  if (section.empty()) return first;
  for (size_t i = 0; i < captions.size(); ++i) {
    // Only nodes that fill the grid are elements (both names mapped).
    const std::string schema_section = schema.SchemaSection(captions[i]);
    if (schema_section.empty() || !EqualsIgnoreCase(schema.SkinSection(captions[i]), section))
      continue;
    const int node = static_cast<int>(i);
    if (const int row = GridRowOfKey(schema, schema_section, key); row > 0) return {node, row};
    if (!first.Found()) first.Node = node;
  }
  return first;
}
