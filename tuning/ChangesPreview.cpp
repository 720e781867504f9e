#include "tuning/ChangesPreview.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "platform/AppInfo.h"

namespace corvane {

namespace {

using ui::Control;
using ui::ControlKind;
using namespace preview;

// Positions in pixels.
constexpr Control kControls[] = {
    {kIdLblSummary, ControlKind::Label, "lblSummary", "", 8, 6, 424, 30, 0},
    {kIdLstChanges, ControlKind::ListView, "lstChanges", "", 8, 38, 424, 166, 0},
    {kIdCmdApply, ControlKind::Button, "cmdApply", "&Apply", 240, 212, 90, 28, 0},
    {kIdCmdBack, ControlKind::Button, "cmdBack", "&Back", 342, 212, 90, 28, 0},
};

constexpr ui::Column kColumns[] = {
    {kIdLstChanges, kPreviewColumns[0], 56},  {kIdLstChanges, kPreviewColumns[1], 136},
    {kIdLstChanges, kPreviewColumns[2], 56},  {kIdLstChanges, kPreviewColumns[3], 56},
    {kIdLstChanges, kPreviewColumns[4], 280},
};

constexpr ui::Layout kLayout{"frmChanges", "CorvaneChanges", "Changes", ui::Unit::Pixels,
                             kFormWidth, kFormHeight, kControls, kColumns};

std::string Plural(int count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// The folded line alone has no data: a changing value's data is never an
// empty text ("absent", "\"\"", ...).
bool IsFoldRow(const std::vector<std::string>& row) { return row.size() > 2 && row[2].empty(); }

std::optional<long long> Number(std::string_view text) {
  if (!text.empty() && text.front() == '"' && text.size() >= 2) text = text.substr(1, text.size() - 2);
  long long n = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

}  // namespace

const ui::Layout& ChangesPreviewLayout() { return kLayout; }

std::vector<std::vector<std::string>> PreviewRows(const Plan& plan) {
  std::vector<std::vector<std::string>> rows;
  int unchanged = 0;
  for (const PlanEntry& e : plan.entries) {
    if (!e.changes) {
      ++unchanged;
      continue;
    }
    std::string note;
    if (e.newData.state == RegData::State::Present && HasNoEffect(e.effect)) {
      note = std::string(WindowsVersionName(plan.version)) + " ignores it";
      if (!e.reason.empty()) note += ": " + std::string(e.reason);
    }
    rows.push_back({e.adapter, PlaceName(e), DataText(e.oldData), DataText(e.newData), note});
  }
  if (unchanged > 0) {
    rows.push_back({"",
                    unchanged == 1 ? std::string("1 value stays as it is")
                                   : std::to_string(unchanged) + " values stay as they are",
                    "", "", ""});
  }
  return rows;
}

std::string PreviewSummary(const Plan& plan) {
  if (plan.status != PlanStatus::Ready) return plan.message;
  const int changing = plan.Changing();
  const int total = static_cast<int>(plan.entries.size());
  if (changing == 0) return "None of the " + Plural(total, "value", "values") + " would change.";
  std::string text = std::to_string(changing) + " of " + Plural(total, "value", "values") +
                     " would change";
  if (int ignored = plan.ChangingWithoutEffect(); ignored > 0) {
    text += "; " + std::string(WindowsVersionName(plan.version)) + " ignores " +
            std::to_string(ignored) + " of them";
  }
  return text + ".";
}

void SortPreviewRows(std::vector<std::vector<std::string>>& rows, int column, bool descending) {
  auto fold = std::stable_partition(rows.begin(), rows.end(),
                                    [](const auto& row) { return !IsFoldRow(row); });
  auto text = [column](const std::vector<std::string>& row) -> const std::string& {
    static const std::string kNone;
    return column >= 0 && static_cast<std::size_t>(column) < row.size() ? row[column] : kNone;
  };
  std::stable_sort(rows.begin(), fold, [&](const auto& a, const auto& b) {
    const std::string& x = text(descending ? b : a);
    const std::string& y = text(descending ? a : b);
    auto nx = Number(x);
    auto ny = Number(y);
    if (nx && ny) return *nx < *ny;
    if (nx || ny) return nx.has_value();  // numbers before texts
    return x < y;
  });
}

ChangesPreviewModel::ChangesPreviewModel(ui::IView& view, Plan plan, std::string applyCaption,
                                         Hooks hooks)
    : view_(view), plan_(std::move(plan)), applyCaption_(std::move(applyCaption)),
      hooks_(std::move(hooks)) {}

void ChangesPreviewModel::OnLoad() {
  view_.SetText(kIdCmdApply, applyCaption_);
  Show();
}

void ChangesPreviewModel::Show() {
  rows_ = PreviewRows(plan_);
  if (sortColumn_ >= 0) SortPreviewRows(rows_, sortColumn_, descending_);
  view_.SetText(kIdLblSummary, PreviewSummary(plan_));
  view_.SetRows(kIdLstChanges, rows_);
  view_.SetEnabled(kIdCmdApply, plan_.status == PlanStatus::Ready);
}

void ChangesPreviewModel::OnEvent(const ui::Event& event) {
  if (event.id == kIdLstChanges && event.kind == ui::Event::Column) ColumnClick(event.value);
  if (event.kind != ui::Event::Click) return;
  if (event.id == kIdCmdApply) cmdApplyClick();
  if (event.id == kIdCmdBack) cmdBackClick();
}

void ChangesPreviewModel::ColumnClick(int column) {
  descending_ = column == sortColumn_ ? !descending_ : false;
  sortColumn_ = column;
  SortPreviewRows(rows_, sortColumn_, descending_);
  view_.SetRows(kIdLstChanges, rows_);
}

void ChangesPreviewModel::cmdApplyClick() {
  if (hooks_.replan) {
    Plan now = hooks_.replan();
    std::string difference = PlanDifference(plan_, now);
    if (!difference.empty()) {
      plan_ = std::move(now);
      Show();
      (void)view_.ShowMessage(difference, kAppTitle, ui::kMessageOk | ui::kMessageWarning);
      return;
    }
  }
  // Copied first: closing may destroy this model.
  auto apply = hooks_.apply;
  if (hooks_.close) hooks_.close();
  if (apply) apply();
}

void ChangesPreviewModel::cmdBackClick() {
  if (hooks_.close) hooks_.close();
}

}  // namespace corvane
