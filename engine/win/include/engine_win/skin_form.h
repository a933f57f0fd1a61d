// The form skinner: takes over one top-level window's (or MDI child's)
// window procedure and paints its frame, caption, title buttons and menu bar
// from a skin, shapes the window with a region cut along the borders'
// magenta pixels and keeps the client area the same size as the frame
// changes. Title buttons and menu-bar items are hot spots (TNCObject) that
// follow the mouse.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/form_layout.h"
#include "engine/skin_elements.h"
#include "engine_controls/control_list.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_messages.h"
#include "engine_win/subclass.h"

class TComponent;
class TCustomForm;
class TCustomImageList;
class TMenuItem;
class TPopupMenu;
class TSkinData;
class TToolBar;
class TWinSkinForm;
struct TMessage;

// The Tag of the skinned system menu's popup.
constexpr int kSystemPopupTag = 33333;

// A hot spot of the non-client area (window coordinates).
class TNCObject {
 public:
  explicit TNCObject(TWinSkinForm& form) : Form(form) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  TWinSkinForm& Form;
  TRect Rect;
  bool Visible = false;
  int State = 1;  // 1 normal, 2 pressed, 3 hot
  bool Enabled = true;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseMove();
  virtual void MouseLeave();
  virtual void Paint() = 0;
  bool Contains(TPoint p) const {
    return p.X >= Rect.Left && p.X < Rect.Right && p.Y >= Rect.Top && p.Y < Rect.Bottom;
  }
};

class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TWinSkinForm& form, const TDataSkinSysButton& element, int index)
      : TNCObject(form), Element(&element), Index(index) {}
  const TDataSkinSysButton* Element;
  int Index;
  void Paint() override;
};

class TMenuBtn : public TNCObject {
 public:
  using TNCObject::TNCObject;
  TMenuItem* Item = nullptr;
  int Index = 0;
  std::wstring Caption;
  bool ItemEnabled = true;
  HMENU SubMenu = nullptr;
  UINT Command = 0;
  void Paint() override;
  // The accelerator (upper case) after '&', or 0.
  wchar_t Accelerator() const;
};

// What the skinner is told besides the skin. With a component (Data) the
// switches it has, SkinControls, Options and MenuUpdate, are read from it
// whenever they are needed, and the copies here are not used.
struct TFormSkinSettings {
  bool FrameOn = true;            // frame and menu bar skinned
  bool MenuUpdate = true;         // the bar follows the form's menu changes
  bool ToolbarBackground = true;  // tool-bar backgrounds painted from the skin
  bool ToolbarButtons = true;     // tool buttons painted from the skin
  // Glyphs of the system menu: restore, maximise, minimise, close (not owned).
  TCustomImageList* MenuGlyphs = nullptr;
  // Runs each time the window was (re)skinned, after kSkmSkinned was sent.
  std::function<void()> OnSkinned;
  bool MdiChildBorder = false;  // MDI children keep their own frame
  bool MdiScrollbar = false;    // the MDI client keeps its scroll bars
  bool PopupMenus = true;       // the form's popup menus are owner drawn
  int DisableTag = 99;          // a popup menu with this Tag keeps its look
  // The component whose skin this is; with it the form's controls are
  // skinned too (null: the frame only).
  TSkinData* Data = nullptr;
};

// What a skinned window is to the multiple-document machinery.
enum class TMdiKind : int { None = 0, Frame = 1, Child = 2 };

class TWinSkinForm : public TControlHost {
 public:
  // `form` is the framework form behind the window, or null for a bare
  // window. The skin must outlive the skinner (or be replaced by Reload).
  TWinSkinForm(HWND window, TCustomForm* form, const TSkinContent* skin,
               TFormSkinSettings settings = {});
  ~TWinSkinForm() override;
  TWinSkinForm(const TWinSkinForm&) = delete;
  TWinSkinForm& operator=(const TWinSkinForm&) = delete;

  // Takes over the window. With `setup_now` false the set-up waits for
  // kSkmSetup (the manager posts it).
  void Attach(bool setup_now = true);
  // Gives the window its own look back: window procedure, styles, region,
  // menu and outer size.
  void Detach();
  // Lets go of a window that is being destroyed: only the window procedure
  // is given back (also what the destructor does when Detach was not called).
  void Release();
  // Frees the title-button objects (the skin is about to change).
  void DropTitleButtons();
  // The skin changed (or another one is given): metrics, buttons, region
  // and frame rebuilt; the client size stays.
  void Reload(const TSkinContent* skin);

  HWND Handle() const { return handle_; }
  bool Attached() const { return window_sub_.Attached(); }
  bool Dead() const { return life_ == 6; }
  const TFrameMetrics& Metrics() const { return metrics_; }
  bool Active() const { return active_; }
  TWinState WinState() const { return win_state_; }
  TBorderKind BorderKind() const { return border_kind_; }
  const std::vector<std::unique_ptr<TWinSysButton>>& TitleButtons() const { return buttons_; }
  const std::vector<std::unique_ptr<TMenuBtn>>& MenuItems() const { return menu_items_; }
  TNCObject* HotObject() const { return hot_; }
  void SetHotObject(TNCObject* o) { hot_ = o; }
  bool Tracking() const { return tracking_; }
  bool RightToLeft() const { return right_to_left_; }
  const TRect& TextRect() const { return text_rect_; }
  TMdiKind Kind() const { return kind_; }
  // The MDI client of an MDI frame (null otherwise).
  HWND MdiClientWnd() const { return mdi_client_; }
  // An MDI frame: the active MDI child (null when none) and whether it is
  // maximised.
  HWND ActiveMdiChild(bool* maximised = nullptr) const;
  // The frame's MDI child was maximised or restored (the manager tells every
  // MDI child skinner): a maximised child has no region of its own, a
  // restored one gets its region and frame back.
  void MdiMaximizedChanged(bool maximised);

  // Paints the whole frame (the client area untouched) into dc, which has
  // the window's size; 0 = the window's own DC.
  void PaintFrame(HDC dc = nullptr);
  // The frame into a bitmap of the window's size filled with button face.
  void PaintFrameTo(HDC dc);
  // Screen point -> window coordinates.
  TPoint WindowPoint(POINT screen) const;
  TNCObject* ObjectAt(TPoint p) const;
  // Opens a bar item's dropdown (or posts its command); returns when closed.
  bool OpenMenuItem(int index);
  void ShowSystemMenu(POINT screen);
  // What the skinner does in a framework form's message handler (it hooks
  // the handler while the frame is skinned).
  void FormMessage(TMessage& m);
  // The component the skin comes from (null when the skinner was given a
  // skin alone).
  TSkinData* Data() const { return settings_.Data; }
  // Makes the popup menus owned by `container` (the form, and forms it owns)
  // owner drawn, unless popup menus are not skinned or a menu's Tag is the
  // disabling one; Detach switches back only the ones switched here.
  void OwnerDrawPopupMenus(TComponent* container) override;
  // The skinners of the form's controls (null without a component).
  TSkinControlList* Controls() const { return controls_.get(); }
  HWND HostWindow() const override { return handle_; }
  // Offers the form's controls (or a bare window's child windows) to the
  // control skinners; controls already skinned are left as they are.
  void SkinControls();
  // The owner-drawn copy of the system menu last shown (null before).
  TPopupMenu* SystemPopup() const { return system_popup_.get(); }
  // Runs a title button's action (on release).
  void RunAction(TWinSysButton& b, POINT screen);

  // Framework tool bars wearing the skin: the bar's background from the
  // skin's Toolbar gradient and its buttons from the skin's [Buttons] strip,
  // painted from the bar's two custom-draw events (skin_form_toolbar.cpp).
  // Sets those of the bar's events that are unassigned to this skinner's
  // painters and repaints the bar; events the bar already has stay.
  void InstallToolbarPainters(TToolBar* bar) override;
  // Takes this skinner's painters (only those it set) off every bar of this skinner that still
  // exists (run by Detach, Release and the destructor).
  void ClearToolbarPainters();
  // The painters behind those events; dc in the bar's client coordinates. The
  // button painter gives the text colour of the state in *text and returns
  // true when the skin has one.
  void PaintToolbarBackground(HDC dc, const RECT& rect);
  bool PaintToolButton(HDC dc, const RECT& bounds, unsigned state, COLORREF* text);
  // The strip frame for a tool button's custom-draw state set: 2 pressed,
  // 4 hot or focused, 1 plain, 0 grayed or disabled (nothing drawn).
  static int ToolButtonFrame(unsigned state);

 private:
  friend class TWinSysButton;
  friend class TMenuBtn;
  // The message switch and its handlers.
  LRESULT Dispatch(UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT Default(UINT msg, WPARAM wparam, LPARAM lparam);
  // The frame is skinned and painted now (not while setting up, not for a
  // maximised MDI child).
  bool PaintsFrame() const;
  LRESULT OnNcDestroy(WPARAM wparam, LPARAM lparam);
  LRESULT OnNcActivate(WPARAM wparam, LPARAM lparam);
  LRESULT OnInitMenuPopup(WPARAM wparam, LPARAM lparam);
  LRESULT OnTimer(WPARAM wparam, LPARAM lparam);
  LRESULT OnPaintFrameRequest(WPARAM wparam, LPARAM lparam);
  LRESULT OnEraseBackground(WPARAM wparam, LPARAM lparam);
  LRESULT OnSize(WPARAM wparam, LPARAM lparam);
  LRESULT OnSysCommand(WPARAM wparam, LPARAM lparam);
  LRESULT OnPlacementChanged(UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT OnActivate(WPARAM wparam, LPARAM lparam);
  LRESULT OnMdiActivate(WPARAM wparam, LPARAM lparam);
  LRESULT OnSetText(WPARAM wparam, LPARAM lparam);
  LRESULT OnSetIcon(WPARAM wparam, LPARAM lparam);
  LRESULT OnRecolour(WPARAM wparam, LPARAM lparam);
  LRESULT OnNcCalcSize(WPARAM wparam, LPARAM lparam);
  LRESULT OnNcHitTest(WPARAM wparam, LPARAM lparam);
  LRESULT OnNcPaint(WPARAM wparam, LPARAM lparam);
  LRESULT OnNcMouse(UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT OnCommand(WPARAM wparam, LPARAM lparam);
  LRESULT OnRepaintFrame(WPARAM wparam, LPARAM lparam);
  // A scroll-bar skinner's window was re-created (skin_form_reload.cpp).
  LRESULT OnReskin(WPARAM wparam, LPARAM lparam);
  void Setup();
  // The skin changing (skin_form_reload.cpp): the form and what it owns get
  // the new face colour, popup menus are owner drawn again, the frame keeps
  // the client size and the form lays its controls out again.
  void Recolour();
  void RecolourOwned(TComponent* owner, int depth);
  void Relayout();
  void RestorePopupMenus();
  // The component's switches while skinned (the settings' without one).
  bool MenuUpdate() const;
  void SetMenuUpdate(bool on);
  bool ToolbarBackground() const;
  bool ToolbarButtons() const;
  bool MdiChildBorder() const;
  bool MdiScrollbar() const;
  bool PopupMenusOn() const;
  int DisableTag() const;
  // False while the window's own handling of a menu change runs: the frame
  // is not painted meanwhile (the component's flag when there is one).
  bool NcPaintEnabled() const;
  // A bare window's statics and buttons sit on the skin's face colour.
  LRESULT OnControlColour(UINT msg, WPARAM wparam, LPARAM lparam);
  HBRUSH FaceBrush();
  // Menus (skin_form_menu.cpp).
  LRESULT OnNcPress(WPARAM wparam, LPARAM lparam);
  LRESULT OnMenuChanged(WPARAM wparam, LPARAM lparam);
  LRESULT OnMenuEntryMessage(UINT msg, WPARAM wparam, LPARAM lparam);
  // Alt+key from the window's system command; true when the key was used.
  bool KeyMenu(wchar_t key);
  // Lets go of the open dropdown's loop when it is this skinner's (closing
  // the dropdown with close_menu).
  void LeaveMenuLoop(bool close_menu);
  bool BuildSystemPopup();
  // Dropdown entries are drawn by the skinner: switched to owner draw while
  // skinned, and back when skinning stops.
  void OwnerDrawEntries(HMENU menu, int depth = 0);
  void RestoreOwnerDraw();
  bool MeasureEntry(MEASUREITEMSTRUCT& mis);
  bool DrawEntry(const DRAWITEMSTRUCT& dis);
  // An entry of the form's main menu drawn or measured from the skin (false:
  // not a framework item, or one that paints itself).
  bool MainMenuEntry(UINT msg, LPARAM lparam);
  bool OpenAccelerator(wchar_t key);
  void HookForm();
  void UnhookForm();
  void ReadStyles();
  void MeasureNativeFrame();
  void LoadBitmaps();
  void ComputeMetrics();
  void BuildTitleButtons();
  void Unhook();
  void BuildMenuBar();
  void DropMenuBar();
  void JudgeButtons();
  void LayoutButtons(int width);
  void ResizeForFrame();
  // MDI (skin_form_mdi.cpp).
  LRESULT MdiClientDispatch(UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT MdiClientDefault(UINT msg, WPARAM wparam, LPARAM lparam);
  void ReadMdiKind();
  void HookMdiClient();
  void UnhookMdiClient();
  void ApplyMdiChildMetrics();
  void RebuildMenuBarForMdi();
  void RunMdiAction(TWinSysButton& b);
  void TellMdiMaximized(bool maximised);
  void MdiChildStateChanged();
  bool MdiChildNormal() const;
  bool AnyMdiChildMaximised() const;
  void RedrawMdiFrame();
  void SizeHandler(WPARAM wparam);
  void UpdateWinState();
  // Painting and the region (skin_form_paint.cpp).
  void BuildRegion(bool force);
  void PaintInto(HDC dc, int w, int h);
  void PaintMenuBar(HDC dc, const TRect& bar);
  void PaintCaption(HDC dc, int w);
  void HoverTick();
  void LeaveHot();
  void InvalidateFrame();
  int ButtonFrame(const TWinSysButton& b) const;
  TTitleFacts Facts() const;

  HWND handle_;
  TCustomForm* form_;
  const TSkinContent* skin_;
  TFormSkinSettings settings_;
  TWindowSubclass window_sub_;
  int life_ = 0;  // 0 attached, 1 ready, 3 reloading, 4 being destroyed, 6 dead
  bool active_ = false;
  bool tracking_ = false;
  bool unicode_ = false;
  bool is_dialog_ = false;
  bool right_to_left_ = false;
  bool sys_menu_ = false, min_box_ = false, max_box_ = false, help_ = false;
  bool owns_region_ = false;
  TBorderKind border_kind_ = TBorderKind::Sizeable;
  TWinState win_state_ = TWinState::Normal;
  TFrameMetrics metrics_;
  int std_width_ = 0, std_height_ = 0;
  int client_w_ = 0, client_h_ = 0;
  int region_w_ = -1, region_h_ = -1;
  HMENU native_menu_ = nullptr;
  HMENU system_menu_ = nullptr;
  LONG_PTR saved_style_ = 0;
  uint32_t saved_color_ = 0;
  DWORD last_click_ = 0;
  TRect text_rect_;
  int right_buttons_left_ = 0;
  HFONT caption_font_ = nullptr;
  HFONT menu_font_ = nullptr;
  TNCObject* hot_ = nullptr;
  std::vector<std::unique_ptr<TWinSysButton>> buttons_;
  std::vector<std::unique_ptr<TMenuBtn>> menu_items_;
  TNativeBitmap left_, right_, top_, bottom_, textback_, menubar_;
  std::vector<TNativeBitmap> button_bitmaps_;
  TNativeBitmap buffer_;
  std::unique_ptr<TPopupMenu> system_popup_;
  struct TOwnerDrawn {
    HMENU Menu;
    UINT Position;
    UINT Id;
    UINT Type;  // the entry's type before
  };
  std::vector<TOwnerDrawn> owner_drawn_;
  TControlSubclass form_sub_;  // the framework form's handler while the frame is skinned
  TMdiKind kind_ = TMdiKind::None;
  HWND mdi_client_ = nullptr;
  TWindowSubclass client_sub_;  // the MDI client of an MDI frame
  bool saved_menu_update_ = true;
  bool mdi_maximised_ = false;  // an MDI child: last known maximised state
  struct TPaintedBar {
    HWND Window;
    TToolBar* Bar;
    bool Background, Buttons;  // which events are ours
  };
  std::vector<TPaintedBar> painted_bars_;  // the bars this skinner painted
  std::unique_ptr<TSkinControlList> controls_;
  HBRUSH face_brush_ = nullptr;   // of the skin's face colour, for a bare window's children
  bool nc_paint_enabled_ = true;  // without a component: its NcPaintEnabled
  // The popup menus OwnerDrawPopupMenus switched (compared with the live
  // menus only, never used through these pointers).
  std::vector<const TPopupMenu*> owner_drawn_popups_;
};
