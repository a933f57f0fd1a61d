#include "editor/title_buttons.h"

#include <utility>

#include "editor/bitmap_commands.h"
#include "editor/element_tree.h"

namespace {

constexpr const char* kColourSchemaSection = "Colour";

// The section name itself, or one that no display name uses yet.
std::string FreeCaption(const TEditorSchema& schema, const std::string& section) {
  std::string caption = section;
  for (int n = 2; schema.HasDisplayName(caption); ++n)
    caption = section + " (" + std::to_string(n) + ")";
  return caption;
}

}  // namespace

std::string FreeSectionName(const TMemIniFile& skin, std::string_view base) {
  for (int n = 0;; ++n) {
    std::string name = std::string(base) + std::to_string(n);
    if (!skin.SectionExists(name)) return name;
  }
}

TAddedElement AddTitleButton(TMemIniFile& skin, TEditorSchema& schema) {
  TAddedElement added;
  added.Section = FreeSectionName(skin, "Button");
  static constexpr std::pair<const char*, const char*> kKeys[] = {
      {"ButtonImage", ""}, {"XCoord", "1"},  {"YCoord", "1"},
      {"Align", "0"},      {"Action", "-6"}, {"Visibility", "0"}};
  for (const auto& [key, value] : kKeys)
    skin.WriteString(added.Section, key, value);
  added.Caption = FreeCaption(schema, added.Section);
  schema.AddElement(added.Caption, added.Section, kTitleButtonSchemaSection);
  return added;
}

TAddedElement AddPresetColour(TMemIniFile& skin, TEditorSchema& schema) {
  TAddedElement added;
  added.Section = FreeSectionName(skin, "Colour");
  skin.WriteString(added.Section, "color", "255 255 255");
  added.Caption = FreeCaption(schema, added.Section);
  schema.AddElement(added.Caption, added.Section, kColourSchemaSection);
  return added;
}

std::string DeleteTitleButton(TMemIniFile& skin, TEditorSchema& schema, TSkinFileList& list,
                              std::string_view caption) {
  const std::string section = schema.SkinSection(caption);
  if (section.empty()) return {};
  const std::string image = skin.ReadString(section, "ButtonImage", "");
  schema.RemoveElement(caption);
  skin.EraseSection(section);
  // Erased first, so only other sections' keys keep the member.
  if (!image.empty() && !MemberNamedElsewhere(skin, image, section, "ButtonImage"))
    list.Delete(image);
  return section;
}
