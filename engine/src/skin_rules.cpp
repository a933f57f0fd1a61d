#include "engine/skin_rules.h"

#include "format/text.h"

namespace {

bool ContainsIgnoreCase(std::string_view text, std::string_view word) {
  return LowerAscii(text).find(LowerAscii(word)) != std::string::npos;
}

}  // namespace

TSkinVerdict JudgeWindow(const TWindowFacts& w, const TJudgeContext& ctx) {
  if (!ctx.SkinningOn) return TSkinVerdict::SkinningOff;
  if (w.Skinned) return TSkinVerdict::AlreadySkinned;
  const bool mdi_child = (w.ExStyle & kWsExMdiChild) != 0;
  if (!ctx.SkinAllPass && (w.Style & kWsChild) && !mdi_child &&
      !EqualsIgnoreCase(w.ParentClass, "mdiclient"))
    return TSkinVerdict::ChildWindow;
  if (!w.HasForm && !w.OwnModule && w.ClassName != "#32770") return TSkinVerdict::NotOurs;
  if (!w.HasArea && !mdi_child) return TSkinVerdict::NoArea;
  if (w.HasForm && w.FormTag == 99) return TSkinVerdict::FixedTag;
  if (w.ClassName.find("TcxPopupEditPopupWindow") != std::string::npos ||
      w.ClassName.find("TTERenderWindow") != std::string::npos || w.ClassName == "TApplication")
    return TSkinVerdict::ExcludedClass;
  bool do_skin = true;
  if (ctx.HasMainSkinData) {
    if (ContainsIgnoreCase(w.ClassName, "preview") && !ctx.MainOptions.Has(xoPreview))
      do_skin = false;
    if (w.ClassName == "#32770" && (w.Style & kDsSetForeground)) do_skin = false;
    if (EqualsIgnoreCase(w.ClassName, "tpopupdbtreeview")) do_skin = false;
    if (ctx.Filter) do_skin = ctx.Filter(w.ClassName, do_skin);
  }
  return do_skin ? TSkinVerdict::Skin : TSkinVerdict::Filtered;
}

int ChooseSkinData(const std::vector<TSkinDataFacts>& list, std::string_view class_name) {
  if (list.empty()) return -1;
  auto last = [&](auto pred) {
    int found = -1;
    for (size_t i = 0; i < list.size(); ++i)
      if (pred(list[i])) found = static_cast<int>(i);
    return found;
  };
  int i =
      last([](const TSkinDataFacts& d) { return d.FormType == sfOnlyThisForm && d.OwnerIsWindow; });
  if (i >= 0) return i;
  if (EqualsIgnoreCase(class_name, "tmessageform") || class_name == "#32770") {
    i = last([](const TSkinDataFacts& d) { return d.FormType == sfDialog; });
    if (i >= 0) return i;
  }
  i = last([](const TSkinDataFacts& d) { return d.FormType == sfMainform; });
  if (i >= 0) return i;
  return 0;
}

bool PopupKindAllowed(int kind, TSkinControlTypes controls) {
  switch (kind) {
    case 0:
      return controls.Has(xcPopupMenu);
    case 1:
      return controls.Has(xcMainMenu) || controls.Has(xcMenuItem);
    case 2:
      return controls.Has(xcSystemMenu);
    default:
      return false;
  }
}

TActionStart StartAction(int kind, int run_state) {
  TActionStart a;
  if (run_state != 0) {
    a.StartTimer = true;
  } else if (kind == 1 || kind == 2) {
    a.SetsSkinning = true;
    a.SkinningValue = kind == 1;
  }
  return a;
}

int ChooseMainSkinData(const std::vector<TSkinDataFacts>& list) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].FormType == sfMainform) return static_cast<int>(i);
  return -1;
}
