// A feature window made from a layout table over a portable model: it
// creates the form and its controls from the table, skins them through the
// shell, turns WM_COMMAND, WM_NOTIFY, WM_HSCROLL/WM_VSCROLL and its timers'
// ticks (on system timers the thread's forms share, ui::SharedTicks) into
// ui::Events for the model (through the yield pump's re-entry guard),
// and is the model's IView and ITimers. A window class on the kit only
// builds its model (MakeModel) and adds what the shell reads of it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/ui/FormHost.h"
#include "platform/ui/Layout.h"
#include "platform/ui/TimerGroups.h"
#include "platform/ui/View.h"
#include "platform/win32/FeatureWindow.h"
#include "platform/win32/Handle.h"
#include "platform/win32/Window.h"

namespace corvane::win32 {

class FormWindow : public FeatureWindow,
                   public ui::IView,
                   public ui::ITimers,
                   public Window<FormWindow> {
 public:
  // The layout outlives the window (a constant table).
  // Its controls are resolved here, once: events and the view reach them by
  // place, without scanning the table.
  explicit FormWindow(const ui::Layout& layout) : layout_(layout), index_(layout), host_(*this, *this) {}
  ~FormWindow() override;

  // The form is created hidden as a pop-up owned by `owner`, with every
  // control of the table; then the model is made, the form takes
  // "controlForm" and applyAllControls, and the model's OnLoad runs.
  bool Load(IShellServices& services, HWND owner) override;
  // The model's OnUnload, then the window goes, its timers with it. Called
  // while a handler of the model waits (a message box, a yield), it leaves
  // the model to that handler until it returns (platform/ui/FormHost.h):
  // the handler resumes over a view that reaches nothing.
  void Unload() override;
  bool IsLoaded() const override { return Window::hwnd() != nullptr; }
  HWND hwnd() const override { return Window::hwnd(); }
  // The model's BeforeShow while loaded.
  void BeforeShow() override;

  const ui::Layout& layout() const { return layout_; }
  // Looked up in the form's resolved table (the controls are asked many
  // times a second by the timers' handlers).
  HWND Control(int id) const { return ControlAt(index_.IndexOf(id)); }

  // ui::IView
  void SetText(int id, std::string_view text) override;
  std::string Text(int id) const override;
  void SetValue(int id, int value) override;
  int Value(int id) const override;
  void SetRange(int id, int minimum, int maximum) override;
  void SetEnabled(int id, bool enabled) override;
  bool Enabled(int id) const override;
  void SetVisible(int id, bool visible) override;
  bool Visible(int id) const override;
  void SetItems(int id, std::span<const std::string> items) override;
  int ItemCount(int id) const override;
  void SetRows(int id, std::span<const std::vector<std::string>> rows) override;
  std::vector<std::vector<std::string>> Rows(int id) const override;
  void SetSamples(int id, std::span<const int> visible, int zoom, std::size_t total) override;
  void SetToolTip(int id, std::string_view text) override;
  int ShowMessage(std::string_view text, std::string_view title, std::uint32_t flags) override;

  // The tip a control shows, as the tooltip control holds it.
  std::string ToolTipText(int id) const;
  // The busy (hourglass) pointer over the form and its controls, or the
  // usual one again.
  void SetBusyPointer(bool busy);

  // ui::ITimers
  void SetTimer(int id, int intervalMs) override;
  // The tick of the form's timers of one group (TimerGroups), from the
  // system timer that the thread's forms share.
  void TickGroup(int group);

 protected:
  // The window's model over view() and timers(), made once the controls
  // exist; nullptr leaves a form without rules.
  virtual std::unique_ptr<ui::FormModel> MakeModel(IShellServices& services) = 0;
  ui::FormModel* model() const { return host_.model(); }
  // This form's controls and timers as the model being made sees them:
  // they stop reaching the form once that model is unloaded.
  ui::IView& view() { return host_.view(); }
  ui::ITimers& timers() { return host_.timers(); }
  // A handler of the model that the form's own messages run (nothing when
  // there is no model); the model lives until it returns.
  void RunModel(const std::function<void(ui::FormModel&)>& handler) { host_.Run(handler); }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  const ui::Control* Find(int id) const { return index_.Find(id); }
  HWND ControlAt(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < controls_.size() ? controls_[static_cast<std::size_t>(index)]
                                                                            : nullptr;
  }
  void CreateControls(HINSTANCE instance);
  void Deliver(const ui::Event& event);
  // Whether the latest change of the text box was the user's edit rather
  // than a text set whole.
  bool EditedByUser(int id) const;
  // Whether the control at that place and every container around it show.
  bool ShownByLayout(int index) const;
  bool OnNotify(const NMHDR& header, LRESULT& result);
  // Whether the form itself is shown (its own style; not its owner's).
  bool Shown() const;
  // The captions set while the form was hidden, written as it shows.
  void WriteUnwrittenCaptions();

  const ui::Layout& layout_;
  const ui::LayoutIndex index_;
  IShellServices* services_ = nullptr;
  ui::FormHost host_;
  // By place in the table: each control's window, whether it is shown
  // itself, and the caption last given to one that is not a text box.
  std::vector<HWND> controls_;
  std::vector<bool> ownVisible_;
  std::vector<std::string> captions_;
  // Set for a caption changed while the form was hidden and not yet
  // written to its control (Text reads it from captions_ meanwhile).
  std::vector<bool> unwritten_;
  // The text box whose text the view is setting as a whole (0 none): its
  // change is then no edit of the user's.
  int settingText_ = 0;
  std::set<int> tipped_;
  // Owned by the form (destroyed with it too); made for the first tip.
  UniqueHwnd toolTips_;
  bool busy_ = false;
  ui::TimerGroups timers_;
  // Set while the view itself changes a list view, whose notifications
  // are no user's doing.
  bool quiet_ = false;
};

// The intervals of the system timers that the thread's forms' timers run
// on, fastest first.
std::vector<int> FormSystemTimers();

}  // namespace corvane::win32
