#include "editor/editor_schema.h"

#include "format/text.h"

const char* const kSectionNameSection = "SectionName";
const char* const kSkinSectionNameSection = "SkinSectionName";

TSchemaEntry ParseSchemaEntry(std::string_view value, std::string_view key) {
  TSchemaEntry e;
  size_t comma = value.find(',');
  std::string_view type = comma == std::string_view::npos ? value : value.substr(0, comma);
  e.Type = StrToIntDef(TrimView(type), vtNumber);
  e.Label = comma == std::string_view::npos ? std::string(key) : Trim(value.substr(comma + 1));
  return e;
}

bool IsBitmapType(int type) {
  return type == vtBitmap || type == vtBitmap2;
}
bool IsMarginType(int type) {
  return type >= vtLeftMargin && type <= vtBottomMargin;
}

void TEditorSchema::Load(std::string_view text) {
  ini_.SetText(text);
}

std::string TEditorSchema::SchemaSection(std::string_view display_name) const {
  return ini_.ReadString(kSectionNameSection, display_name, "");
}

std::string TEditorSchema::SkinSection(std::string_view display_name) const {
  return ini_.ReadString(kSkinSectionNameSection, display_name, "");
}

bool TEditorSchema::HasDisplayName(std::string_view display_name) const {
  return ini_.ValueExists(kSkinSectionNameSection, display_name);
}

std::vector<TSchemaRow> TEditorSchema::Rows(std::string_view schema_section) const {
  std::vector<std::string> keys;
  ini_.ReadSection(schema_section, keys);
  std::vector<TSchemaRow> rows;
  rows.reserve(keys.size());
  for (const std::string& key : keys) {
    if (key.empty()) continue;  // a line without "=" names no key
    TSchemaEntry e = ParseSchemaEntry(ini_.ReadString(schema_section, key, ""), key);
    rows.push_back({key, e.Label, e.Type});
  }
  return rows;
}

void TEditorSchema::AddElement(std::string_view display_name, std::string_view skin_section,
                               std::string_view schema_section) {
  ini_.WriteString(kSkinSectionNameSection, display_name, skin_section);
  ini_.WriteString(kSectionNameSection, display_name, schema_section);
}

void TEditorSchema::RemoveElement(std::string_view display_name) {
  ini_.DeleteKey(kSkinSectionNameSection, display_name);
  ini_.DeleteKey(kSectionNameSection, display_name);
}
