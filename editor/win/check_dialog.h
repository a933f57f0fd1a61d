// The Check Skin window: what the skin checker finds in the open skin (its
// members as they are now, with the INI document's current text), one line
// a finding. It stays open beside the main window; a double-click on a
// finding selects the element and grid row it is about.
#pragma once

#include <vector>

#include "engine/skin_checker.h"
#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"

class TMainfm;

extern const char* const kNoProblemsText;  // "No problems found."

class TCheckFm : public TForm {
  MV_CLASS(TCheckFm, TForm)
 public:
  TCheckFm(TComponent* owner, TMainfm& main);

  // Checks the main window's open skin again and lists what it finds.
  void Recheck();
  // Shows the finding of a list row in the main window.
  void ShowFindingOfRow(int row);
  const TSkinCheckReport& Report() const { return report_; }

  TListView* FindingList = nullptr;  // severity, section, key, message
  TLabel* Summary = nullptr;         // counts, "No problems found." or why nothing was checked
  TButton *RecheckBtn = nullptr, *CloseBtn = nullptr;

 private:
  void BuildButtons();
  void FillList();

  TMainfm& main_;
  TSkinCheckReport report_;
};
