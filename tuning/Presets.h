// The eight ready-made profiles of the wizard, filled once at start-up.
#pragma once

#include <array>
#include <string_view>

#include "tuning/TuningProfile.h"

namespace corvane {

inline constexpr std::size_t kPresetCount = 8;

// The option captions, index 0 to 7.
inline constexpr std::array<std::string_view, kPresetCount> kPresetCaptions{
    "Automatic-A", "Automatic-B", "Automatic-C", "Automatic-D",
    "Automatic-E", "Automatic-F", "Automatic-G", "Windows default"};

// The presets; all zero until FillPresetProfiles runs, constant afterwards.
inline std::array<TuningProfile, kPresetCount> presetProfiles{};

// Sets the eight presets, index 0 to 7 in order.
void FillPresetProfiles();

}  // namespace corvane
