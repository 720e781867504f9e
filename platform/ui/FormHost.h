// A window's model for as long as one of its handlers runs. A handler may
// wait (a message box, a yield that runs waiting messages) and, while it
// waits, anything may unload its window: the tray's Exit, a reload by the
// window's command, the end of the session. The rule, the same for every
// window:
// - the unload runs the model's unload event at once, then the model goes:
//   the view and timers it was made over stop reaching the window (setters
//   do nothing, readers read empty, a message box is not shown and answers
//   Cancel), so a handler that resumes touches nothing of it;
// - the model itself is freed when the outermost of its handlers returns,
//   never under one of them.
// A new model may be made (the window loaded again) while an old one still
// winds down; each has its own view and timers.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/View.h"

namespace corvane::ui {

class FormHost {
 public:
  // The window's own controls and timers; they outlive the host.
  FormHost(IView& view, ITimers& timers);
  FormHost(const FormHost&) = delete;
  FormHost& operator=(const FormHost&) = delete;
  ~FormHost();

  // Starts a new tenure: the view and timers the next model is made over.
  // The model of an earlier tenure should have been unloaded.
  void Open();
  IView& view();
  ITimers& timers();
  // The model of the open tenure (nullptr leaves it without rules).
  void Attach(std::unique_ptr<FormModel> model);
  FormModel* model() const;

  // Runs a handler of the current model (an event, BeforeShow, OnLoad);
  // nothing when there is none. The model stays alive until it returns.
  void Run(const std::function<void(FormModel&)>& handler);
  // The model's unload event, then the model goes (see above). Harmless
  // when there is none.
  void Unload();

  // Models unloaded whose handlers have not all returned yet.
  std::size_t windingDown() const { return going_.size(); }

 private:
  class Gate;
  struct Tenure;
  void Release(Tenure* tenure);

  IView& view_;
  ITimers& timers_;
  std::unique_ptr<Tenure> current_;
  std::vector<std::unique_ptr<Tenure>> going_;
};

}  // namespace corvane::ui
