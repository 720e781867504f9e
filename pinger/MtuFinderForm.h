// frmMtuFinder: the small window of the MTU finder, opened from the advanced
// editor's MTU page. The user names a host (the pinger's, to begin with),
// starts the search, watches the size being tried, may stop it, and at the
// end may take the MTU found for the editor's box. The window applies
// nothing itself: what it offers goes into the box, and the editor's Finish
// applies it with everything else.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "pinger/MtuFinder.h"
#include "platform/Registry.h"
#include "platform/ui/Layout.h"
#include "platform/ui/View.h"

namespace corvane {

enum MtuFinderId : int {
  kIdLblMtuHost = 1,
  kIdTxtMtuHost = 2,
  kIdCmdMtuStart = 3,
  kIdLblMtuStatus = 4,
  kIdCmdMtuUse = 5,
  kIdCmdMtuClose = 6,
};

const ui::Layout& MtuFinderLayout();

// The host the pinger pings: the automatic mode's, or the one typed in
// manual mode, as the pinger's window stored them.
std::string PingerHost(IRegistry& registry);

struct MtuFinderFormHooks {
  // The user took the MTU found (for the editor's box).
  std::function<void(std::uint16_t mtu)> offer;
  // The window is to close.
  std::function<void()> close;
};

class MtuFinderForm final : public ui::FormModel {
 public:
  MtuFinderForm(ui::IView& view, IMtuSearch& search, std::string host, MtuFinderFormHooks hooks);

  void OnLoad() override;
  void OnEvent(const ui::Event& event) override;
  void OnUnload() override;

  bool searching() const { return searching_; }
  std::uint16_t found() const { return found_; }

 private:
  void StartSearch();
  void StopSearch();
  void Landed(const MtuReport& report);
  void ShowSearching(bool searching);

  ui::IView& view_;
  IMtuSearch& search_;
  std::string host_;
  MtuFinderFormHooks hooks_;
  bool searching_ = false;
  std::uint16_t found_ = 0;
};

}  // namespace corvane
