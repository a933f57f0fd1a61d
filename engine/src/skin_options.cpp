#include "engine/skin_options.h"

#include "format/text.h"

TSkinControlTypes DefaultSkinControls() {
  TSkinControlTypes s = TSkinControlTypes::All();
  s.Exclude(xcMenuItem);
  s.Exclude(xcFastReport);
  return s;
}

TSkinOptions DefaultSkinOptions() {
  return {xoPreview, xoToolbarBK};
}

uint32_t StoredSkinControls(TSkinControlTypes s) {
  return s.Bits() & 0xFFFFFFu;
}
uint32_t StoredSkinOptions(TSkinOptions s) {
  return s.Bits() & 0xFFFFu;
}

const std::vector<std::string>& BuiltinSkin3rd() {
  // Control classes of other libraries and the kind of skinner that suits
  // them; the first row for a class wins.
  static const std::vector<std::string> rows = {
      "TCategoryButtons=scrollbar",
      "TPngSpeedbutton=pngspeedbutton",
      "TPngBitBtn=pngbitbtn",
      "TVirtualStringTree=scrollbar",
      "TVirtualDrawTree=scrollbar",
      "TTBXDockablePanel=Panel",
      "TAdvPanelGroup=scrollbar",
      "TComboboxex=combobox",
      "TRxSpeedButton=speedbutton",
      "THTMLViewer=scrollbar",
      "TDBCtrlGrid=scrollbar",
      "TfrSpeedButton=speedbutton",
      "TfrTBButton=speedbutton",
      "TControlBar=Panel",
      "TTBDock=Panel",
      "TTBToolbar=Panel",
      "TImageEnMView=scrollbar",
      "TImageEnView=scrollbar",
      "TAdvMemo=scrollbar",
      "TDBAdvMemo=scrollbar",
      "TcxDBLookupComboBox=combobox",
      "TcxDBComboBox=combobox",
      "TcxDBDateEdit=combobox",
      "TcxDBImageComboBox=combobox",
      "TcxDBCalcEdit=combobox",
      "TcxDBBlobEdit=combobox",
      "TcxDBPopupEdit=combobox",
      "TcxDBFontNameComboBox=combobox",
      "TcxDBShellComboBox=combobox",
      "TRxLookupEdit=combobox",
      "TRxDBLookupCombo=combobox",
      "TRzGroup=panel",
      "TRzButton=button",
      "TRzBitbtn=bitbtn",
      "TRzMenuButton=menubtn",
      "TRzCheckGroup=CheckGroup",
      "TRzRadioGroup=Radiogroup",
      "TRzButtonEdit=Edit",
      "TRzDBRadioGroup=Radiogroup",
      "TRzDBRadioButton=Radiobutton",
      "TRzDateTimeEdit=combobox",
      "TRzColorEdit=combobox",
      "TRzDateTimePicker=combobox",
      "TRzDBDateTimeEdit=combobox",
      "TRzDbColorEdit=combobox",
      "TRzDBDateTimePicker=combobox",
      "TLMDButton=bitbtn",
      "TLMDGroupBox=Groupbox",
      "TDBCheckboxEh=Checkbox",
      "TDBCheckboxEh=Checkbox",
      "TLMDCHECKBOX=Checkbox",
      "TLMDDBCHECKBOX=Checkbox",
      "TLMDRadiobutton=Radiobutton",
      "TLMDCalculator=panel",
      "TLMDGROUPBOX=Panel",
      "TLMDSIMPLEPANEL=Panel",
      "TLMDDBCalendar=Panel",
      "TLMDButtonPanel=Panel",
      "TLMDLMDCalculator=Panel",
      "TLMDHeaderPanel=Panel",
      "TLMDTechnicalLine=Panel",
      "TLMDLMDClock=Panel",
      "TLMDTrackbar=panel",
      "TLMDListCombobox=combobox",
      "TLMDCheckListCombobox=combobox",
      "TLMDHeaderListCombobox=combobox",
      "TLMDImageCombobox=combobox",
      "TLMDColorCombobox=combobox",
      "TLMDFontCombobox=combobox",
      "TLMDFontSizeCombobox=combobox",
      "TLMDFontSizeCombobox=combobox",
      "TLMDPrinterCombobox=combobox",
      "TLMDDriveCombobox=combobox",
      "TLMDCalculatorComboBox=combobox",
      "TLMDTrackBarComboBox=combobox",
      "TLMDCalendarComboBox=combobox",
      "TLMDTreeComboBox=combobox",
      "TLMDRADIOGROUP=radiogroup",
      "TLMDCheckGroup=CheckGroup",
      "TLMDDBRADIOGROUP=radiogroup",
      "TLMDDBCheckGroup=CheckGroup",
      "TLMDCalculatorEdit=edit",
      "TLMDEDIT=Edit",
      "TLMDMASKEDIT=Edit",
      "TLMDBROWSEEDIT=Edit",
      "TLMDEXTSPINEDIT=Edit",
      "TLMDCALENDAREDIT=Edit",
      "TLMDFILEOPENEDIT=Edit",
      "TLMDFILESAVEEDIT=Edit",
      "TLMDCOLOREDIT=Edit",
      "TLMDDBEDIT=Edit",
      "TLMDDBMASKEDIT=Edit",
      "TLMDDBEXTSPINEDIT=Edit",
      "TLMDDBSPINEDIT=Edit",
      "TLMDDBEDITDBLookup=Edit",
      "TLMDEDITDBLookup=Edit",
      "TDBLookupCombobox=Combobox",
      "TWWDBCombobox=Combobox",
      "TWWDBLookupCombo=Combobox",
      "TWWDBCombobox=Combobox",
      "TWWKeyCombo=Combobox",
      "TWWTempKeyCombo=combobox",
      "TWWDBDateTimePicker=Combobox",
      "TWWRADIOGROUP=radiogroup",
      "TWWDBEDIT=Edit",
      "TcxButton=bitbtn",
      "TcxDBRadioGroup=radiogroup",
      "TcxRadioGroup=radiogroup",
      "TcxGroupbox=groupbox",
      "TOVCPICTUREFIELD=Edit",
      "TOVCDBPICTUREFIELD=Edit",
      "TOVCSLIDEREDIT=Edit",
      "TOVCDBSLIDEREDIT=Edit",
      "TOVCSIMPLEFIELD=Edit",
      "TOVCDBSIMPLEFIELD=Edit",
      "TO32DBFLEXEDIT=Edit",
      "TOVCNUMERICFIELD=Edit",
      "TOVCDBNUMERICFIELD=Edit",
  };
  return rows;
}

std::string LookupSkin3rd(const std::vector<std::string>& rows, std::string_view class_name) {
  for (const std::string& row : rows) {
    const size_t eq = row.find('=');
    if (eq == std::string::npos) continue;
    if (EqualsIgnoreCase(TrimView(std::string_view(row).substr(0, eq)), class_name))
      return Trim(std::string_view(row).substr(eq + 1));
  }
  return {};
}

bool DefaultFormFilter(std::string_view class_name, TSkinControlTypes controls, bool do_skin) {
  if (class_name == "SysMonthCal32") return false;
  if (controls.Has(xcFastReport) && class_name.starts_with("Tfr")) return false;
  return do_skin;
}
