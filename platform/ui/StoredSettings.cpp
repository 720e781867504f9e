#include "platform/ui/StoredSettings.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "platform/RegistryAccess.h"

namespace corvane::ui {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string SettingsKey(std::string_view section) {
  std::string key(kAppSettingsRoot);
  key += "\\Settings\\";
  key += section;
  return key;
}

std::optional<int> ParseStored(As as, std::string_view stored) {
  switch (as) {
    case As::Check:
      if (stored == "0") return 0;
      if (stored == "1") return 1;
      return std::nullopt;
    case As::Option:
      if (EqualsNoCase(stored, "True")) return 1;
      if (EqualsNoCase(stored, "False")) return 0;
      return std::nullopt;
    case As::Index: {
      int value = 0;
      if (stored.empty() || !std::isdigit(static_cast<unsigned char>(stored.front()))) return std::nullopt;
      auto [end, error] = std::from_chars(stored.data(), stored.data() + stored.size(), value);
      if (error != std::errc() || end != stored.data() + stored.size()) return std::nullopt;
      return value;
    }
    case As::Text:
      return std::nullopt;
  }
  return std::nullopt;
}

std::string StoredText(As as, int value) {
  switch (as) {
    case As::Check: return value == 1 ? "1" : "0";
    case As::Option: return value != 0 ? "True" : "False";
    case As::Index:
    case As::Text: return std::to_string(value);
  }
  return {};
}

bool LoadStoredSettings(IRegistry& registry, std::string_view section, const Layout& layout,
                        std::span<const Stored> table, IView& view) {
  std::string key = SettingsKey(section);
  bool changed = false;
  for (const Stored& row : table) {
    const Control* control = FindControl(layout, row.control);
    if (control == nullptr) continue;
    std::string stored = GetAppSetting(registry, key, control->name, std::string(row.fallback));
    if (row.as == As::Text) {
      if (view.Text(row.control) != stored) {
        view.SetText(row.control, stored);
        changed = true;
      }
      continue;
    }
    auto value = ParseStored(row.as, stored);
    if (value && row.as == As::Index && *value >= view.ItemCount(row.control)) value.reset();
    if (!value) value = ParseStored(row.as, row.fallback);
    if (value && view.Value(row.control) != *value) {
      view.SetValue(row.control, *value);
      changed = true;
    }
  }
  return changed;
}

SaveResult SaveStoredSettings(IRegistry& registry, std::string_view section, const Layout& layout,
                              std::span<const Stored> table, const IView& view) {
  std::string key = SettingsKey(section);
  SaveResult result;
  for (const Stored& row : table) {
    const Control* control = FindControl(layout, row.control);
    if (control == nullptr) continue;
    std::string text = row.as == As::Text ? view.Text(row.control) : StoredText(row.as, view.Value(row.control));
    ++result.attempted;
    RegStatus code = SaveAppSetting(registry, key, control->name, text);
    if (code != reg::kSuccess) result.failures.push_back({std::string(control->name), code});
  }
  return result;
}

std::string SaveFailureMessage(const SaveResult& result) {
  if (result.ok()) return std::string();
  std::string message = std::string(kSettingsNotSaved) + ": " + std::to_string(result.failures.size()) + " of " +
                        std::to_string(std::max(result.attempted, static_cast<int>(result.failures.size()))) +
                        ".\n";
  bool refused = false;
  for (const FailedSetting& failure : result.failures) {
    refused = refused || failure.code == reg::kAccessDenied;
    message += "\n" + failure.name + " (error " + std::to_string(failure.code) +
               (failure.code == reg::kAccessDenied ? ", access denied)" : ")");
  }
  message += "\n";
  if (refused) message += "\nYou may lack the right to change these settings; an administrator can.";
  return message;
}

}  // namespace corvane::ui
