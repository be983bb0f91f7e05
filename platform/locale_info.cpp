#include "platform/locale_info.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <locale.h>
#include <string>

namespace platform {

namespace {

std::optional<bool> gInches, gJapanese;

// The locale name the C library would take for `category` from the environment
// (LC_ALL, then the category's variable, then LANG).
std::string EnvLocale(const char* categoryVar) {
  for (const char* var : {"LC_ALL", categoryVar, "LANG"}) {
    const char* v = std::getenv(var);
    if (v && *v) return v;
  }
  return "C";
}

bool SystemInches() {
  locale_t loc = newlocale(LC_MEASUREMENT_MASK, EnvLocale("LC_MEASUREMENT").c_str(), static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) return false;
  // _NL_MEASUREMENT_MEASUREMENT: 1 metric, 2 US.
  const char* m = nl_langinfo_l(_NL_MEASUREMENT_MEASUREMENT, loc);
  bool inches = m && m[0] == 2;
  freelocale(loc);
  return inches;
}

bool SystemJapanese() { return EnvLocale("LC_MESSAGES").rfind("ja", 0) == 0; }

}  // namespace

bool LocaleMeasuresInInches() {
  static const bool system = SystemInches();
  return gInches.value_or(system);
}

bool LocaleIsJapanese() {
  static const bool system = SystemJapanese();
  return gJapanese.value_or(system);
}

void SetLocaleOverride(std::optional<bool> inches, std::optional<bool> japanese) {
  gInches = inches;
  gJapanese = japanese;
}

}  // namespace platform
