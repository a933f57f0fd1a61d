// The option sets of the skin data component, the built-in table that maps
// control classes of other libraries to skin kinds, and the default window
// filter.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Control kinds, by bit number.
enum TSkinControlType : int {
  xcMainMenu = 0,  // also switches frame skinning of forms on
  xcPopupMenu,
  xcMenuItem,
  xcToolbar,
  xcControlbar,
  xcCombo,
  xcCheckBox,
  xcRadioButton,
  xcProgress,
  xcScrollbar,
  xcEdit,
  xcButton,
  xcBitBtn,
  xcSpeedButton,
  xcSpin,
  xcPanel,
  xcGroupBox,
  xcStatusBar,
  xcTab,
  xcTrackBar,
  xcSystemMenu,
  xcFastReport,
  kSkinControlTypeCount
};

enum TSkinOption : int {
  xoMDIScrollbar = 0,
  xoMenuMerge,
  xoTransparent,
  xoPreview,
  xoParentBackGround,
  xoNoFocusRect,
  xoToolbarBK,
  xoToolbarButton,
  xoMDIChildBorder,
  xoMenuBG,
  xoFormScrollbar,
  kSkinOptionCount
};

enum TSkinFormType : int { sfMainform = 0, sfOnlyThisForm = 1, sfDialog = 2, sfDLL = 3 };

// A small set over an enumeration, stored as its bits (bit n is member n).
template <typename E, int Count>
class TEnumSet {
 public:
  constexpr TEnumSet() = default;
  constexpr TEnumSet(std::initializer_list<E> members) {
    for (E e : members)
      Include(e);
  }
  static constexpr TEnumSet FromBits(uint32_t bits) {
    TEnumSet s;
    s.bits_ = bits & kMask;
    return s;
  }
  static constexpr TEnumSet All() { return FromBits(kMask); }
  constexpr bool Has(E e) const { return (bits_ >> static_cast<int>(e)) & 1u; }
  constexpr void Include(E e) { bits_ |= 1u << static_cast<int>(e); }
  constexpr void Exclude(E e) { bits_ &= ~(1u << static_cast<int>(e)); }
  constexpr uint32_t Bits() const { return bits_; }
  friend constexpr bool operator==(const TEnumSet&, const TEnumSet&) = default;

 private:
  static constexpr uint32_t kMask = (1u << Count) - 1;
  uint32_t bits_ = 0;
};

using TSkinControlTypes = TEnumSet<TSkinControlType, kSkinControlTypeCount>;
using TSkinOptions = TEnumSet<TSkinOption, kSkinOptionCount>;

// Every kind except xcMenuItem and xcFastReport.
TSkinControlTypes DefaultSkinControls();
// xoPreview and xoToolbarBK.
TSkinOptions DefaultSkinOptions();
// The stored forms: 3 bytes of control kinds, 2 bytes of options.
uint32_t StoredSkinControls(TSkinControlTypes s);
uint32_t StoredSkinOptions(TSkinOptions s);

// The 118 built-in "ClassName=kind" rows, in table order.
const std::vector<std::string>& BuiltinSkin3rd();
// The kind of the first row whose class name equals `class_name` (letter case
// ignored), or an empty text.
std::string LookupSkin3rd(const std::vector<std::string>& rows, std::string_view class_name);

// The filter applied when the application gives no OnFormSkin handler: the
// month calendar class is never skinned, nor (when xcFastReport is set)
// classes beginning with "Tfr". Returns the decision, starting from `do_skin`.
bool DefaultFormFilter(std::string_view class_name, TSkinControlTypes controls, bool do_skin);
