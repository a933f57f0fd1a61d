// The manager's decisions as pure functions over plain facts about a window,
// so that the rules can be exercised without windows. The manager gathers
// the facts from the platform and acts on the answers.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/skin_options.h"

// What the manager knows about a window being judged.
struct TWindowFacts {
  std::string ClassName;
  uint32_t Style = 0;    // WS_* and DS_* bits
  uint32_t ExStyle = 0;  // WS_EX_* bits
  std::string ParentClass;
  bool HasForm = false;    // a framework form or control stands behind it
  int FormTag = 0;         // that form's Tag
  bool OwnModule = false;  // created by this program's module
  bool HasArea = true;     // its window rectangle is not empty
  bool Skinned = false;    // answers the skinned query or has a frame skinner
};

constexpr uint32_t kWsChild = 0x40000000u;
constexpr uint32_t kWsExMdiChild = 0x00000040u;
constexpr uint32_t kDsSetForeground = 0x200u;

// Why a window is left alone.
enum class TSkinVerdict {
  Skin,
  SkinningOff,
  AlreadySkinned,
  ChildWindow,
  NotOurs,
  NoArea,
  FixedTag,       // a form with Tag 99
  ExcludedClass,  // popup helpers of other libraries, TApplication
  Filtered,       // preview windows, set-foreground dialogs, the window filter
};

// The window filter of the main skin data component: receives the class
// name and the decision so far and gives the final decision.
using TFormFilterFn = std::function<bool(std::string_view class_name, bool do_skin)>;

struct TJudgeContext {
  bool SkinningOn = false;
  bool SkinAllPass = false;
  bool HasMainSkinData = false;
  TSkinOptions MainOptions;  // of the main skin data component
  TFormFilterFn Filter;      // that component's FormFilter, or empty
};

// Steps 1 to 9 of skinning a window (the choice of component follows).
TSkinVerdict JudgeWindow(const TWindowFacts& w, const TJudgeContext& ctx);

// A registered skin data component, as the choice of component sees it.
struct TSkinDataFacts {
  TSkinFormType FormType = sfMainform;
  bool OwnerIsWindow = false;  // its owner form's window is the one judged
  bool SkinEmpty = false;
};
// Index into `list` of the component that skins a window of that class, or
// -1 when the list is empty: the last match of the first rule that matches.
int ChooseSkinData(const std::vector<TSkinDataFacts>& list, std::string_view class_name);

// Whether a popup of kind 0 (context menu), 1 (menu bar or ordinary popup)
// or 2 (system menu) is skinned with these control kinds.
bool PopupKindAllowed(int kind, TSkinControlTypes controls);

// The delayed actions: 1 skin all, 2 unskin all, 3 reload. Before any window
// was activated, skin and unskin take effect at once by switching skinning
// on or off; otherwise the action timer runs.
struct TActionStart {
  bool StartTimer = false;
  bool SetsSkinning = false;  // SkinningOn becomes SkinningValue
  bool SkinningValue = false;
};
TActionStart StartAction(int kind, int run_state);

// The main component: the first registered one of form type sfMainform.
int ChooseMainSkinData(const std::vector<TSkinDataFacts>& list);
