#include "platform/ui/FormHost.h"

#include <algorithm>

namespace corvane::ui {

// The view and timers of one tenure: the window's while it lasts, nothing
// after.
class FormHost::Gate final : public IView, public ITimers {
 public:
  Gate(IView& view, ITimers& timers) : view_(&view), timers_(&timers) {}
  void Close() {
    view_ = nullptr;
    timers_ = nullptr;
  }

  void SetText(int id, std::string_view text) override {
    if (view_) view_->SetText(id, text);
  }
  std::string Text(int id) const override { return view_ ? view_->Text(id) : std::string(); }
  void SetValue(int id, int value) override {
    if (view_) view_->SetValue(id, value);
  }
  int Value(int id) const override { return view_ ? view_->Value(id) : 0; }
  void SetRange(int id, int minimum, int maximum) override {
    if (view_) view_->SetRange(id, minimum, maximum);
  }
  void SetEnabled(int id, bool enabled) override {
    if (view_) view_->SetEnabled(id, enabled);
  }
  bool Enabled(int id) const override { return view_ && view_->Enabled(id); }
  void SetVisible(int id, bool visible) override {
    if (view_) view_->SetVisible(id, visible);
  }
  bool Visible(int id) const override { return view_ && view_->Visible(id); }
  void SetItems(int id, std::span<const std::string> items) override {
    if (view_) view_->SetItems(id, items);
  }
  int ItemCount(int id) const override { return view_ ? view_->ItemCount(id) : 0; }
  void SetRows(int id, std::span<const std::vector<std::string>> rows) override {
    if (view_) view_->SetRows(id, rows);
  }
  std::vector<std::vector<std::string>> Rows(int id) const override {
    return view_ ? view_->Rows(id) : std::vector<std::vector<std::string>>{};
  }
  void SetSamples(int id, std::span<const int> visible, int zoom, std::size_t total) override {
    if (view_) view_->SetSamples(id, visible, zoom, total);
  }
  void SetToolTip(int id, std::string_view text) override {
    if (view_) view_->SetToolTip(id, text);
  }
  int ShowMessage(std::string_view text, std::string_view title, std::uint32_t flags) override {
    return view_ ? view_->ShowMessage(text, title, flags) : kAnswerCancel;
  }
  void SetTimer(int id, int intervalMs) override {
    if (timers_) timers_->SetTimer(id, intervalMs);
  }

 private:
  IView* view_;
  ITimers* timers_;
};

struct FormHost::Tenure {
  // The model is declared last so that it goes first: it may still hold
  // the gate.
  std::unique_ptr<Gate> gate;
  std::unique_ptr<FormModel> model;
  int running = 0;
};

FormHost::FormHost(IView& view, ITimers& timers) : view_(view), timers_(timers) {}

FormHost::~FormHost() = default;

void FormHost::Open() {
  if (current_) Unload();
  current_ = std::make_unique<Tenure>();
  current_->gate = std::make_unique<Gate>(view_, timers_);
}

IView& FormHost::view() {
  if (!current_) Open();
  return *current_->gate;
}

ITimers& FormHost::timers() {
  if (!current_) Open();
  return *current_->gate;
}

void FormHost::Attach(std::unique_ptr<FormModel> model) {
  if (!current_) Open();
  current_->model = std::move(model);
}

FormModel* FormHost::model() const { return current_ ? current_->model.get() : nullptr; }

void FormHost::Run(const std::function<void(FormModel&)>& handler) {
  if (!current_ || !current_->model) return;
  Tenure* tenure = current_.get();
  ++tenure->running;
  try {
    handler(*tenure->model);
  } catch (...) {
    Release(tenure);
    throw;
  }
  Release(tenure);
}

void FormHost::Release(Tenure* tenure) {
  --tenure->running;
  if (tenure->running > 0 || tenure == current_.get()) return;
  auto gone = std::find_if(going_.begin(), going_.end(), [&](const auto& t) { return t.get() == tenure; });
  if (gone == going_.end()) return;
  // Out of the list before the model's destructor runs, which may reach
  // this host again.
  std::unique_ptr<Tenure> last = std::move(*gone);
  going_.erase(gone);
}

void FormHost::Unload() {
  if (!current_) return;
  if (current_->model) {
    // The unload event counts as a handler: an unload it causes in turn
    // finds no model left to unload again.
    Tenure* tenure = current_.get();
    ++tenure->running;
    std::unique_ptr<Tenure> leaving = std::move(current_);
    try {
      leaving->model->OnUnload();
    } catch (...) {
      leaving->gate->Close();
      --leaving->running;
      if (leaving->running > 0) going_.push_back(std::move(leaving));
      throw;
    }
    leaving->gate->Close();
    --leaving->running;
    if (leaving->running > 0) going_.push_back(std::move(leaving));
    return;
  }
  current_->gate->Close();
  current_.reset();
}

}  // namespace corvane::ui
