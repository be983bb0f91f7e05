// What the system locale says about measurement and language, for defaults that depend on
// them (paper and units of a new report, its font). The answers come from the C library's
// locale categories: LC_MEASUREMENT (US measurement means inches) and the language of
// LC_MESSAGES (Japanese or not), each read once on first use. Tests set their own answers.
#pragma once

#include <optional>

namespace platform {

// True when the locale measures in inches (the US system), false for the metric system.
bool LocaleMeasuresInInches();
// True when the primary language of the locale is Japanese.
bool LocaleIsJapanese();

// Replaces the answers (nullopt: back to the system's).
void SetLocaleOverride(std::optional<bool> inches, std::optional<bool> japanese);

}  // namespace platform
